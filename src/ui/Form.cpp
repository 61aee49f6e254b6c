#include "ui/Form.h"

namespace {
ViewFactory viewFactory;
ModalScript modalScript;
}  // namespace

void SetViewFactory(ViewFactory factory) { viewFactory = std::move(factory); }
void SetModalScript(ModalScript script) { modalScript = std::move(script); }

TForm::TForm(int width, int height) : Width(width), Height(height) {}

TForm::~TForm() = default;

TFormView* TForm::View()
{
    if (!viewMade_) {
        viewMade_ = true;
        if (viewFactory) view_ = viewFactory(*this);
    }
    return view_.get();
}

int TForm::ShowModal()
{
    ModalResult = mrNone;
    modal_ = true;
    Show();
    if (TFormView* view = View()) {
        view->RunModal();
    } else {
        if (modalScript) modalScript(*this);
        if (visible_) CloseWith(mrCancel);
    }
    modal_ = false;
    return ModalResult;
}

void TForm::Show()
{
    visible_ = true;
    FormShow();
    if (TFormView* view = View()) {
        view->Update();
        view->SetVisible(true);
    }
}

void TForm::Hide()
{
    visible_ = false;
    if (TFormView* view = View()) view->SetVisible(false);
    modal_ = false;
}

bool TForm::Close()
{
    if (!FormCloseQuery()) return false;
    FormClose();
    Hide();
    return true;
}

void TForm::CloseWith(int result)
{
    ModalResult = result;
    if (!Close()) ModalResult = mrNone;
}

void TForm::Changed()
{
    if (TFormView* view = View()) view->Update();
}

void TForm::BringToFront()
{
    if (TFormView* view = View()) view->BringToFront();
}

bool TForm::Active() const { return view_ ? view_->IsActive() : visible_; }
