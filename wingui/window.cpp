#include "wingui/window.h"

#include <stdexcept>

#include "win32/win32_program.h"
#include "wingui/error_report.h"

namespace wingui {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void Window::create(const char* className, const std::string& caption, DWORD style, DWORD exStyle, int x,
                    int y, int width, int height, HWND parent, HMENU menu, HICON icon, UINT classStyle) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    taskloom::RegisterWindowClass(
        {className, Proc, classStyle, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon});
    if (!CreateWindowExA(exStyle, className, caption.c_str(), style, x, y, width, height, parent, menu,
                         instance, this))
        throw std::runtime_error(std::string("cannot create the window ") + className + " (error " +
                                 std::to_string(GetLastError()) + ")");
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }

LRESULT CALLBACK Window::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = h;
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcA(h, msg, wp, lp);
    }
    try {
        return self->handle(msg, wp, lp);
    } catch (...) {
        ReportCurrentException(h);
    }
    return 0;
}

INT_PTR Dialog::runModal(HWND owner, int templateId) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, Proc,
                           reinterpret_cast<LPARAM>(this));
}

void Dialog::onCommand(int id, int /*code*/) {
    if (id == IDOK || id == IDCANCEL) EndDialog(hwnd_, id);
}

INT_PTR CALLBACK Dialog::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        SetWindowLongPtrA(h, DWLP_USER, lp);
        self->hwnd_ = h;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(h, DWLP_USER));
    }
    if (!self) return FALSE;
    try {
        switch (msg) {
            case WM_INITDIALOG:
                return self->onInit() ? TRUE : FALSE;
            case WM_COMMAND:
                self->onCommand(LOWORD(wp), HIWORD(wp));
                return TRUE;
            case WM_NCDESTROY:
                self->hwnd_ = nullptr;
                return FALSE;
            default:
                return FALSE;
        }
    } catch (...) {
        ReportCurrentException(h);
    }
    return TRUE;
}

}  // namespace wingui
