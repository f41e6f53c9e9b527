#include "composer/model/key_capture.h"

#include <gtest/gtest.h>

#include "composer/model/composer_model.h"

using namespace taskloom;

TEST(KeyCapture, KeyTokensCountsAndCombinations) {
    KeyFields f;
    EXPECT_FALSE(KeyStrokesKeyUp(f, 'A', 'A').line);  // plain typing into an empty field
    f.count = 4;
    KeyStrokesKeyUp(f, kVkF1 + 4, 0);
    EXPECT_EQ(f.keyStrokes, "{F5}");
    EXPECT_EQ(f.count, 4);  // a function key leaves the count
    KeyStrokesKeyUp(f, kVkDown, 0);
    EXPECT_EQ(f.keyStrokes, "{F5}{Down 4}");
    EXPECT_EQ(f.count, 1);
    KeyStrokesKeyUp(f, 0x5B, 0);  // the Windows key has no name
    KeyStrokesKeyUp(f, kVkF12, 0);
    EXPECT_EQ(f.keyStrokes, "{F5}{Down 4}{F12}");

    for (auto [vk, name] : {std::pair{kVkBack, "Bksp"},
                            {kVkPrior, "PgUp"},
                            {kVkNext, "PgDn"},
                            {kVkInsert, "Ins"},
                            {kVkDelete, "Del"},
                            {kVkReturn, "Enter"},
                            {kVkEscape, "Esc"}})
        EXPECT_EQ(KeyNameOf(vk), name);
    EXPECT_FALSE(KeyNameOf(kVkF1));

    f = {};
    EXPECT_FALSE(KeyStrokesKeyUp(f, kVkShift, 0).sendDot);
    KeyPressResult r = KeyStrokesKeyUp(f, '5', '5');
    EXPECT_EQ(r.line, "{Shift}5");
    EXPECT_EQ(f.keyStrokes, "");
    EXPECT_TRUE(KeyStrokesKeyUp(f, kVkMenu, 0).sendDot);
    EXPECT_EQ(KeyStrokesKeyUp(f, 0xBF, '/').line, "{Alt}/");
    KeyStrokesKeyUp(f, kVkControl, 0);
    EXPECT_FALSE(KeyStrokesKeyUp(f, 0xBA, ';').line);  // only "/", digits and letters complete
}

TEST(KeyCapture, Buttons) {
    KeyFields f{"", "text", 1};
    TabBtnClick(f);
    f.count = 3;
    TabBtnClick(f);
    AltBtnClick(f);
    EXPECT_EQ(f, (KeyFields{"{Tab}{Tab 3}{Alt}", "text", 1}));
    f.count = 9;
    ClearKeysClick(f);
    EXPECT_EQ(f, KeyFields{});
}

TEST(KeyCapture, TableOfResultingLines) {
    struct Row {
        const char* keyStrokes;
        const char* autoText;
        int count;
        const char* line;
    };
    for (const Row& row :
         {Row{"", "abc", 1, "abc"}, Row{"", "abc", 3, "{abc 3}"}, Row{"", "a b", 3, "a b"},
          Row{"{Tab}", "", 1, "{Tab}"}, Row{"{Tab}", "abc", 1, "{Tab}abc"}, Row{"{Tab}", "", 2, "{Tab} 2"},
          Row{"", "x{y", 1, "x{{{y"}, Row{"", "", 1, ""}, Row{"", "}", 1, "}}}"}}) {
        ScriptList list;
        KeyFields f{row.keyStrokes, row.autoText, row.count};
        AddLine(list, f, "", true);
        EXPECT_EQ(list.lines(), std::vector<std::string>{row.line}) << row.keyStrokes << "|" << row.autoText;
        EXPECT_EQ(f, KeyFields{});
    }
    // A combination is added at once, as it stands; the text field and the
    // count stay for the next line.
    ScriptList list;
    KeyFields f{"", "abc", 3};
    KeyStrokesKeyUp(f, kVkControl, 0);
    EXPECT_EQ(f.keyStrokes, "{Ctrl 3}");
    f.count = 2;
    const KeyPressResult r = KeyStrokesKeyUp(f, 'A', 'A');
    AddCombination(list, *r.line);
    EXPECT_EQ(list.lines(), std::vector<std::string>{"{Ctrl 3}A"});
    EXPECT_EQ(f, (KeyFields{"", "abc", 2}));
}
