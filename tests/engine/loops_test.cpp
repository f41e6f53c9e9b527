// The loop conditions as the interpreter and the checker read a keyword.
#include <gtest/gtest.h>

#include "engine/loops.h"

using namespace taskloom;

TEST(LoopConditions, FamiliesAndTheConditionsTheyName) {
    EXPECT_EQ(LoopFamilyOf(":GotoX"), LoopFamily::Goto);
    EXPECT_EQ(LoopFamilyOf(":LoopTimes"), LoopFamily::Times);
    EXPECT_EQ(LoopFamilyOf(":LoopEOF"), LoopFamily::EndOfClips);
    EXPECT_EQ(LoopFamilyOf(":LoopClipboardGE"), LoopFamily::Clipboard);
    EXPECT_EQ(LoopFamilyOf(":LoopControlNE"), LoopFamily::Control);
    EXPECT_EQ(LoopFamilyOf(":LoopUntil"), LoopFamily::None);
    EXPECT_EQ(LoopFamilyOf(""), LoopFamily::None);
    EXPECT_TRUE(NamesCondition(LoopFamily::Window, ":LoopWindowInactive"));
    EXPECT_FALSE(NamesCondition(LoopFamily::Window, ":LoopWindowVisible"));
    EXPECT_FALSE(NamesCondition(LoopFamily::Menu, ":LoopMenuOn"));
    EXPECT_TRUE(NamesCondition(LoopFamily::Clipboard, ":LoopClipboardLT"));
    EXPECT_FALSE(NamesCondition(LoopFamily::Clipboard, ":LoopClipboardIs"));
    EXPECT_TRUE(NamesCondition(LoopFamily::Control, ":LoopControlEQ"));
    EXPECT_FALSE(NamesCondition(LoopFamily::Control, ":LoopControlXEQ"));  // EQ and NE only right after
    EXPECT_FALSE(NamesCondition(LoopFamily::None, ":Loop"));
}

TEST(LoopConditions, EachNamedConditionMustHold) {
    EXPECT_TRUE(WindowLoopHolds(":LoopWindowActive", true));
    EXPECT_FALSE(WindowLoopHolds(":LoopWindowActive", false));
    EXPECT_TRUE(WindowLoopHolds(":LoopWindowInactive", false));
    EXPECT_FALSE(WindowLoopHolds(":LoopWindowInactive", true));
    EXPECT_TRUE(WindowLoopHolds(":LoopWindowGone", true));  // names none: waits for nothing
    EXPECT_FALSE(WindowLoopHolds(":LoopWindowActiveWindowInactive", true));
    EXPECT_FALSE(WindowLoopHolds(":LoopWindowActiveWindowInactive", false));
    EXPECT_TRUE(FileLoopHolds(":LoopFileNotFound", false));
    EXPECT_FALSE(FileLoopHolds(":LoopFileExists", false));
    EXPECT_TRUE(MenuLoopHolds(":LoopMenuDisabled", false));
    EXPECT_FALSE(MenuLoopHolds(":LoopMenuEnabled", false));
    // Controls: found and enabled, or not; found or not for the clipboard's text.
    EXPECT_TRUE(ControlLoopHolds(":LoopControlEnabled", true, true));
    EXPECT_FALSE(ControlLoopHolds(":LoopControlEnabled", false, false));
    EXPECT_TRUE(ControlLoopHolds(":LoopControlDisabled", false, false));
    EXPECT_FALSE(ControlLoopHolds(":LoopControlDisabled", true, true));
    EXPECT_TRUE(ControlLoopHolds(":LoopControlEQ", true, false));
    EXPECT_FALSE(ControlLoopHolds(":LoopControlNE", true, false));
    EXPECT_TRUE(ControlLoopByClipboard(":LoopControlNE"));
    EXPECT_FALSE(ControlLoopByClipboard(":LoopControlEnabled"));
}

TEST(LoopConditions, ClipboardComparisonsAndContains) {
    struct Case {
        const char* keyword;
        bool less, equal, greater;  // holds with the clip "b" against "c", "b", "a"
    };
    for (const Case& c :
         {Case{":LoopClipboardLT", true, false, false}, Case{":LoopClipboardLE", true, true, false},
          Case{":LoopClipboardEQ", false, true, false}, Case{":LoopClipboardGE", false, true, true},
          Case{":LoopClipboardGT", false, false, true}, Case{":LoopClipboardIs", false, false, false}}) {
        SCOPED_TRACE(c.keyword);
        EXPECT_EQ(ClipboardLoopHolds(c.keyword, "b", "c"), c.less);
        EXPECT_EQ(ClipboardLoopHolds(c.keyword, "b", "b"), c.equal);
        EXPECT_EQ(ClipboardLoopHolds(c.keyword, "b", "a"), c.greater);
    }
    EXPECT_TRUE(ClipboardLoopHolds(":LoopClipboardContains", "abc", "b"));
    EXPECT_FALSE(ClipboardLoopHolds(":LoopClipboardContains", "abc", ""));  // an empty value is never held
    EXPECT_TRUE(ClipboardLoopHolds(":LoopClipboardContainsNOT", "abc", ""));
    EXPECT_FALSE(ClipboardLoopHolds(":LoopClipboardContainsNOT", "abc", "c"));
}
