// tl_receiver: a window that takes in typed keys at a chosen speed, for the
// tests and benchmarks of key delivery and flow control under Wine.
//
//   tl_receiver.exe [--char-delay-ms=N] [--hang-after=N] [--at=X,Y] [TITLE]
//
// A top-level window titled TITLE (default "Taskloom Receiver") filled by a
// multi-line edit field that has the keyboard focus from the start, takes
// Enter and Tab as text and holds any amount of text. Options:
//   --char-delay-ms=N  the field sleeps N ms before it takes in each
//                      character (WM_CHAR): a slow program, whose queue of
//                      typed keys grows while a fast sender types
//   --hang-after=N     after taking in N characters the program stops
//                      answering for a minute (its thread sleeps): a hung
//                      program, whose queued keys stay where they are
//   --at=X,Y           the window's top-left corner on the screen
//
// Everything a test checks is visible from outside: the title and the
// field's text (WM_GETTEXT).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "../test_program.h"

namespace {

constexpr int kEditId = 100;

struct Options {
    std::string title = "Taskloom Receiver";
    unsigned charDelayMs = 0;
    long hangAfter = -1;
    int x = 80, y = 80;
};

bool ReadNumber(const char* text, long& out) {
    char* end = nullptr;
    out = std::strtol(text, &end, 10);
    return end != text;
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        long n = 0;
        if (std::strncmp(a, "--char-delay-ms=", 16) == 0 && ReadNumber(a + 16, n) && n >= 0 && n <= 10000) {
            options.charDelayMs = static_cast<unsigned>(n);
        } else if (std::strncmp(a, "--hang-after=", 13) == 0 && ReadNumber(a + 13, n) && n >= 0) {
            options.hangAfter = n;
        } else if (std::strncmp(a, "--at=", 5) == 0) {
            const char* comma = std::strchr(a + 5, ',');
            long x = 0, y = 0;
            if (comma && ReadNumber(a + 5, x) && ReadNumber(comma + 1, y)) {
                options.x = static_cast<int>(x);
                options.y = static_cast<int>(y);
            }
        } else {
            options.title = a;
        }
    }
    return options;
}

Options g_options;
WNDPROC g_editProc = nullptr;
long g_charsTaken = 0;

LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETDLGCODE) return CallWindowProcA(g_editProc, h, msg, wp, lp) | DLGC_WANTALLKEYS;
    if (msg == WM_CHAR) {
        if (g_charsTaken++ == g_options.hangAfter) Sleep(60000);
        if (g_options.charDelayMs > 0) Sleep(g_options.charDelayMs);
    }
    return CallWindowProcA(g_editProc, h, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: {
            HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                                            ES_AUTOVSCROLL | ES_WANTRETURN,
                                        0, 0, 0, 0, h, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
                                        GetModuleHandleA(nullptr), nullptr);
            if (!edit) return -1;
            // The default limit of a multi-line field is far below what the
            // benchmarks type.
            SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
            g_editProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
            return 0;
        }
        case WM_SIZE:
            MoveWindow(GetDlgItem(h, kEditId), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_SETFOCUS:
            SetFocus(GetDlgItem(h, kEditId));
            return 0;
    }
    return taskloom::testprogram::EndOnDestroy(h, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
    g_options = ParseOptions(argc, argv);
    const HINSTANCE instance = GetModuleHandleA(nullptr);

    const char* const className = "TaskloomReceiver";
    if (!taskloom::testprogram::RegisterWindowClass(instance, className, MainProc, COLOR_WINDOW)) return 1;

    HWND main = CreateWindowExA(0, className, g_options.title.c_str(), WS_OVERLAPPEDWINDOW, g_options.x,
                                g_options.y, 480, 320, nullptr, nullptr, instance, nullptr);
    if (!main) return 1;
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    SetFocus(GetDlgItem(main, kEditId));
    return taskloom::testprogram::RunMessageLoop();
}
