// tl_dialer: stands in for the system's phone dialer in the Wine tests of the
// pad's auto dial. A window titled "Phone Dialer" with a one-line edit that
// has the focus; the tests read what was typed into it (WM_GETTEXT). Like
// the system's dialer it runs once: started again, it brings the running
// one forward and ends. Each start, the first and every later one, adds a
// line "start" to the file named by TL_DIALER_LOG, if set, so that a test
// can tell whether its program started the dialer itself.
#include <windows.h>

#include <cstdio>

#include "../test_program.h"

namespace {

HWND g_edit = nullptr;

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10,
                                     10, 260, 24, w, nullptr, GetModuleHandleA(nullptr), nullptr);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && g_edit) SetFocus(g_edit);
            return 0;
        case WM_SETFOCUS:
            if (g_edit) SetFocus(g_edit);
            return 0;
        default:
            return taskloom::testprogram::EndOnDestroy(w, msg, wp, lp);
    }
}

}  // namespace

void LogStart() {
    char log[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("TL_DIALER_LOG", log, sizeof log);
    if (n == 0 || n >= sizeof log) return;
    if (FILE* f = std::fopen(log, "ab")) {
        std::fputs("start\n", f);
        std::fclose(f);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    LogStart();
    if (HWND running = FindWindowA("TlDialer", "Phone Dialer")) {
        SetForegroundWindow(running);
        return 0;
    }
    if (!taskloom::testprogram::RegisterWindowClass(instance, "TlDialer", Proc, COLOR_BTNFACE)) return 1;
    HWND w = CreateWindowExA(0, "TlDialer", "Phone Dialer", WS_OVERLAPPEDWINDOW, 200, 200, 300, 90, nullptr,
                             nullptr, instance, nullptr);
    ShowWindow(w, show);
    SetForegroundWindow(w);
    SetFocus(g_edit);
    return taskloom::testprogram::RunMessageLoop();
}
