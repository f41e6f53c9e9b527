// The real desktop against windows and menus of this test's own process
// (under Wine, another process's menus cannot be read), the clipboard and
// the shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "engine/lookup.h"
#include "win32/win32_desktop.h"
#include "tests/win32/helpers.h"

namespace taskloom {
namespace {

using wintest::ChildProcess;

Wnd W(HWND h) { return static_cast<Wnd>(reinterpret_cast<intptr_t>(h)); }

struct WindowDestroyer {
    void operator()(HWND h) const { DestroyWindow(h); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

OwnedWindow MakeWindow(const std::string& cls, const std::string& text, DWORD style, HWND parent = nullptr) {
    return OwnedWindow(CreateWindowExA(0, cls.c_str(), text.c_str(), style, 10, 10, 200, 100, parent, nullptr,
                                       GetModuleHandleA(nullptr), nullptr));
}

TEST(Win32DesktopKeyboard, EveryPrintableCharacterHasAKeyAndAScanCode) {
    Win32Desktop desktop;
    for (int c = 32; c <= 126; ++c) {
        const std::int16_t key = desktop.vkKeyScan(static_cast<char>(c));
        ASSERT_NE(key, -1) << "no key for '" << static_cast<char>(c) << "' (" << c << ")";
        EXPECT_NE(desktop.mapVirtualKey(key & 0xFF), 0u)
            << "no scan code for '" << static_cast<char>(c) << "'";
    }
    // The plain US layout that the tests' display is set up with.
    EXPECT_EQ(desktop.vkKeyScan('a'), 'A');
    EXPECT_EQ(desktop.vkKeyScan('A'), 0x100 | 'A');
    EXPECT_EQ(desktop.vkKeyScan('('), 0x100 | '9');
    EXPECT_EQ(desktop.vkKeyScan(')'), 0x100 | '0');
    EXPECT_EQ(desktop.mapVirtualKey(kVkShift), 42u);
}

TEST(Win32DesktopWindows, TextsChildrenAndStates) {
    Win32Desktop desktop;
    const std::string longTitle = "Taskloom desktop test " + std::string(280, 'x');
    OwnedWindow top = MakeWindow("STATIC", longTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(top);
    HWND one = CreateWindowExA(0, "STATIC", "One", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top.get(), nullptr,
                               nullptr, nullptr);
    HWND oneInner =
        CreateWindowExA(0, "STATIC", "One inner", WS_CHILD, 0, 0, 20, 20, one, nullptr, nullptr, nullptr);
    HWND two = CreateWindowExA(0, "BUTTON", "Two", WS_CHILD | WS_VISIBLE | WS_DISABLED, 60, 0, 50, 20,
                               top.get(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(one && oneInner && two);

    EXPECT_EQ(desktop.findWindow(longTitle), W(top.get()));
    EXPECT_EQ(desktop.windowText(W(top.get())), longTitle);  // uncut
    EXPECT_EQ(desktop.titleText(W(top.get())), longTitle);   // uncut, past its first buffer
    EXPECT_EQ(desktop.windowText(W(two)), "Two");
    const auto tops = desktop.topLevelWindows();
    EXPECT_NE(std::find(tops.begin(), tops.end(), W(top.get())), tops.end());
    // Depth first: a child's children right after it.
    EXPECT_EQ(desktop.childWindows(W(top.get())), (std::vector<Wnd>{W(one), W(oneInner), W(two)}));

    // Focus calls reach our own windows; one for no window leaves it be.
    desktop.setFocus(W(one));
    EXPECT_EQ(GetFocus(), one);
    desktop.setFocus(0);
    EXPECT_EQ(GetFocus(), one);

    EXPECT_TRUE(desktop.isVisible(W(one)));
    EXPECT_FALSE(desktop.isVisible(W(oneInner)));
    EXPECT_TRUE(desktop.isEnabled(W(one)));
    EXPECT_FALSE(desktop.isEnabled(W(two)));

    ShowWindow(top.get(), SW_MINIMIZE);
    EXPECT_TRUE(desktop.isIconic(W(top.get())));
    desktop.restoreWindow(W(top.get()));
    EXPECT_FALSE(desktop.isIconic(W(top.get())));

    const Wnd gone = W(top.get());
    top.reset();
    EXPECT_FALSE(desktop.isWindow(gone));
    EXPECT_FALSE(desktop.isWindow(0));
    EXPECT_TRUE(desktop.childWindows(gone).empty());
    EXPECT_TRUE(desktop.childWindows(0).empty());
    EXPECT_EQ(desktop.windowText(gone), "");
    EXPECT_EQ(desktop.titleText(gone), "");
    EXPECT_EQ(desktop.findWindow(longTitle), 0);
}

// A window whose thread has stopped taking messages: the title list still
// comes back, with its title, while the thread is stuck (a watchdog frees it
// after a while, so that a list that waited on it fails instead of hanging).
TEST(Win32DesktopWindows, TheTitleListDoesNotWaitOnAWindowThatDoesNotAnswer) {
    Win32Desktop desktop;
    const HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(made && release);
    std::thread stuck([&] {
        OwnedWindow w =
            MakeWindow("STATIC", "Taskloom window that does not answer", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        SetEvent(made);
        WaitForSingleObject(release, INFINITE);  // takes no messages meanwhile
    });
    ASSERT_EQ(WaitForSingleObject(made, 10000), WAIT_OBJECT_0);
    std::atomic<bool> freed{false};
    std::thread watchdog([&] {
        if (WaitForSingleObject(release, 8000) == WAIT_TIMEOUT) {
            freed = true;
            SetEvent(release);
        }
    });
    const std::vector<std::string> titles = GetTitles(desktop);
    const bool waited = freed;
    SetEvent(release);
    watchdog.join();
    stuck.join();
    CloseHandle(made);
    CloseHandle(release);
    EXPECT_FALSE(waited) << "the title list waited for the window's thread";
    EXPECT_NE(std::find(titles.begin(), titles.end(), "Taskloom window that does not answer"), titles.end());
}

TEST(Win32DesktopMenus, ReadByPositionWithTextsStatesAndSubmenus) {
    Win32Desktop desktop;
    OwnedWindow plain = MakeWindow("STATIC", "Taskloom no menu", WS_OVERLAPPEDWINDOW);
    OwnedWindow window = MakeWindow("STATIC", "Taskloom menu test", WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(plain && window);
    const std::string longText = "A menu item text well over twenty-nine characters";
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1, "&Open\tCtrl+O");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_GRAYED, 2, "&Print");
    AppendMenuA(file, MF_STRING | MF_CHECKED, 3, longText.c_str());
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_STRING, 4, "&Help");
    SetMenu(window.get(), bar);  // destroyed with the window

    const MenuHandle m = desktop.getMenu(W(window.get()));
    ASSERT_EQ(m, reinterpret_cast<intptr_t>(bar));
    EXPECT_EQ(desktop.getMenu(W(plain.get())), 0);
    EXPECT_EQ(desktop.menuItemCount(m), 2);
    EXPECT_EQ(desktop.menuString(m, 0), "&File");
    EXPECT_EQ(desktop.menuString(m, 1), "&Help");
    EXPECT_EQ(desktop.subMenu(m, 1), 0);

    const MenuHandle sub = desktop.subMenu(m, 0);
    ASSERT_EQ(sub, reinterpret_cast<intptr_t>(file));
    EXPECT_EQ(desktop.menuItemCount(sub), 4);
    EXPECT_EQ(desktop.menuString(sub, 0), "&Open\tCtrl+O");
    EXPECT_EQ(desktop.menuString(sub, 1), "");
    EXPECT_EQ(desktop.menuString(sub, 3), longText);  // uncut
    EXPECT_EQ(desktop.menuString(sub, 9), "");
    EXPECT_EQ(desktop.menuItemState(sub, 0), 0u);
    // Windows reports a grayed item as 3, Wine as 1: either is not plain.
    EXPECT_NE(desktop.menuItemState(sub, 2).value_or(0) & kMfsGrayed, 0u);
    EXPECT_EQ(desktop.menuItemState(sub, 3), kMfsChecked);
    EXPECT_FALSE(desktop.menuItemState(sub, 9).has_value());
    EXPECT_EQ(desktop.menuItemCount(0), -1);
}

struct SeenMessage {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};
std::vector<SeenMessage> g_seenMouse;

LRESULT CALLBACK RecordMouseProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) g_seenMouse.push_back({msg, wp, lp});
    return DefWindowProcA(h, msg, wp, lp);
}

// Posted messages wait for the program's next round of message processing,
// and a quit request met there is kept for the program's own loop.
TEST(Win32DesktopMessages, PostedMessagesRunInProcessMessagesAndQuitIsKept) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordMouseProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TaskloomMessageTest";
    RegisterClassA(&wc);
    OwnedWindow window = MakeWindow(wc.lpszClassName, "Taskloom message test", WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(window);

    Win32Desktop desktop;
    desktop.processMessages();
    g_seenMouse.clear();
    desktop.postMessage(W(window.get()), kWmLButtonDown, MK_LBUTTON, MAKELPARAM(5, 7));
    desktop.postMessage(W(window.get()), kWmLButtonUp, 0, MAKELPARAM(5, 7));
    EXPECT_TRUE(g_seenMouse.empty());
    desktop.processMessages();
    ASSERT_EQ(g_seenMouse.size(), 2u);
    EXPECT_EQ(g_seenMouse[0].msg, static_cast<UINT>(kWmLButtonDown));
    EXPECT_EQ(g_seenMouse[0].wp, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(g_seenMouse[0].lp, MAKELPARAM(5, 7));
    EXPECT_EQ(g_seenMouse[1].msg, static_cast<UINT>(kWmLButtonUp));

    // A message for no window goes nowhere, not to this thread's queue.
    desktop.postMessage(0, kWmLButtonDown, 0, 0);
    MSG stray;
    EXPECT_FALSE(PeekMessageA(&stray, nullptr, 0, 0, PM_REMOVE));

    PostQuitMessage(7);
    desktop.processMessages();
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(Win32DesktopClipboard, TextRoundTripsWholeAndEmpties) {
    Win32Desktop desktop;
    desktop.setClipboardText("line one\r\nline two\r\n");
    EXPECT_EQ(desktop.clipboardText(), "line one\r\nline two\r\n");
    std::string big(100000, 'q');
    big[50000] = '\n';
    desktop.setClipboardText(big);
    EXPECT_EQ(desktop.clipboardText(), big);
    desktop.emptyClipboard(0);
    EXPECT_EQ(desktop.clipboardText(), "");
    // Writing again after emptying, and a gone owner, both work.
    desktop.setClipboardText("again");
    EXPECT_EQ(desktop.clipboardText(), "again");
    desktop.emptyClipboard(0x7ffffff0);
    EXPECT_EQ(desktop.clipboardText(), "");
}

TEST(Win32DesktopShell, StartsAProgramWithItsParameters) {
    Win32Desktop desktop;
    desktop.shellExecute(0, wintest::ExeDir() + "tl_target.exe", "\"Started by the shell\"",
                         wintest::ExeDir(), SW_SHOWNORMAL);
    HWND started = wintest::WaitForWindow("Started by the shell", 0);
    ASSERT_NE(started, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(started, &pid);
    ChildProcess program(pid);  // ends it when the test is over
    EXPECT_TRUE(program.running());
}

}  // namespace
}  // namespace taskloom
