#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/errors.h"
#include "engine/filestore.h"
#include "engine/text.h"

using namespace taskloom;
using Lines = std::vector<std::string>;

TEST(CommaText, JoinQuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(JoinCommaText({"a,b", "", "x y"}), "\"a,b\",,\"x y\"");
    EXPECT_EQ(JoinCommaText({"plain", "say \"hi\"", "tab\there", std::string("esc\x1b", 4)}),
              "plain,\"say \"\"hi\"\"\",\"tab\there\",\"esc\x1b\"");
    EXPECT_EQ(JoinCommaText({""}), "\"\"");
    EXPECT_EQ(JoinCommaText({}), "");
    EXPECT_EQ(JoinCommaText({"", ""}), ",");
    EXPECT_EQ(JoinCommaText({"{Enter}", "{.Label}"}), "{Enter},{.Label}");
}

TEST(CommaText, SplitSkipsBlanksAroundItemsAndDropsTrailingEmpties) {
    EXPECT_EQ(SplitCommaText("  a , b\t,\r\n c"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitCommaText("a,,b"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitCommaText("a,"), (Lines{"a"}));
    EXPECT_EQ(SplitCommaText("a,,"), (Lines{"a", ""}));
    EXPECT_EQ(SplitCommaText(""), Lines{});
    EXPECT_EQ(SplitCommaText("\"\""), (Lines{""}));
    EXPECT_EQ(SplitCommaText("a b"), (Lines{"a", "b"}));  // an unquoted blank ends an item
    EXPECT_EQ(SplitCommaText("\"unclosed, to the end"), (Lines{"unclosed, to the end"}));
    EXPECT_EQ(SplitCommaText("\"a\"\"\""), (Lines{"a\""}));
    EXPECT_EQ(SplitCommaText("x\""), (Lines{"x\""}));  // a quote inside an unquoted item
}

TEST(CommaText, ScriptsRoundTrip) {
    const std::vector<Lines> scripts = {
        {"a,b", "", "x y"},
        {"{:TO Report - Editor}", "{Enter 2}Dear sir", "{:ClipsAddText}", "{.Wait}"},
        {"say \"hi\", then go", "\"", "\"\"", ",", ",,,", " leading", "trailing "},
        {std::string("{:Menu \x1b&File\x1b&Open...}"), "\x1b", "\x01\x1f"},
        {"", "", "x"},
        {""},
        {std::string("nul\0inside", 10), "ok"},
        {"{{{Enter}}}", "\xe9\xff\x80"},
    };
    for (const Lines& s : scripts) EXPECT_EQ(SplitCommaText(JoinCommaText(s)), s) << JoinCommaText(s);
    // Empty lines at the end are not read back; the rest survives.
    EXPECT_EQ(SplitCommaText(JoinCommaText({"a", "", ""})), (Lines{"a", ""}));
    EXPECT_EQ(JoinCommaText({"a,b", "", "x y"}), "\"a,b\",,\"x y\"");
}

TEST(TripleBraces, EscapeAndReduce) {
    EXPECT_EQ(TripleBraces("a{b", '{', BraceMode::Escape), "a{{{b");
    EXPECT_EQ(TripleBraces("{}", '}', BraceMode::Escape), "{}}}");
    EXPECT_EQ(TripleBraces("a{{{{b", '{', BraceMode::Reduce), "a{{b");
    EXPECT_EQ(TripleBraces("{{{{{{", '{', BraceMode::Reduce), "{{");
    EXPECT_EQ(TripleBraces("{{", '{', BraceMode::Reduce), "{{");
    EXPECT_EQ(TripleBraces("x}}}y", '}', BraceMode::Reduce), "x}y");
    for (std::string s : {"", "{", "a{b}c", "{{{", "}}}}"})
        EXPECT_EQ(TripleBraces(TripleBraces(s, '{', BraceMode::Escape), '{', BraceMode::Reduce), s);
}

TEST(Numbers, CountsAndStrictConversion) {
    EXPECT_EQ(ReadCount("3"), 3);
    EXPECT_EQ(ReadCount("   12abc"), 12);
    EXPECT_EQ(ReadCount("-2"), -2);
    EXPECT_EQ(ReadCount("+7"), 7);
    EXPECT_EQ(ReadCount("$1F"), 31);
    EXPECT_EQ(ReadCount("x"), 0);
    EXPECT_EQ(ReadCount(""), 0);
    EXPECT_EQ(ReadCount("1099511627776"), 2147483647);
    EXPECT_EQ(ReadCount("$FFFFFFFFFFFF"), 2147483647);
    EXPECT_EQ(ReadCount("-99999999999"), -2147483647 - 1);

    EXPECT_EQ(ToInteger("100"), 100);
    EXPECT_EQ(ToInteger("  -5 "), -5);
    EXPECT_EQ(ToInteger("$10"), 16);
    EXPECT_EQ(ToInteger("12x"), std::nullopt);
    EXPECT_EQ(ToInteger(""), std::nullopt);
    EXPECT_EQ(ToInteger("-"), std::nullopt);
    EXPECT_EQ(ToInteger("99999999999"), std::nullopt);
}

class FileStoreTest : public ::testing::Test {
protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("taskloom-fs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string path(const char* name) { return (dir / name).string(); }
};

TEST_F(FileStoreTest, WritesAndReadsEightBitTextExactly) {
    std::string text;
    for (int c = 0; c < 256; ++c) text += static_cast<char>(c);
    text += "\r\n\n\r";
    WriteTextFile(path("all.bin"), text);
    EXPECT_EQ(ReadTextFile(path("all.bin")), text);

    const Lines script = {"{:TO Untitled - Notepad}", "say \"hi\", twice", "", "\x1b"};
    WriteScriptFile(path("s.tks"), script);
    EXPECT_EQ(ReadScriptFile(path("s.tks")), script);
    // Replacing an existing file leaves the new content and nothing beside it.
    WriteScriptFile(path("s.tks"), {"second"});
    EXPECT_EQ(ReadScriptFile(path("s.tks")), Lines{"second"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()),
              2);
}

TEST_F(FileStoreTest, FailuresNameTheFileAndKeepThePreviousContent) {
    try {
        ReadTextFile(path("missing.tks"));
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), path("missing.tks"));
        EXPECT_NE(std::string(e.what()).find("missing.tks"), std::string::npos);
        EXPECT_FALSE(e.reason().empty());
    }
    // A save into a folder that does not exist fails with the name.
    EXPECT_THROW(WriteTextFile(path("no/such/folder/x.tks"), "x"), FileError);
    // A save that cannot replace the target (a folder stands there) keeps it.
    std::filesystem::create_directories(path("taken.tks"));
    std::ofstream(path("taken.tks") + "/keep") << "kept";
    EXPECT_THROW(WriteTextFile(path("taken.tks"), "new"), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(path("taken.tks")));
    EXPECT_EQ(ReadTextFile(path("taken.tks") + "/keep"), "kept");
    // No temporary file is left behind by the failed saves.
    for (auto& e : std::filesystem::directory_iterator(dir)) EXPECT_EQ(e.path().filename(), "taken.tks");
}

TEST(TextLines, SplitsAnyLineEnd) {
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(FolderOf("C:\\Tools\\tool.exe"), "C:\\Tools\\");
    EXPECT_EQ(FolderOf("tool.exe"), "");
}
