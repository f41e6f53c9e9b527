#include "wingui/window.h"

#include <commctrl.h>

#include <memory>
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

namespace {

LRESULT CALLBACK SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    auto* handler = reinterpret_cast<ControlHandler*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(h, SubclassProc, id);
        delete handler;
        return DefSubclassProc(h, msg, wp, lp);
    }
    LRESULT result = 0;
    bool taken = false;
    if (!Guarded(GetAncestor(h, GA_ROOT), [&] { taken = (*handler)(msg, wp, lp, result); })) return 0;
    return taken ? result : DefSubclassProc(h, msg, wp, lp);
}

}  // namespace

void Subclass(HWND control, ControlHandler handler) {
    auto owned = std::make_unique<ControlHandler>(std::move(handler));
    static UINT_PTR next = 1;  // one identifier a subclass: a control may have several
    if (!SetWindowSubclass(control, SubclassProc, next++, reinterpret_cast<DWORD_PTR>(owned.get())))
        throw std::runtime_error("cannot subclass a control");
    owned.release();  // freed at the control's WM_NCDESTROY
}

}  // namespace wingui
