#include <gtest/gtest.h>

#include "engine/errors.h"
#include "engine/script_line.h"
#include "engine/sendkey.h"

using namespace taskloom;

namespace {
std::string Keys(std::string_view line) { return ReadScriptLine(line).keys; }
std::string Codes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s += static_cast<char>(c);
    return s;
}
}  // namespace

TEST(KeyBox, OrderAndLookup) {
    EXPECT_STREQ(KeyBox[0].name, "{None}");
    EXPECT_EQ(KeyBox[0].code, 240);
    EXPECT_STREQ(KeyBox[10].name, "F10");
    EXPECT_STREQ(KeyBox[13].name, "F2");
    EXPECT_STREQ(KeyBox.back().name, "Up");
    EXPECT_EQ(LookupKeyName("up"), 242);
    // Every name of the table but "{None}" is reachable by a token.
    for (size_t i = 1; i < KeyBox.size(); ++i) EXPECT_EQ(LookupKeyName(KeyBox[i].name), KeyBox[i].code);
    EXPECT_EQ(LookupKeyName("tab"), 9);
    EXPECT_EQ(LookupKeyName("TAB"), 9);
    EXPECT_EQ(LookupKeyName("pgdn"), 247);
    EXPECT_EQ(LookupKeyName("Tabs"), std::nullopt);
    EXPECT_EQ(LookupKeyName("None"), std::nullopt);
}

TEST(LineReader, KeyTokensRepeatCountsAndLiteralText) {
    EXPECT_EQ(Keys("{Tab 3}abc"), "\t\t\tabc");
    EXPECT_EQ(Keys("abc{Tab 3}"), "abc{Tab 3}");
    EXPECT_EQ(Keys("{tab}{TAB}"), "\t\t");
    EXPECT_EQ(Keys("{Tabs}"), "Tabs");
    EXPECT_EQ(Keys("{abc}"), "abc");
    EXPECT_EQ(Keys("{x 3}"), "xxx");
    EXPECT_EQ(Keys("{Tab 0}x"), "x");
    EXPECT_EQ(Keys("{Tab x}y"), "y");
    EXPECT_EQ(Keys("{Tab -1}y"), "y");
    EXPECT_EQ(Keys("{Tab   2}"), "\t\t");
    EXPECT_EQ(Keys("{Tab $A}"), std::string(10, '\t'));
    EXPECT_EQ(Keys("{Tab 2abc}"), "\t\t");
    EXPECT_EQ(Keys("{Enter"), "");
    EXPECT_EQ(Keys("{Enter}ab{cd"), "\rab{cd");
    EXPECT_EQ(Keys("{Enter}{ab"), "\r");
    EXPECT_EQ(Keys("{Enter 2}Dear sir"), "\r\rDear sir");
    EXPECT_EQ(Keys("{F1}{F12}{Home}{Del}{Space}"), Codes({228, 239, 240, 249, 32}));
    EXPECT_EQ(Keys(""), "");
}

TEST(LineReader, ModifierFlags) {
    LineReading r = ReadScriptLine("{Alt}f");
    EXPECT_EQ(r.keys, Codes({254, 'f'}));
    EXPECT_TRUE(r.alt);
    EXPECT_FALSE(r.ctrl || r.shift);
    r = ReadScriptLine("{Ctrl}{Shift}{Tab}");
    EXPECT_TRUE(r.ctrl && r.shift && !r.alt);
    EXPECT_FALSE(ReadScriptLine("Alt{Alt}").alt);  // literal text, not a token
}

TEST(LineReader, EscapedBracesAndLiteralLines) {
    EXPECT_EQ(Keys("a{{{{b"), "a{{b");
    EXPECT_EQ(Keys("x}}}y"), "x}y");
    LineReading r = ReadScriptLine("{{{Enter}}}");
    EXPECT_TRUE(r.literalLine);
    EXPECT_EQ(r.keys, "{Enter}");
    EXPECT_FALSE(r.command);
    EXPECT_EQ(Keys("{{{:Goto x}}}"), "{:Goto x}");
    EXPECT_FALSE(ReadScriptLine("{{{:Goto x}}}").command);
    // A reduced brace takes part in token reading after a key token.
    EXPECT_EQ(Keys("{Enter}{{{x}}}"), "\rx");
}

TEST(LineReader, CommandAndLabelTokens) {
    LineReading r = ReadScriptLine("{Enter}{:Pause 2}rest");
    EXPECT_EQ(r.keys, "\r");
    EXPECT_TRUE(r.command);
    EXPECT_EQ(r.scriptLine, ":Pause 2");
    EXPECT_EQ(r.parameter, "2");

    r = ReadScriptLine("{:ClipsClear}");
    EXPECT_EQ(r.scriptLine, ":ClipsClear");
    EXPECT_EQ(r.parameter, ":ClipsClear");  // no blank: the whole token

    r = ReadScriptLine("{:PopUp 10 20 My note title}");
    EXPECT_EQ(r.parameter, "10 20 My note title");

    r = ReadScriptLine("{.Again}{Tab}");
    EXPECT_FALSE(r.command);
    EXPECT_EQ(r.keys, "\t");
    EXPECT_TRUE(ReadScriptLine("{:Goto}").command);
    EXPECT_EQ(ReadScriptLine("{:Goto}").parameter, ":Goto");
}

TEST(LineReader, HugeRepeatCountsAreRefusedNotExpanded) {
    EXPECT_THROW(ReadScriptLine("{x 1099511627776}"), ScriptError);
    EXPECT_THROW(ReadScriptLine("{Tab $FFFFFFFFFFFF}"), ScriptError);
    EXPECT_EQ(Keys("{x 1000}").size(), 1000u);
    EXPECT_EQ(Keys("{x $-5}"), "");
}
