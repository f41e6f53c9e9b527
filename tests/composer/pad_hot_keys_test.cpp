#include <gtest/gtest.h>

#include "composer/model/pad_hot_keys.h"

using namespace taskloom;

TEST(PadHotKeys, TheFieldNamesAKeyInUseAndThePadsOwnKey) {
    EXPECT_EQ(HotKeyFieldHint("Ctrl+Alt+K", true), "");
    EXPECT_EQ(HotKeyFieldHint("Ctrl+Alt+K", false), "Hot key in use by another program");
    EXPECT_EQ(HotKeyFieldHint("", false), "");  // no key, nothing to say
    for (bool registered : {true, false})
        EXPECT_EQ(HotKeyFieldHint("Ctrl+Shift+F9", registered),
                  "Hot key of the pad itself: it shows and hides the pad");
}

TEST(PadHotKeys, AnIconIsRefusedAKeyOfThePadAndAskedAboutOneThatCannotWork) {
    const std::vector<PadEntry> pad = {
        {3, "Editor\tShift+Ctrl+P\ted.exe"}, {4, "Notes\t\tnotes.exe"}, {5, "Mail\tAlt+F5\tmail.exe"}};
    // The same key written the other way round is the same key.
    AssignCheck c = CheckIconHotKey(pad, {"Post", "Ctrl+Shift+P", "post.exe"}, true);
    EXPECT_EQ(c.verdict, AssignVerdict::Refuse);
    EXPECT_EQ(c.text,
              "Icon 1 (Editor) already has the hot key Ctrl+Shift+P.\n"
              "Icon 4 (Post) cannot have it too: choose another key for one of them.");
    // A clash is refused even when the key could not be registered.
    EXPECT_EQ(CheckIconHotKey(pad, {"Post", "Alt+F5", "p"}, false).verdict, AssignVerdict::Refuse);

    c = CheckIconHotKey(pad, {"Post", "Ctrl+Alt+K", "post.exe"}, false);
    EXPECT_EQ(c.verdict, AssignVerdict::Ask);
    EXPECT_EQ(c.text,
              "Hot key in use by another program: Ctrl+Alt+K does not start this icon while that program "
              "holds it.\nAssign it all the same?");
    c = CheckIconHotKey(pad, {"Post", "Ctrl+Shift+F9", "post.exe"}, true);
    EXPECT_EQ(c.verdict, AssignVerdict::Ask);
    EXPECT_NE(c.text.find("shows and hides the pad"), std::string::npos);

    for (const IconFields& ok : {IconFields{"Post", "Ctrl+Alt+K", "p"}, IconFields{"Post", "", "p"}}) {
        c = CheckIconHotKey(pad, ok, true);
        EXPECT_EQ(c.verdict, AssignVerdict::Assign) << ok.hotKey;
        EXPECT_EQ(c.text, "");
    }
    // Two icons without a key never clash, and an empty pad takes any key.
    EXPECT_EQ(CheckIconHotKey(pad, {"Post", "", "p"}, false).verdict, AssignVerdict::Assign);
    EXPECT_EQ(CheckIconHotKey({}, {"Post", "Alt+F5", "p"}, true).verdict, AssignVerdict::Assign);
}
