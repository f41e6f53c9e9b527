#include "wingui/dpi.h"

#include "wingui/handles.h"

namespace wingui {

int DpiOf(HWND w) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (w && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(w)) return static_cast<int>(dpi);
    }
    WindowDc dc(nullptr);
    const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

void Place(HWND w, const Rect96& r, int dpi) {
    SetWindowPos(w, nullptr, Scale(r.left, dpi), Scale(r.top, dpi), Scale(r.width, dpi), Scale(r.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace wingui
