#include <gtest/gtest.h>

#include "pad/model/pad_text.h"

using namespace taskloom;
using Entries = std::vector<PadEntry>;

TEST(PadText, FormatAndBothReadersRoundTrip) {
    const Entries pad = {
        {7, MakeIconRecord({"Notes", "", "C:\\Tools\\notepad.exe C:\\a b.txt"})},
        {0, MakeIconRecord({"Mail", "Ctrl+Shift+M", "mailto:me@example.org"})},
        {41, MakeIconRecord({"", "Alt+F5", "C:\\Scripts\\report.tks"})},
    };
    const std::string text = FormatPadText(pad);
    EXPECT_EQ(text.substr(0, text.find('\r') + 1), "7\tNotes\t\tC:\\Tools\\notepad.exe C:\\a b.txt\r");
    EXPECT_EQ(text.back(), '\r');
    for (PadReader reader : {PadReader::Composer, PadReader::Pad}) {
        const PadLoad load = ParsePadText(text, reader);
        EXPECT_EQ(load.entries, pad);
        EXPECT_EQ(load.error, "");
        EXPECT_TRUE(load.notes.empty());
    }
    EXPECT_EQ(FormatPadText({}), "");
    EXPECT_TRUE(ParsePadText("", PadReader::Pad).entries.empty());
}

TEST(PadText, LastLineWithoutCarriageReturnOnlyThePadReads) {
    const std::string text = "1\tA\t\ta.exe\r2\tB\t\tb.exe";
    EXPECT_EQ(ParsePadText(text, PadReader::Composer).entries, (Entries{{1, "A\t\ta.exe"}}));
    EXPECT_EQ(ParsePadText(text, PadReader::Pad).entries, (Entries{{1, "A\t\ta.exe"}, {2, "B\t\tb.exe"}}));
    // Line feeds after carriage returns (a file saved by a text editor) and
    // empty lines are line ends, not entries.
    EXPECT_EQ(ParsePadText("1\tA\t\ta.exe\r\n\r\n2\tB\t\tb.exe\r\n", PadReader::Composer).entries,
              (Entries{{1, "A\t\ta.exe"}, {2, "B\t\tb.exe"}}));
}

TEST(PadText, BadLinesPlaceNoIconButNothingIsLost) {
    // Out of range and duplicate indexes are skipped with a note; the load goes on.
    PadLoad load = ParsePadText("42\tX\t\tx\r-1\tY\t\ty\r3\tA\t\ta\r3\tB\t\tb\r4\tC\t\tc\r", PadReader::Pad);
    EXPECT_EQ(load.entries, (Entries{{3, "A\t\ta"}, {4, "C\t\tc"}}));
    ASSERT_EQ(load.notes.size(), 3u);
    EXPECT_NE(load.notes[0].find("icon 42 is not in the icon set"), std::string::npos);
    EXPECT_NE(load.notes[2].find("line 4"), std::string::npos);
    // An index that is no number ends the load; the icons before it stay.
    load = ParsePadText("5\tA\t\ta\rfive\tB\t\tb\r6\tC\t\tc\r", PadReader::Composer);
    EXPECT_EQ(load.entries, (Entries{{5, "A\t\ta"}}));
    EXPECT_NE(load.error.find("\"five\" is not a valid icon number"), std::string::npos) << load.error;
    // A line without any TAB is an icon with nothing to launch.
    load = ParsePadText("9\r10\tOnly a description\r", PadReader::Pad);
    EXPECT_EQ(load.entries, (Entries{{9, ""}, {10, "Only a description"}}));
    EXPECT_EQ(load.error, "");
}

TEST(PadText, FieldsWithTabsOrLineBreaksAndBadIndexesAreRefused) {
    EXPECT_THROW(MakeIconRecord({"a\tb", "", "x"}), PadTextError);
    EXPECT_THROW(MakeIconRecord({"a", "Ctrl+\rA", "x"}), PadTextError);
    try {
        MakeIconRecord({"a", "", "x.exe\tmore"});
        FAIL();
    } catch (const PadTextError& e) {
        EXPECT_NE(std::string(e.what()).find("program text holds a TAB"), std::string::npos);
    }
    EXPECT_THROW(FormatPadText({{42, "a\t\tb"}}), PadTextError);
    EXPECT_THROW(FormatPadText({{-1, "a\t\tb"}}), PadTextError);
    EXPECT_THROW(FormatPadText({{1, "a\t\tb\r"}}), PadTextError);
    EXPECT_THROW(FormatPadText({{1, "a\t\tb\tc"}}), PadTextError);
    EXPECT_EQ(FormatPadText({{1, "only"}}), "1\tonly\r");
}

TEST(PadText, DeletingAnIconKeepsTheWholeProgramText) {
    const std::string program =
        "C:\\A rather long folder name\\" + std::string(150, 'x') + ".exe /with /options";
    EXPECT_EQ(RecordFields(MakeIconRecord({"Long", "Ctrl+L", program})),
              (IconFields{"Long", "Ctrl+L", program}));
    EXPECT_EQ(RecordFields("Calc\t\tcalc.exe"), (IconFields{"Calc", "", "calc.exe"}));
    EXPECT_EQ(RecordFields("Calc\tAlt+C"), (IconFields{"Calc", "Alt+C", ""}));
    EXPECT_EQ(RecordFields("Calc"), (IconFields{"Calc", "", ""}));
}

TEST(PadText, NamesAndPaths) {
    EXPECT_EQ(ProposedPadName("New"), "New.tkp");
    EXPECT_EQ(ProposedPadName("C:\\x\\mail.tks"), "C:\\x\\mail.tkp");
    EXPECT_EQ(ProposedPadName("pad.tkp"), "pad.tkp");
    EXPECT_EQ(ProposedPadName(""), "");
    EXPECT_TRUE(IsTestablePadName("ab.tkp"));
    EXPECT_FALSE(IsTestablePadName("a.tkp"));
    EXPECT_FALSE(IsTestablePadName("mypad"));
    EXPECT_TRUE(IsScriptPath("C:\\s\\go.tks"));
    EXPECT_FALSE(IsScriptPath(".tks"));
    EXPECT_FALSE(IsScriptPath("notepad.exe"));
    // An icon without program text (or with blanks only) launches nothing;
    // the shell would open some folder for it.
    EXPECT_EQ(LaunchOf(""), Launch::Nothing);
    EXPECT_EQ(LaunchOf("  "), Launch::Nothing);
    EXPECT_EQ(LaunchOf("C:\\s\\go.tks"), Launch::Script);
    EXPECT_EQ(LaunchOf("notepad C:\\a.txt"), Launch::Shell);
    EXPECT_EQ(LaunchOf(".tks"), Launch::Shell);
    EXPECT_EQ(FileNamePart("C:\\Tools\\calc.exe"), "calc.exe");
    EXPECT_EQ(FileNamePart("D:calc.exe"), "calc.exe");
    EXPECT_EQ(SplitFields("a\t\tb", '\t'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitFields("a\tb\t", '\t'), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitFields("\ta", '\t'), (std::vector<std::string>{"", "a"}));
}
