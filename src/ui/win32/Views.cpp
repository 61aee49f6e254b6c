#include "ui/win32/Views.h"

#include "app/MenuWindows.h"
#include "ui/win32/AboutView.h"
#include "ui/win32/MainView.h"

namespace {

// The settings dialog's stand-in: its note and an OK button.
class TConfigPlaceholderView : public TWin32View {
public:
    explicit TConfigPlaceholderView(TFormConfigPlaceholder& f) : TWin32View(f, {378, 277, fsDialog | fsStayOnTop})
    {
        AddControls({
            {1, &f.Note, 16, 100, 346, 40, rsCenter},
            {2, &f.ButtonOK, 152, 236, 73, 25, rsDefault},
        });
        OnInput(2, [&f] { f.CloseWith(mrOk); });
    }
};

}  // namespace

void InstallViews()
{
    SetViewFactory([](TForm& form) -> std::unique_ptr<TFormView> {
        if (auto* main = dynamic_cast<TFormMain*>(&form)) return std::make_unique<TMainView>(*main);
        if (auto* about = dynamic_cast<TFormAbout*>(&form)) return std::make_unique<TAboutView>(*about);
        if (auto* config = dynamic_cast<TFormConfigPlaceholder*>(&form))
            return std::make_unique<TConfigPlaceholderView>(*config);
        return nullptr;
    });
}
