// The console capture ({:ClipsAddDOS}) against a real console window: Wine's
// console host showing tl_grid's known screen.
//
// Wine 8's console window (wine64 8.0 on Xvfb) differs from Windows' in two
// ways that the capture's keys meet:
//  - Typed Alt+Space does not open its system menu. The menu is there
//    (Restore, Move, Size, Minimize, Maximize, Close, About Wine, Edit, Set
//    Defaults, Properties) and opens when the window is sent the WM_SYSCHAR
//    ' ' that typing Alt+Space gives any other window (notepad's opens to
//    the same typed keys), but the console's window never gets it from
//    typed keys; a posted WM_SYSKEYDOWN of Space does not open it either.
//  - Its Edit submenu reads "&Mark", "&Copy", "&Paste", "&Select all",
//    "Sc&roll", "S&earch": Mark is M and Copy is C, where Windows' console
//    has Mar&k and Cop&y; "k" and "y" leave the menu open.
// Past those two it works as Windows' console does when driven by hand
// (menu opened by a posted WM_SYSCHAR, then E, M, the capture's arrow keys,
// the menu again, E, C): Mark mode starts at the top-left character of the
// window, Shift with the arrow keys marks, and Copy puts the marked
// characters on the clipboard and ends marking. Keys typed while the menu
// opens are not taken in reliably, so the capture as a whole is tested on
// the simulated desktop; here the test holds what the capture does on
// Wine's console: it copies nothing, and adds an empty item for it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine.h"
#include "win32/win32_desktop.h"
#include "tests/sim/memory_host.h"
#include "tests/win32/helpers.h"

namespace taskloom {
namespace {

using wintest::ChildProcess;
using wintest::WaitUntil;

// tl_grid in a console window of its own, its screen complete.
class Console {
public:
    explicit Console(const std::string& title)
        : process_(wintest::Quote(wintest::ExeDir() + "tl_grid.exe") + " " + wintest::Quote(title), {},
                   nullptr, nullptr, CREATE_NEW_CONSOLE),
          // The window belongs to the console host, not to tl_grid.
          window_(wintest::WaitForWindow(title, 0, 60000)) {}
    HWND window() const { return window_; }

private:
    ChildProcess process_;
    HWND window_;
};

HWND OpenMenu() {
    const HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

std::vector<std::string> Capture(Desktop& desktop, Flavor flavor, const std::vector<std::string>& lines) {
    sim::MemoryHost host(flavor, lines);
    Engine engine(desktop, host);
    EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
    EXPECT_TRUE(host.messages.empty());
    return engine.clips().lines();
}

TEST(ConsoleCapture, OnWinesConsoleNothingIsCopiedAndAnEmptyItemIsAdded) {
    const Console console("Grid Console 43");
    ASSERT_TRUE(console.window());
    Win32Desktop desktop;
    desktop.setClipboardText("held before");

    // The keys as Windows' console takes them: nothing is marked or copied;
    // the capture adds an empty item, not the clipboard's old text.
    EXPECT_EQ(Capture(desktop, Flavor::Pad, {"{:TO Grid Console 43}", "{:ClipsAddDOS 2 5 3}"}),
              (std::vector<std::string>{""}));
    EXPECT_FALSE(OpenMenu());

    // The same window opens its system menu to the character that typing
    // Alt+Space gives any other window.
    PostMessageA(console.window(), WM_SYSCHAR, ' ', 0x20390001);
    EXPECT_TRUE(WaitUntil([] { return OpenMenu() != nullptr; }, 10000));
    PostMessageA(console.window(), WM_CANCELMODE, 0, 0);
}

}  // namespace
}  // namespace taskloom
