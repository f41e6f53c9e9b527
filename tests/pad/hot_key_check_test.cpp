#include <gtest/gtest.h>

#include "pad/model/hot_key_check.h"

using namespace taskloom;

namespace {

PadSlot Slot(const std::string& key) {
    const Shortcut s = ParseShortcut(key);
    return PadSlot{"prog.exe", FormatShortcut(s), HotKeyId(s)};
}

}  // namespace

TEST(HotKeyCheck, EachIconsKeyIsJudgedInBarOrderAndReported) {
    // The bar was reordered: its buttons name their slots.
    const std::vector<PadSlot> slots = {Slot("Ctrl+Alt+K"), Slot(""), Slot("Alt+Ctrl+E"), Slot("Ctrl+Alt+E"),
                                        Slot("Ctrl+Shift+F9")};
    const std::vector<BarButton> bar = {{3, "Editor\tCtrl+Alt+K", 0},    {4, "Notes", 1},
                                        {5, "Mail\tCtrl+Alt+E", 3},      {6, "Mail too\tCtrl+Alt+E", 2},
                                        {7, "Toggle\tShift+Ctrl+F9", 4}, {8, "Lost\tCtrl+Alt+Q", 9}};
    const std::vector<IconKey> keys = BarKeys(bar, slots);
    ASSERT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys[2].description, "Mail");
    EXPECT_EQ(keys[2].hotKey, "Ctrl+Alt+E");
    EXPECT_EQ(keys[5].id, 0);  // a slot that is not there gives no key

    // Ctrl+Alt+K is held by another program, Ctrl+Alt+E by the pad (under
    // the slot that registered it).
    const std::vector<int> held = {0, 0, 0, HotKeyId({'E', kModCtrl | kModAlt}), 0};
    const std::vector<IconKeyState> states = JudgeHotKeys(keys, held);
    const std::vector<IconKeyState> expected = {{HotKeyState::InUse, -1},    {HotKeyState::None, -1},
                                                {HotKeyState::Works, -1},    {HotKeyState::Shadowed, 2},
                                                {HotKeyState::ShowHide, -1}, {HotKeyState::None, -1}};
    EXPECT_EQ(states, expected);

    // Only a key in use marks the hint.
    EXPECT_EQ(ShownHint(bar[0].hint, states[0].state), "Editor\tCtrl+Alt+K (in use)");
    for (std::size_t i = 1; i < bar.size(); ++i)
        EXPECT_EQ(ShownHint(bar[i].hint, states[i].state), bar[i].hint);

    EXPECT_EQ(HotKeyReport(keys, states, true),
              "Show/hide the pad: Shift+Ctrl+F9 - works\n"
              "1. Editor: Ctrl+Alt+K - in use by another program\n"
              "2. Notes: no hot key\n"
              "3. Mail: Ctrl+Alt+E - works\n"
              "4. Mail too: Ctrl+Alt+E - starts icon 3 instead (the same key)\n"
              "5. Toggle: Shift+Ctrl+F9 - shows and hides the pad (the pad's own key)\n"
              "6. Lost: no hot key\n\n"
              "A key in use is tried again when the session is unlocked or the computer resumes, and works "
              "once the other program has let it go.");
    // Once every key is free: no word about trying again; a pad without
    // icons says so, and a show/hide key held elsewhere is named.
    const std::vector<int> all = {HotKeyId({'K', kModCtrl | kModAlt}), 0,
                                  HotKeyId({'E', kModCtrl | kModAlt})};
    EXPECT_EQ(HotKeyReport(keys, JudgeHotKeys(keys, all), true).find("tried again"), std::string::npos);
    EXPECT_EQ(HotKeyReport({}, {}, false),
              "Show/hide the pad: Shift+Ctrl+F9 - in use by another program\nThe pad has no icons.\n\n"
              "A key in use is tried again when the session is unlocked or the computer resumes, and works "
              "once the other program has let it go.");
}

TEST(HotKeyCheck, OnlyTheFirstSlotOfEachKeyNotYetHeldIsRegistered) {
    const std::vector<PadSlot> slots = {Slot("Ctrl+Alt+K"),    Slot(""),
                                        Slot("Ctrl+Alt+E"),    Slot("Alt+Ctrl+K"),
                                        Slot("Ctrl+Shift+F9"), Slot("Ctrl+Alt+M")};
    // Freshly loaded: one registration per key, never the show/hide key.
    EXPECT_EQ(SlotsToRegister(slots, std::vector<int>(slots.size(), 0)), (std::vector<std::size_t>{0, 2, 5}));
    // K and M failed, E is held: only they are tried again, K under its
    // first slot.
    std::vector<int> tags(slots.size(), 0);
    tags[2] = slots[2].hotKeyId;
    EXPECT_EQ(SlotsToRegister(slots, tags), (std::vector<std::size_t>{0, 5}));
    tags[0] = slots[0].hotKeyId;
    tags[5] = slots[5].hotKeyId;
    EXPECT_TRUE(SlotsToRegister(slots, tags).empty());
    // Fewer tags than slots (a pad being replaced) asks for nothing odd.
    EXPECT_EQ(SlotsToRegister(slots, {}), (std::vector<std::size_t>{0, 2, 5}));
}

TEST(HotKeyCheck, TwoIconsWithOneKeyAreFoundAsKeysNotAsTexts) {
    const std::vector<PadEntry> pad = {{3, "Editor\tCtrl+Shift+P\ted.exe"},
                                       {4, "Notes\t\tnotes.exe"},
                                       {5, "\tShift+Ctrl+P\tother.exe"},
                                       {6, "Mail\tAlt+F5\tmail.exe"},
                                       {7, "Short"},
                                       {8, "Again\tctrl+shift+p\tx.exe"}};
    EXPECT_EQ(FindHotKeyOwner(pad, "Shift+Ctrl+P"), 0);
    EXPECT_EQ(FindHotKeyOwner(pad, "Alt+F5"), 3);
    EXPECT_EQ(FindHotKeyOwner(pad, "Ctrl+Alt+F5"), -1);
    EXPECT_EQ(FindHotKeyOwner(pad, ""), -1);
    EXPECT_EQ(FindHotKeyOwner(pad, "Ctrl+"), -1);  // names no key
    EXPECT_EQ(FindHotKeyOwner({}, "Alt+F5"), -1);

    EXPECT_EQ(HotKeyClashText("Alt+F5", 4, "Mail", 7, "Post"),
              "Icon 4 (Mail) already has the hot key Alt+F5.\n"
              "Icon 7 (Post) cannot have it too: choose another key for one of them.");

    const auto pairs = DuplicateHotKeys(pad);
    EXPECT_EQ(pairs, (std::vector<std::pair<int, int>>{{0, 2}, {0, 5}}));
    EXPECT_EQ(
        DuplicateHotKeysText(pad, pairs),
        "Icons 1 (Editor) and 3 ((no description)) have the same hot key Ctrl+Shift+P; only icon 1 "
        "starts with it.\n"
        "Icons 1 (Editor) and 6 (Again) have the same hot key Ctrl+Shift+P; only icon 1 starts with it.");
    EXPECT_TRUE(DuplicateHotKeys({pad[1], pad[3], pad[4]}).empty());
    EXPECT_EQ(DuplicateHotKeysText(pad, {}), "");
    EXPECT_EQ(DuplicateHotKeysText(pad, {{0, 40}}), "");  // out of range: nothing made up
}
