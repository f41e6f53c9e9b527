#include <gtest/gtest.h>

#include "engine/sendkey.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using taskloom::sim::SimDesktop;
using Words = std::vector<std::string>;

namespace {
std::string Codes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s += static_cast<char>(c);
    return s;
}
}  // namespace

TEST(SendKeyString, ShiftRuleAndModifierHeldFlag) {
    SimDesktop d;
    SendKeyString(d, "aB");
    EXPECT_EQ(d.keyWords(), (Words{"a", "Shift down", "B", "Shift up"}));
    d.clearKeyLog();
    SendKeyString(d, Codes({250, 'a', 'b', 251}));
    EXPECT_EQ(d.keyWords(), (Words{"Shift down", "A", "B", "Shift up"}));
    d.clearKeyLog();
    // Ctrl held: an upper-case letter gets no automatic Shift (Ctrl+C, not Ctrl+Shift+C).
    SendKeyString(d, Codes({252, 'C', 253}));
    EXPECT_EQ(d.keyWords(), (Words{"Ctrl down", "c", "Ctrl up"}));
    d.clearKeyLog();
    // Only the last modifier code counts: after a release the Shift rule is back.
    SendKeyString(d, Codes({252, 250, 253, 'A', 251}));
    EXPECT_EQ(d.keyWords(),
              (Words{"Ctrl down", "Shift down", "Ctrl up", "Shift down", "A", "Shift up", "Shift up"}));
    d.clearKeyLog();
    // The flag lives for one call: a press from an earlier call does not count.
    SendKeyString(d, Codes({252}));
    SendKeyString(d, "A");
    EXPECT_EQ(d.keyWords(), (Words{"Ctrl down", "Shift down", "A", "Shift up"}));
}

TEST(SendKeyString, CodeTable) {
    SimDesktop d;
    SendKeyString(d, Codes({252, 249, 253, 254, 'f', 255, 228, 239, 13, 32, 9, 8, 27}));
    EXPECT_EQ(d.keyWords(), (Words{"Ctrl down", "Del", "Ctrl up", "Alt down", "f", "Alt up", "F1", "F12",
                                   "Enter", "Space", "Tab", "Backspace", "Esc"}));
    d.clearKeyLog();
    SendKeyString(d, Codes({240, 241, 242, 243, 244, 245, 246, 247, 248, 249}));
    EXPECT_EQ(d.keyWords(),
              (Words{"Home", "End", "Up", "Down", "Left", "Right", "PgUp", "PgDn", "Ins", "Del"}));
    // Navigation keys are extended keys, with their scan codes; nothing else is.
    for (const KeyEvent& e : d.keyLog()) {
        EXPECT_TRUE(e.extended);
        EXPECT_EQ(e.scan, d.mapVirtualKey(e.vk));
    }
    d.clearKeyLog();
    SendKeyString(d, Codes({'a', 13, 228, 250, 251}));
    for (const KeyEvent& e : d.keyLog()) EXPECT_FALSE(e.extended);
    // The automatic Shift is sent with scan code 42; each key goes down then up.
    d.clearKeyLog();
    SendKeyString(d, "!");
    ASSERT_EQ(d.keyLog().size(), 4u);
    EXPECT_EQ(d.keyLog()[0], (KeyEvent{kVkShift, 42, false, false}));
    EXPECT_EQ(d.keyLog()[1], (KeyEvent{'1', 2, false, false}));
    EXPECT_EQ(d.keyLog()[2], (KeyEvent{'1', 2, true, false}));
    EXPECT_EQ(d.keyLog()[3], (KeyEvent{kVkShift, 42, true, false}));
}

TEST(SendKeyString, TypesEveryPrintableCharacter) {
    SimDesktop d;
    Wnd w = d.addWindow("Editor");
    d.setForegroundDirect(w);
    std::string all;
    for (int c = 32; c <= 126; ++c) all += static_cast<char>(c);
    SendKeyString(d, all);
    EXPECT_EQ(d.text(w), "Editor" + all);
    for (int vk : {kVkShift, kVkControl, kVkMenu}) EXPECT_FALSE(d.isKeyDown(static_cast<std::uint8_t>(vk)));
}

TEST(SendKeyString, PacingAndMessages) {
    SimDesktop d;
    SendKeyString(d, "");
    EXPECT_TRUE(d.keyLog().empty());
    EXPECT_EQ(d.processMessageCount(), 0u);

    SeedKeyPacing(7);
    const std::string text(4000, 'x');
    SendKeyString(d, text);
    EXPECT_EQ(d.processMessageCount(), text.size());  // once after every key
    // The first byte always waits; about one byte in four waits 1 ms.
    size_t waits = d.sleeps().size();
    for (unsigned ms : d.sleeps()) EXPECT_EQ(ms, 1u);
    EXPECT_GT(waits, text.size() / 5);
    EXPECT_LT(waits, text.size() / 3);
    SimDesktop one;
    SendKeyString(one, "x");
    EXPECT_EQ(one.sleeps().size(), 1u);
}

TEST(Windows, FindActivateAndDigits) {
    SimDesktop d;
    Wnd report = d.addWindow("Report - Editor");
    Wnd other = d.addWindow("Other");
    EXPECT_EQ(FindWindowByTitle(d, "Report - Editor"), report);
    EXPECT_EQ(FindWindowByTitle(d, "report - editor"), 0);
    EXPECT_EQ(FindWindowByTitle(d, "Report"), 0);
    std::string longTitle(255, 'T');
    Wnd big = d.addWindow(longTitle);
    EXPECT_EQ(FindWindowByTitle(d, longTitle), big);
    EXPECT_EQ(FindWindowByTitle(d, longTitle + "extra"), big);  // cut to 255

    d.setForegroundDirect(other);
    EXPECT_EQ(ForegroundWindow(d), other);
    d.setMinimized(report, true);
    int before = d.activations();
    ActivateWindow(d, report);
    EXPECT_FALSE(d.isIconic(report));
    EXPECT_EQ(d.activations(), before + 1);  // restored, no separate foreground call
    EXPECT_EQ(ForegroundWindow(d), report);
    EXPECT_EQ(d.focus(), report);
    ActivateWindow(d, other);
    EXPECT_EQ(ForegroundWindow(d), other);
    ActivateWindow(d, 0);  // passes through
    EXPECT_EQ(ForegroundWindow(d), other);

    EXPECT_EQ(BoolToDigit(true), '1');
    EXPECT_EQ(BoolToDigit(false), '0');
    EXPECT_TRUE(DigitToBool("1"));
    EXPECT_FALSE(DigitToBool("11"));
    EXPECT_FALSE(DigitToBool("0"));
}
