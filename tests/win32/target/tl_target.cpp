// tl_target: a small program for the Wine tests to type into and click on.
//
//   tl_target.exe [options] [TITLE]
//
// A top-level window titled TITLE (default "Taskloom Target") filled by a
// multi-line edit field that has the keyboard focus from the start and takes
// Enter and Tab as text. Options:
//   --menu   a menu bar: "&File" with "&Stamp" (adds "<stamp>" to the field
//            at the caret) and "E&xit".
//
// Everything the tests check is visible from outside: the window title, the
// field's text (WM_GETTEXT), the window's state.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr int kEditId = 100;
constexpr int kCmdStamp = 200;
constexpr int kCmdExit = 201;

struct Options {
    std::string title = "Taskloom Target";
    bool menu = false;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--menu") == 0)
            options.menu = true;
        else
            options.title = argv[i];
    }
    return options;
}

WNDPROC g_editProc = nullptr;

// A field in a window that some day runs a dialog-style loop would lose Tab
// and Enter to focus moves; it asks for every key instead. Ctrl+A selects
// the whole text, as the edit fields of current Windows do (Wine's do not).
LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETDLGCODE) return CallWindowProcA(g_editProc, h, msg, wp, lp) | DLGC_WANTALLKEYS;
    if (msg == WM_KEYDOWN && wp == 'A' && GetKeyState(VK_CONTROL) < 0) {
        SendMessageA(h, EM_SETSEL, 0, -1);
        return 0;
    }
    return CallWindowProcA(g_editProc, h, msg, wp, lp);
}

HMENU BuildMenu() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kCmdStamp, "&Stamp");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, kCmdExit, "E&xit");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    return bar;  // owned by the window it is set on, destroyed with it
}

LRESULT CALLBACK MainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        HWND edit = CreateWindowExA(
            WS_EX_CLIENTEDGE, "EDIT", "",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
            0, 0, 0, 0, h, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
            GetModuleHandleA(nullptr), nullptr);
        if (!edit) return -1;
        g_editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
        return 0;
    }
    case WM_SIZE:
        MoveWindow(GetDlgItem(h, kEditId), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_SETFOCUS:
        // Whoever focuses the window means its field.
        SetFocus(GetDlgItem(h, kEditId));
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kCmdStamp:
            SendMessageA(GetDlgItem(h, kEditId), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("<stamp>"));
            return 0;
        case kCmdExit:
            DestroyWindow(h);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    const HINSTANCE instance = GetModuleHandleA(nullptr);

    WNDCLASSA wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "TaskloomTarget";
    if (!RegisterClassA(&wc)) return 1;

    HWND main = CreateWindowExA(0, wc.lpszClassName, options.title.c_str(), WS_OVERLAPPEDWINDOW,
                                60, 60, 640, 420, nullptr, options.menu ? BuildMenu() : nullptr,
                                instance, nullptr);
    if (!main) return 1;
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    SetFocus(GetDlgItem(main, kEditId));

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
