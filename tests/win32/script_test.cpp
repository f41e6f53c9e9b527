// The interpreter on the real desktop: window switches, loops that wait for
// windows, controls and menu items, and the run that ends with a message.
// Scripts run in the console runner against tl_target; menus are read in
// this process (under Wine another process's menu cannot be read).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine.h"
#include "engine/lookup.h"
#include "win32/win32_desktop.h"
#include "tests/sim/memory_host.h"
#include "tests/win32/script_fixture.h"

namespace taskloom {
namespace {

using namespace wintest;

TEST_F(ScriptTest, WindowSwitchByExactTitleAndByPrefixTypesIntoThatWindow) {
    Target alpha("\"Alpha Ledger 41\"", "Alpha Ledger 41");
    Target beta("\"Beta Journal 41\"", "Beta Journal 41");
    ASSERT_TRUE(alpha.field() && beta.field());

    // ":TO" wants the whole title; ":To" and ":to" a beginning of it.
    const Finished f =
        Run({"{:TO Alpha Ledger 41}", "one", "{:To Beta Jour}", "two", "{:to Alpha L}", "+three"});
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(alpha.fieldText("one+three"), "one+three");
    EXPECT_EQ(beta.fieldText("two"), "two");
}

// Commands that bring the target forward (the switch, captures, pastes, the
// menu) do so while keys typed just before may still wait in its queue.
TEST_F(ScriptTest, BringingTheActiveWindowForwardAgainKeepsItsFocusedFieldAndQueuedKeys) {
    Target form("--form \"Order Form 41\"", "Order Form 41");
    ASSERT_TRUE(form.window());
    HWND name = FindChildByClass(form.window(), "Edit");
    HWND city = name ? FindWindowExA(form.window(), name, "Edit", nullptr) : nullptr;
    ASSERT_TRUE(name && city);

    const Finished f = Run({"{:TO Order Form 41}", "Ada Lovelace", "{Tab}", "Lon", "{:TO Order Form 41}",
                            "don", "{:To Order Form 4}", "{Shift}{Tab}", "{End}, Countess"});
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(ReadUntilStable(city, "London"), "London");
    EXPECT_EQ(ReadUntilStable(name, "Ada Lovelace, Countess"), "Ada Lovelace, Countess");
}

TEST_F(ScriptTest, SwitchToAMissingWindowEndsTheRunWithAMessage) {
    Target target("\"Gamma Notes 41\"", "Gamma Notes 41");
    ASSERT_TRUE(target.field());

    Finished f = Run({"{:TO Gamma Notes 41}", "before", "{:To Nothing}", "after"});
    EXPECT_EQ(f.status, 3u);
    EXPECT_NE(f.err.find("Inactive Window: \n:Nothing\nQuitting Script..."), std::string::npos) << f.err;
    // The exact title compares with case: a title in other letters is
    // missing too, and is named as written.
    f = Run({"{:TO gamma notes 41}", "after"});
    EXPECT_EQ(f.status, 3u);
    EXPECT_NE(f.err.find("Inactive Window: \ngamma notes 41\nQuitting Script..."), std::string::npos)
        << f.err;
    // Nothing after the failed switch was typed.
    EXPECT_EQ(target.fieldText("before"), "before");
}

TEST_F(ScriptTest, LoopWindowActiveWaitsForAWindowThatOpensLater) {
    CapturedRun run =
        StartScript(folder_, {"{.Wait}", "{:Pause1/10 2}", "{:LoopWindowActive Wait Late Window 41}",
                              "{:TO Late Window 41}", "arrived"});
    Sleep(1000);
    Target late("\"Late Window 41\"", "Late Window 41");
    ASSERT_TRUE(late.field());
    const Finished f = run.finish();
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_FALSE(f.timedOut);
    // The run was still waiting when the window was opened.
    EXPECT_GT(f.ms, 1000u);
    EXPECT_EQ(late.fieldText("arrived"), "arrived");
}

TEST_F(ScriptTest, LoopControlEnabledWaitsForAButtonThatIsEnabledLater) {
    Target target("--enable-after 1500 \"Delta Panel 41\"", "Delta Panel 41");
    HWND go = target.control("Go");
    ASSERT_TRUE(go && target.field());
    ASSERT_FALSE(IsWindowEnabled(go));

    const Finished f = Run({"{:TO Delta Panel 41}", "{.Wait}", "{:Pause1/10}",
                            "{:LoopControlEnabled Wait Go}", "{:MouseClick Go}", "clicked"});
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_TRUE(IsWindowEnabled(go));
    // The target tells a click on its disabled button apart: this one came
    // after the button was enabled.
    HWND status = target.control("go: clicked");
    if (!status) status = target.control("go: clicked while disabled");
    ASSERT_NE(status, nullptr) << "the button saw no click";
    EXPECT_EQ(ControlText(status), "go: clicked");
    EXPECT_EQ(target.fieldText("clicked"), "clicked");
}

// --- menus of a window of this process ----------------------------------

struct WindowDestroyer {
    void operator()(HWND h) const { DestroyWindow(h); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

constexpr char kLongItem[] = "A menu item text well over twenty-nine characters";

// "&File": Open (with a shortcut text), Print (grayed), Wrap (checked),
// Recent > One, Two (grayed); "&Tools" (grayed, with a submenu); "&Help"
// (an item of the bar without a submenu).
struct MenuWindow {
    MenuWindow() {
        window.reset(CreateWindowExA(0, "STATIC", "Taskloom menu window 41", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                     200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
        bar = CreateMenu();
        file = CreatePopupMenu();
        recent = CreatePopupMenu();
        HMENU tools = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, 1, "&Open\tCtrl+O");
        AppendMenuA(file, MF_STRING | MF_GRAYED, 2, "&Print");
        AppendMenuA(file, MF_STRING | MF_CHECKED, 3, "&Wrap");
        AppendMenuA(file, MF_STRING, 4, kLongItem);
        AppendMenuA(recent, MF_STRING, 5, "&One");
        AppendMenuA(recent, MF_STRING | MF_GRAYED, 6, "&Two");
        AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent");
        AppendMenuA(tools, MF_STRING, 7, "&Options");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        AppendMenuA(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(tools), "&Tools");
        AppendMenuA(bar, MF_STRING, 8, "&Help");
        SetMenu(window.get(), bar);  // destroyed with the window
    }
    // Every item's state, menu by menu, to see that nothing changed.
    std::vector<UINT> States() const {
        std::vector<UINT> states;
        for (HMENU m : {bar, file, recent})
            for (int i = 0; i < GetMenuItemCount(m); ++i) states.push_back(GetMenuState(m, i, MF_BYPOSITION));
        return states;
    }
    OwnedWindow window;
    HMENU bar, file, recent;
};

std::string Path(std::initializer_list<std::string> levels) {
    std::string path;
    for (const std::string& level : levels) path += (path.empty() ? "" : kEscText) + level;
    return path;
}

TEST(MenuPathEnabledOnARealMenu, FollowsPlainItemsAndLeavesTheMenuAsItWas) {
    MenuWindow m;
    ASSERT_TRUE(m.window);
    Win32Desktop desktop;
    const Wnd w = W(m.window.get());
    const std::vector<UINT> before = m.States();

    EXPECT_TRUE(MenuPathEnabled(desktop, w, "&File"));
    EXPECT_TRUE(MenuPathEnabled(desktop, w, Path({"&File", "&Open\tCtrl+O"})));
    EXPECT_TRUE(MenuPathEnabled(desktop, w, Path({"&File", "&Recent", "&One"})));
    // The item's text is whole: shortcut text included, letter case kept.
    EXPECT_FALSE(MenuPathEnabled(desktop, w, Path({"&File", "&Open"})));
    EXPECT_FALSE(MenuPathEnabled(desktop, w, Path({"&file", "&Open\tCtrl+O"})));
    // Grayed, checked, or under a grayed item: not plain.
    EXPECT_FALSE(MenuPathEnabled(desktop, w, Path({"&File", "&Print"})));
    EXPECT_FALSE(MenuPathEnabled(desktop, w, Path({"&File", "&Wrap"})));
    EXPECT_FALSE(MenuPathEnabled(desktop, w, Path({"&File", "&Recent", "&Two"})));
    EXPECT_FALSE(MenuPathEnabled(desktop, w, Path({"&Tools", "&Options"})));
    // A long text is seen as its first 29 characters.
    EXPECT_TRUE(MenuPathEnabled(desktop, w, Path({"&File", std::string(kLongItem, 29)})));
    EXPECT_FALSE(MenuPathEnabled(desktop, w, Path({"&File", kLongItem})));
    // An item without a submenu keeps the search in the bar.
    EXPECT_TRUE(MenuPathEnabled(desktop, w, Path({"&Help", "&File"})));
    EXPECT_FALSE(MenuPathEnabled(desktop, w, Path({"&File", "&Missing"})));
    EXPECT_FALSE(MenuPathEnabled(desktop, w, ""));

    OwnedWindow plain(CreateWindowExA(0, "STATIC", "Taskloom no menu 41", WS_OVERLAPPEDWINDOW, 10, 10, 100,
                                      100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    EXPECT_FALSE(MenuPathEnabled(desktop, W(plain.get()), "&File"));

    EXPECT_EQ(m.States(), before);
}

// The engine in this process, waiting on the menu of a window of this
// process; a timer enables the item while the script's pauses let messages
// run.
HMENU g_menuToEnable;

// A timer procedure must have the system's calling convention (stdcall in
// 32-bit builds), which a lambda does not.
void CALLBACK EnablePrintItem(HWND h, UINT, UINT_PTR id, DWORD) {
    KillTimer(h, id);
    EnableMenuItem(g_menuToEnable, 1, MF_BYPOSITION | MF_ENABLED);
}

TEST(MenuLoopInProcess, LoopMenuEnabledWaitsUntilTheItemIsEnabled) {
    MenuWindow m;
    ASSERT_TRUE(m.window);
    g_menuToEnable = m.file;
    constexpr UINT kDelayMs = 600;
    SetTimer(m.window.get(), 1, kDelayMs, EnablePrintItem);

    Win32Desktop desktop;
    sim::MemoryHost host(Flavor::Pad, {"{.Wait}", "{:Pause1/10}",
                                       "{:LoopMenuEnabled Wait " + kEscText + Path({"&File", "&Print"}) + "}",
                                       "{:ClipsDelimiterTab}"});
    Engine engine(desktop, host);
    engine.setTargetWnd(W(m.window.get()));
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
    EXPECT_GE(GetTickCount64() - start, kDelayMs - 20);
    EXPECT_EQ(GetMenuState(m.file, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
    // The line after the loop ran.
    EXPECT_EQ(engine.delimiter(), '\t');
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace taskloom
