// A program that holds a global hot key for the tests, as another program
// of the user's would: "tl_holdkey MODS VK [TITLE]" registers the key (the
// modifier mask and virtual key code in decimal) and only then shows its
// window, titled TITLE ("Hot Key Holder" when not given). Closing that
// window lets the key go and ends the program. A key it cannot take ends it
// at once with exit code 2.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kHoldId = 1;

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CLOSE:
            UnregisterHotKey(w, kHoldId);
            DestroyWindow(w);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(w, msg, wp, lp);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 1;
    const UINT mods = static_cast<UINT>(std::strtoul(__argv[1], nullptr, 10));
    const UINT vk = static_cast<UINT>(std::strtoul(__argv[2], nullptr, 10));
    const std::string title = __argc > 3 ? __argv[3] : "Hot Key Holder";

    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "TlHoldKey";
    RegisterClassA(&wc);
    HWND w = CreateWindowA("TlHoldKey", title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 240, 80, nullptr, nullptr,
                           instance, nullptr);
    if (!w) return 1;
    if (!RegisterHotKey(w, kHoldId, mods, vk)) {
        DestroyWindow(w);
        return 2;
    }
    ShowWindow(w, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
