#include <gtest/gtest.h>

#include "pad/model/pad_layout.h"

using namespace taskloom;

TEST(PadLayout, BarAndWindowFollowTheIconsShown) {
    const UpDown five{4, 4};
    BarLayout l = AdjustTheBar(4, five, {200, 105}, false, false);
    EXPECT_EQ(l.barWidth, 5 * 23 + 2);
    EXPECT_EQ(l.window, (PadSize{117 + 25, 25}));
    EXPECT_EQ(l.hint, "Tessdeck 5/5");
    EXPECT_EQ(l.position, 4);
    EXPECT_EQ(BarWidth(-1), 2);
    EXPECT_EQ(BarWidth(-2), 0);  // Shrink past -1: an empty bar, never negative
    // With the pane shown the window only widens: to 120 first, then to the bar.
    EXPECT_EQ(AdjustTheBar(0, five, {100, 105}, true, false).window, (PadSize{120, 105}));
    EXPECT_EQ(AdjustTheBar(4, five, {130, 105}, true, false).window, (PadSize{142, 105}));
    EXPECT_EQ(AdjustTheBar(1, five, {300, 150}, true, false).window, (PadSize{300, 150}));
}

TEST(PadLayout, ExpandAtMaximumMinusOneAndShrinkBelowZero) {
    UpDown u{5, 6};  // seven icons, six shown
    BarLayout l = AdjustTheBar(ExpandPosition(u), u, {}, false, true);
    EXPECT_EQ(l.barWidth, 7 * 23 + 2);
    EXPECT_EQ(l.position, 5);  // the up-down stays at maximum - 1
    EXPECT_EQ(l.hint, "Tessdeck 7/7");
    u.position = l.position;
    EXPECT_EQ(AdjustTheBar(ExpandPosition(u), u, {}, false, true).barWidth, l.barWidth);
    u.position = 6;
    EXPECT_EQ(ExpandPosition(u), 6);

    u.position = 0;
    l = AdjustTheBar(ShrinkPosition(u), u, {}, false, true);
    EXPECT_EQ(l.barWidth, 2);
    EXPECT_EQ(l.position, 0);
    EXPECT_EQ(l.hint, "Tessdeck 0/7");
    EXPECT_FALSE(l.hide);  // the up-down stays at 0, so Auto Hide does not hide
    // The up-down's own left arrow reaches -1 and hides with Auto Hide.
    u.position = MoreOrLessStep(u, -1);
    EXPECT_EQ(u.position, -1);
    EXPECT_EQ(MoreOrLessStep(u, -1), -1);
    EXPECT_TRUE(AdjustTheBar(u.position, u, {}, false, true).hide);
    EXPECT_FALSE(AdjustTheBar(u.position, u, {}, false, false).hide);
    EXPECT_EQ(MoreOrLessStep({6, 6}, +1), 6);
    // An empty pad: maximum -1, hidden with Auto Hide.
    EXPECT_TRUE(AdjustTheBar(-1, {-1, -1}, {}, false, true).hide);
}

TEST(PadLayout, ClipsPaneSizes) {
    EXPECT_EQ(ViewClipsSize({60, 25}, 1, true), (PadSize{115, 105}));
    EXPECT_EQ(ViewClipsSize({200, 25}, 3, true), (PadSize{115, 105}));
    EXPECT_EQ(ViewClipsSize({200, 25}, 7, true), (PadSize{200, 105}));
    EXPECT_EQ(ViewClipsSize({200, 105}, 7, false), (PadSize{200, 25}));
    ResizeResult r = ResizeClick({150, 100}, true);
    EXPECT_TRUE(r.paneVisible);
    EXPECT_EQ(r.pane, (PadSize{146, 74}));
    r = ResizeClick({10, 100}, true);
    EXPECT_FALSE(r.paneVisible);
    EXPECT_EQ(r.window, (PadSize{25, 100}));
    EXPECT_EQ(ResizeClick({80, 3}, false).window, (PadSize{80, 25}));
    EXPECT_EQ(PreviewBarWidth(0), 31);
    EXPECT_EQ(PreviewBarWidth(20), 491);
    std::string wobble;
    for (unsigned c = 1; c <= 16; ++c) wobble += MenuImageWobble(c) ? char('0' + *MenuImageWobble(c)) : '.';
    EXPECT_EQ(wobble, "0......0......01");  // 1, 8, 15 to 0; 16 to 1
}

