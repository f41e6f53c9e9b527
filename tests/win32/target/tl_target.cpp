// tl_target: a small program for the Wine tests to type into and click on.
//
//   tl_target.exe [options] [TITLE]
//
// A top-level window titled TITLE (default "Taskloom Target") filled by a
// multi-line edit field that has the keyboard focus from the start and takes
// Enter and Tab as text. Options:
//   --menu              a menu bar: "&File" with "&Stamp" (adds "<stamp>" to
//                       the field at the caret) and "E&xit".
//   --line TEXT         a line of the field's starting text (repeatable).
//   --count             a button "Count" under the field and a label
//                       "clicks: N" counting its clicks.
//   --enable-after MS   a button "Go", disabled until MS milliseconds after
//                       the start; a click on it shows "go: clicked" in the
//                       status label ("go: clicked while disabled" for a
//                       click that reaches it before).
//   --form              instead of the field, an order form (default title
//                       "Order Form"): labels "Name:" and "City:" each with a
//                       one-line edit (Tab moves between them), a label
//                       "Order A-1234-XY", a button "Send" and a status label.
//                       Send shows "sent: NAME/CITY" in the status label.
//   --out FILE          Send also writes "sent: NAME/CITY" into FILE.
//
// Everything the tests check is visible from outside: the window title, the
// controls' texts (WM_GETTEXT), the window's state, the --out file. After a
// button click the focus goes back to the field, so keys typed later still
// arrive there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../test_program.h"

namespace {

constexpr int kEditId = 100;
constexpr int kCountId = 101;
constexpr int kClicksId = 102;
constexpr int kGoId = 103;
constexpr int kStatusId = 104;
constexpr int kNameId = 110;
constexpr int kCityId = 111;
constexpr int kSendId = 112;
constexpr int kCmdStamp = 200;
constexpr int kCmdExit = 201;
constexpr UINT_PTR kEnableTimer = 1;
constexpr int kStripHeight = 30;

struct Options {
    std::string title;
    bool menu = false;
    bool count = false;
    bool form = false;
    int enableAfterMs = -1;
    std::vector<std::string> lines;
    std::string out;
};

Options g_options;
int g_clicks = 0;

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--menu") {
            options.menu = true;
        } else if (a == "--count") {
            options.count = true;
        } else if (a == "--form") {
            options.form = true;
        } else if (a == "--line" && hasValue) {
            options.lines.push_back(argv[++i]);
        } else if (a == "--enable-after" && hasValue) {
            options.enableAfterMs = std::atoi(argv[++i]);
        } else if (a == "--out" && hasValue) {
            options.out = argv[++i];
        } else {
            options.title = a;
        }
    }
    if (options.title.empty()) options.title = options.form ? "Order Form" : "Taskloom Target";
    return options;
}

WNDPROC g_multiLineProc = nullptr;
WNDPROC g_singleLineProc = nullptr;

// Ctrl+A selects the whole text, as the edit fields of current Windows do
// (Wine's do not).
bool SelectAllKey(HWND h, UINT msg, WPARAM wp) {
    if (msg == WM_KEYDOWN && wp == 'A' && GetKeyState(VK_CONTROL) < 0) {
        SendMessageA(h, EM_SETSEL, 0, -1);
        return true;
    }
    return false;
}

// The big field asks for every key, Tab and Enter included, so that no
// focus move can take them.
LRESULT CALLBACK MultiLineProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETDLGCODE) return CallWindowProcA(g_multiLineProc, h, msg, wp, lp) | DLGC_WANTALLKEYS;
    if (SelectAllKey(h, msg, wp)) return 0;
    return CallWindowProcA(g_multiLineProc, h, msg, wp, lp);
}

LRESULT CALLBACK SingleLineProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (SelectAllKey(h, msg, wp)) return 0;
    // Ctrl+A would otherwise also arrive as character 1 and beep.
    if (msg == WM_CHAR && wp == 1) return 0;
    return CallWindowProcA(g_singleLineProc, h, msg, wp, lp);
}

HWND AddControl(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w,
                int h, DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                           nullptr);
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

std::string TextOf(HWND h) {
    const int length = GetWindowTextLengthA(h);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(h, text.data(), length + 1)));
    return text;
}

