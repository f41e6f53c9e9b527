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

TEST(LineReader, PartsSharedWithTheChecker) {
    // Escaped braces: a triple stands for one brace, and is marked as such.
    std::vector<bool> marks;
    EXPECT_EQ(ReduceEscapedBraces("{Tab}{{{x}}}{{", &marks), "{Tab}{x}{{");
    EXPECT_EQ(marks, (std::vector<bool>{0, 0, 0, 0, 0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(ReduceEscapedBraces("{{{{"), "{{");

    // Tokens up to literal text, a command or an unclosed brace.
    auto read = [](std::string_view text, bool literal = false) {
        LineTokens tokens(text, literal);
        std::string out;
        for (LineToken t; tokens.next(t);)
            out += "KCLU"[t.kind] + std::to_string(t.open) + "[" + std::string(t.text) + "]";
        if (tokens.literalFrom() != std::string::npos) out += " text@" + std::to_string(tokens.literalFrom());
        return out + " end@" + std::to_string(tokens.position());
    };
    EXPECT_EQ(read("{Tab 2}{.L}ab{Enter}"), "K0[Tab 2]L7[.L] text@11 end@11");
    EXPECT_EQ(read("{Ctrl}{:Menu x}{Tab}"), "K0[Ctrl]C6[:Menu x] end@15");
    EXPECT_EQ(read("{x}{Tab"), "K0[x]U3[Tab] end@7");
    EXPECT_EQ(read("{Tab}", true), " text@0 end@0");
    EXPECT_EQ(read(""), " end@0");

    EXPECT_EQ(ReadKeyToken("Tab 3").count, 3);
    EXPECT_EQ(ReadKeyToken("Tab").count, 1);
    EXPECT_EQ(ReadKeyToken("Tab x").count, 0);
    EXPECT_EQ(ReadKeyToken("Tab x").name, "Tab");
}

TEST(LineReader, CommandsAreToldApartInOneOrder) {
    auto kind = [](const char* line) { return ClassifyCommand(ReadScriptLine(line)); };
    using K = CommandKind;
    EXPECT_EQ(kind("{:/ note}"), K::Remark);
    EXPECT_EQ(kind("{:ClipsAddDOS 1 2 3}"), K::ClipsAdd);
    EXPECT_EQ(kind("{:ClipsClear}"), K::ClipsClear);
    EXPECT_EQ(kind("{:ClipsClear x}"), K::Nothing);  // only alone
    EXPECT_EQ(kind("{:ClipsCopy 2}"), K::ClipsCopy);
    EXPECT_EQ(kind("{:ClipsCopy2}"), K::Nothing);  // the first word must be the keyword
    EXPECT_EQ(kind("{:ClipsPaste}"), K::ClipsPaste);
    EXPECT_EQ(kind("{:tO x}"), K::WindowSwitch);  // any case
    EXPECT_EQ(kind("{:Run notepad}"), K::Run);
    EXPECT_EQ(kind("{:Run }"), K::Nothing);  // nothing to start
    EXPECT_EQ(kind("{:Run}"), K::Run);       // the whole token is the program
    EXPECT_EQ(kind("{:PopUp 1 2 T}"), K::PopUp);
    EXPECT_EQ(kind("{:ClipsSaveX a}"), K::ClipsSave);
    EXPECT_EQ(kind("{:MouseX b}"), K::Mouse);
    EXPECT_EQ(kind("{:GotoX L}"), K::Loop);
    EXPECT_EQ(kind("{:LoopX L}"), K::Loop);
    EXPECT_EQ(kind("{:Goot L}"), K::Nothing);
}
