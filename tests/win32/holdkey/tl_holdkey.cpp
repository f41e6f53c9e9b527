// A program that holds a global hot key for the tests, as another program
// of the user's would: "tl_holdkey MODS VK [TITLE]" registers the key (the
// modifier mask and virtual key code in decimal) and only then shows its
// window, titled TITLE ("Hot Key Holder" when not given). Closing that
// window lets the key go and ends the program. A key it cannot take ends it
// at once with exit code 2.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "../test_program.h"

namespace {

constexpr int kHoldId = 1;

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            UnregisterHotKey(w, kHoldId);
            DestroyWindow(w);
            return 0;
        default:
            return taskloom::testprogram::EndOnDestroy(w, msg, wp, lp);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 1;
    const UINT mods = static_cast<UINT>(std::strtoul(__argv[1], nullptr, 10));
    const UINT vk = static_cast<UINT>(std::strtoul(__argv[2], nullptr, 10));
    const std::string title = __argc > 3 ? __argv[3] : "Hot Key Holder";

    if (!taskloom::testprogram::RegisterWindowClass(instance, "TlHoldKey", Proc, COLOR_WINDOW)) return 1;
    HWND w = CreateWindowA("TlHoldKey", title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 240, 80, nullptr, nullptr,
                           instance, nullptr);
    if (!w) return 1;
    if (!RegisterHotKey(w, kHoldId, mods, vk)) {
        DestroyWindow(w);
        return 2;
    }
    ShowWindow(w, SW_SHOWNOACTIVATE);
    return taskloom::testprogram::RunMessageLoop();
}
