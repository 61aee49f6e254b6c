#pragma once
// A window's logic: TForm holds what every form has (caption, place, visibility, the modal
// run) and calls its view, the Win32 window that renders it. Derived forms add their
// controls (ui/Controls.h) and handlers. Natively there is no view: ShowModal runs the modal
// script a test installed, in which the test acts as the user would.
#include <functional>
#include <memory>
#include <string>

class TForm;

// The window of a form. It renders the form's state and turns input into handler calls;
// it decides nothing.
class TFormView {
public:
    virtual ~TFormView() = default;
    // Copies the form's whole state (caption, place, controls) into the window.
    virtual void Update() = 0;
    virtual void SetVisible(bool visible) = 0;
    // Runs a message loop until the form is no longer modal.
    virtual void RunModal() = 0;
    virtual void BringToFront() = 0;
    // True when the window is the active (foreground) window.
    virtual bool IsActive() const = 0;
};

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TForm {
public:
    TForm(int width, int height);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // Shows the form and returns when it closes; the result is ModalResult.
    int ShowModal();
    void Show();
    void Hide();
    // Asks FormCloseQuery; when it agrees, runs FormClose, hides the form and ends its
    // modal run. False when the close was refused.
    bool Close();
    // Closes with a result (a button with a modal result).
    void CloseWith(int result);

    // Tells the view that the state changed.
    void Changed();
    void BringToFront();
    bool Active() const;
    bool Visible() const { return visible_; }
    bool Modal() const { return modal_; }

    std::string Caption;
    // Outer window place in screen pixels; the view reports its real size when it is made.
    int Left = 0;
    int Top = 0;
    int Width;
    int Height;
    int ModalResult = mrNone;

protected:
    // Form events, named as the form designer names them.
    virtual void FormShow() {}
    virtual bool FormCloseQuery() { return true; }
    virtual void FormClose() {}

private:
    TFormView* View();

    std::unique_ptr<TFormView> view_;
    bool viewMade_ = false;
    bool visible_ = false;
    bool modal_ = false;
};

// Makes the Win32 view of a form; set once by the program, never natively.
using ViewFactory = std::function<std::unique_ptr<TFormView>(TForm&)>;
void SetViewFactory(ViewFactory factory);

// Natively: what happens while a form is shown modally (the test plays the user). The form
// is closed (as a cancel) if the script leaves it open. Without a script ShowModal closes
// the form at once.
using ModalScript = std::function<void(TForm&)>;
void SetModalScript(ModalScript script);