// Writes the whole text to a file beside the wanted one and then moves it
// into place, so that a reader never sees half of it.
void WriteWhole(const std::string& name, const std::string& text) {
    const std::string partial = name + ".partial";
    if (FILE* f = std::fopen(partial.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        MoveFileExA(partial.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

bool CreateForm(HWND h) {
    AddControl(h, "STATIC", "Name:", 0, -1, 10, 14, 60, 20);
    HWND name =
        AddControl(h, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kNameId, 80, 10, 240, 24, WS_EX_CLIENTEDGE);
    AddControl(h, "STATIC", "City:", 0, -1, 10, 48, 60, 20);
    HWND city =
        AddControl(h, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kCityId, 80, 44, 240, 24, WS_EX_CLIENTEDGE);
    AddControl(h, "BUTTON", "Send", WS_TABSTOP | BS_PUSHBUTTON, kSendId, 80, 80, 90, 26);
    AddControl(h, "STATIC", "Order A-1234-XY", 0, -1, 10, 120, 200, 20);
    AddControl(h, "STATIC", "ready", 0, kStatusId, 10, 150, 400, 20);
    if (!name || !city) return false;
    for (HWND edit : {name, city})
        g_singleLineProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SingleLineProc)));
    return true;
}

bool CreateField(HWND h) {
    std::string text;
    for (size_t i = 0; i < g_options.lines.size(); ++i) text += (i ? "\r\n" : "") + g_options.lines[i];
    HWND edit = AddControl(h, "EDIT", text.c_str(),
                           WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, kEditId,
                           0, 0, 0, 0, WS_EX_CLIENTEDGE);
    if (!edit) return false;
    g_multiLineProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MultiLineProc)));
    if (g_options.count) {
        AddControl(h, "BUTTON", "Count", BS_PUSHBUTTON, kCountId, 0, 0, 80, 24);
        AddControl(h, "STATIC", "clicks: 0", 0, kClicksId, 0, 0, 90, 20);
    }
    if (g_options.enableAfterMs >= 0) {
        AddControl(h, "BUTTON", "Go", BS_PUSHBUTTON | WS_DISABLED, kGoId, 0, 0, 60, 24);
        SetTimer(h, kEnableTimer, static_cast<UINT>(g_options.enableAfterMs), nullptr);
    }
    if (g_options.count || g_options.enableAfterMs >= 0)
        AddControl(h, "STATIC", "ready", 0, kStatusId, 0, 0, 200, 20);
    return true;
}

// The field fills the window; the buttons and labels, when there are any,
// stand in a strip under it.
void Layout(HWND h, int width, int height) {
    const bool strip = GetDlgItem(h, kStatusId) != nullptr;
    MoveWindow(GetDlgItem(h, kEditId), 0, 0, width, strip ? height - kStripHeight : height, TRUE);
    if (!strip) return;
    int x = 4;
    const int y = height - kStripHeight + 3;
    for (int id : {kCountId, kClicksId, kGoId, kStatusId}) {
        HWND c = GetDlgItem(h, id);
        if (!c) continue;
        RECT r;
        GetWindowRect(c, &r);
        MoveWindow(c, x, y, r.right - r.left, r.bottom - r.top, TRUE);
        x += r.right - r.left + 8;
    }
}

LRESULT CALLBACK MainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            return (g_options.form ? CreateForm(h) : CreateField(h)) ? 0 : -1;
        case WM_SIZE:
            if (!g_options.form) Layout(h, LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_SETFOCUS:
            // Whoever focuses the window means its field (the form's first one).
            SetFocus(GetDlgItem(h, g_options.form ? kNameId : kEditId));
            return 0;
        case WM_TIMER:
            if (wp == kEnableTimer) {
                KillTimer(h, kEnableTimer);
                EnableWindow(GetDlgItem(h, kGoId), TRUE);
            }
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kCmdStamp:
                    SendMessageA(GetDlgItem(h, kEditId), EM_REPLACESEL, TRUE,
                                 reinterpret_cast<LPARAM>("<stamp>"));
                    return 0;
                case kCmdExit:
                    DestroyWindow(h);
                    return 0;
                case kCountId:
                    if (HIWORD(wp) == BN_CLICKED) {
                        const std::string text = "clicks: " + std::to_string(++g_clicks);
                        SetDlgItemTextA(h, kClicksId, text.c_str());
                        SetFocus(GetDlgItem(h, kEditId));
                    }
                    return 0;
                case kGoId:
                    if (HIWORD(wp) == BN_CLICKED) {
                        // A click posted to a disabled button may still arrive.
                        const bool enabled = IsWindowEnabled(GetDlgItem(h, kGoId));
                        SetDlgItemTextA(h, kStatusId, enabled ? "go: clicked" : "go: clicked while disabled");
                        SetFocus(GetDlgItem(h, kEditId));
                    }
                    return 0;
                case kSendId:
                    if (HIWORD(wp) == BN_CLICKED) {
                        const std::string text =
                            "sent: " + TextOf(GetDlgItem(h, kNameId)) + "/" + TextOf(GetDlgItem(h, kCityId));
                        SetDlgItemTextA(h, kStatusId, text.c_str());
                        if (!g_options.out.empty()) WriteWhole(g_options.out, text);
                    }
                    return 0;
            }
            break;
    }
    return taskloom::testprogram::EndOnDestroy(h, msg, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
    g_options = ParseOptions(argc, argv);
    const HINSTANCE instance = GetModuleHandleA(nullptr);

    const char* const className = "TaskloomTarget";
    if (!taskloom::testprogram::RegisterWindowClass(instance, className, MainProc, COLOR_BTNFACE)) return 1;

    HWND main = CreateWindowExA(g_options.form ? WS_EX_CONTROLPARENT : 0, className, g_options.title.c_str(),
                                WS_OVERLAPPEDWINDOW, 60, 60, 640, 420, nullptr,
                                g_options.menu ? BuildMenu() : nullptr, instance, nullptr);
    if (!main) return 1;
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    SetFocus(GetDlgItem(main, g_options.form ? kNameId : kEditId));

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // The form moves between its fields with Tab, as a dialog does.
        if (g_options.form && IsDialogMessageA(main, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
