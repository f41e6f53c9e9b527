// One window-procedure and one dialog-procedure trampoline for every form.
// The trampoline stores `this` (at WM_NCCREATE, or at WM_INITDIALOG for a
// dialog), dispatches to the form's handler and catches every exception at
// that boundary to show the program's general error report.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace wingui {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers the class (once per class name) and creates the window with
    // this object behind it. Throws std::runtime_error when it cannot.
    void create(const char* className, const std::string& caption, DWORD style, DWORD exStyle, int x, int y,
                int width, int height, HWND parent, HMENU menu, HICON icon = nullptr, UINT classStyle = 0);
    // The form's messages; the default hands them to DefWindowProc.
    virtual LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// A modal dialog from a template in the program's resources.
class Dialog {
public:
    virtual ~Dialog() = default;
    // Runs the dialog; answers the value given to EndDialog (-1: it could
    // not be made).
    INT_PTR runModal(HWND owner, int templateId);
    HWND hwnd() const { return hwnd_; }

protected:
    virtual bool onInit() { return true; }
    // A command from a control; the default ends the dialog on OK and Cancel.
    virtual void onCommand(int id, int code);

private:
    static INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// A control's messages seen by the form first (the one subclass trampoline).
// The handler answers true, with the message's result set, when it took the
// message; every other message goes on to the control's own procedure. An
// exception from the handler is shown by the general error report (owned by
// the control's top-level window) and the message counts as taken, with
// result 0. The handler goes with the control.
using ControlHandler = std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;
void Subclass(HWND control, ControlHandler handler);

}  // namespace wingui