TEST(PadLayout, PlacingNormalisesHotKeysAndReorderingKeepsSlots) {
    const std::vector<PadEntry> entries = {{3, "A\tCtrl+Shift+P\ta.exe"},
                                           {8, "B\t\tb.exe"},
                                           {1, "C\tAlt+F5"},  // two fields: no program, no hot key
                                           {5, "D\tCtrl+Nope\td.exe"}};
    PlacedPad pad = PlacePad(entries);
    ASSERT_EQ(pad.bar.size(), 4u);
    EXPECT_EQ(pad.bar[0], (BarButton{3, "A\tShift+Ctrl+P", 0}));
    EXPECT_EQ(pad.slots[0], (PadSlot{"a.exe", "Shift+Ctrl+P", 6080}));
    EXPECT_EQ(pad.slots[1], (PadSlot{"b.exe", "", 0}));
    EXPECT_EQ(pad.bar[2].hint, "C");
    EXPECT_EQ(pad.slots[2], PadSlot{});
    EXPECT_EQ(pad.slots[3], (PadSlot{"d.exe", "", 0}));
    ASSERT_EQ(pad.notes.size(), 1u);
    EXPECT_NE(pad.notes[0].find("Nope"), std::string::npos);

    auto order = [&](const std::vector<BarButton>& bar) {
        std::string s;
        for (const BarButton& b : bar) {
            s += b.hint.substr(0, 1);
            // Every icon still reaches its own program through its slot.
            EXPECT_EQ(pad.slots[b.slot], PlacePad(entries).slots[b.slot]);
            EXPECT_EQ(b, PlacePad(entries).bar[b.slot]);
        }
        return s;
    };
    std::vector<BarButton> bar = pad.bar;
    BarLeft(bar);
    EXPECT_EQ(order(bar), "BCDA");
    bar = pad.bar;
    BarRight(bar);
    EXPECT_EQ(order(bar), "DABC");
    bar = pad.bar;
    SwapIcons12(bar);
    EXPECT_EQ(order(bar), "BACD");
    std::vector<BarButton> one = {pad.bar[0]};
    BarLeft(one);
    BarRight(one);
    SwapIcons12(one);
    EXPECT_EQ(one[0], pad.bar[0]);
}

TEST(PadLayout, ABadIconNumberKeepsThePlacedIconsWithoutProgramsOrHotKeys) {
    // A line without TAB before the bad number: its icon has an empty record.
    PadLoad load = ParsePadText("1\tA\tCtrl+A\ta.exe\r9\rfive\tB\t\tb\r", PadReader::Pad);
    ASSERT_FALSE(load.error.empty());
    PlacedPad pad = PlaceLoadedPad(load);
    ASSERT_EQ(pad.bar.size(), 2u);
    EXPECT_EQ(pad.bar[0], (BarButton{1, "A", 0}));
    EXPECT_EQ(pad.bar[1], (BarButton{9, "", 1}));
    EXPECT_EQ(pad.slots, (std::vector<PadSlot>{PadSlot{}, PadSlot{}}));
    // A bad number on the first line places nothing.
    EXPECT_TRUE(PlaceLoadedPad(ParsePadText("x\tA\t\ta\r", PadReader::Pad)).bar.empty());
    // Without an error every icon keeps its program and hot key.
    load = ParsePadText("1\tA\tCtrl+A\ta.exe\r9\r", PadReader::Pad);
    pad = PlaceLoadedPad(load);
    EXPECT_EQ(pad.slots[0], (PadSlot{"a.exe", "Ctrl+A", 2065}));
    EXPECT_EQ(pad.bar[1], (BarButton{9, "", 1}));
}

TEST(PadLayout, HotKeysNamedByTheKeyboardLayoutAreRegisteredUnderThatKey) {
    // The layout's names of the slash and semicolon keys, as a US layout's.
    const LayoutKeyNameFn layout = [](int key) {
        return key == 191 ? std::string("/") : key == 186 ? std::string(";") : std::string();
    };
    const PlacedPad pad = PlacePad(
        {{2, "Slash\tCtrl+Alt+/\ts.exe"}, {3, "Semi\tctrl+shift+;\tt.exe"}, {4, "F\tAlt+F5\tf"}}, layout);
    EXPECT_EQ(pad.bar[0].hint, "Slash\tCtrl+Alt+/");
    EXPECT_EQ(pad.slots[0], (PadSlot{"s.exe", "Ctrl+Alt+/", 3191}));
    EXPECT_EQ(pad.slots[1], (PadSlot{"t.exe", "Shift+Ctrl+;", 6186}));
    EXPECT_EQ(pad.slots[2].hotKeyId, 1116);
    EXPECT_TRUE(pad.notes.empty());
    // The pressed key's text, formatted back, finds its icon.
    std::vector<std::string> hints;
    for (const BarButton& b : pad.bar) hints.push_back(b.hint);
    EXPECT_EQ(FindHotKeyIcon(hints, FormatShortcut(ShortcutFromId(3191), layout)), 0);
    EXPECT_EQ(FindHotKeyIcon(hints, FormatShortcut(ShortcutFromId(6186), layout)), 1);
}
