#include "pad/model/settings_file.h"

#include <gtest/gtest.h>

#include "pad/model/pad_settings.h"

using namespace taskloom;

TEST(SettingsFile, KeepsTheRegistryStringsWhateverCharactersTheyHold) {
    // Every delimiter the settings string can begin with, a pad name with
    // blanks, and text that looks like an escape.
    for (const char delimiter : {'\r', '\t', '\x1b', ' ', ','}) {
        PadSettings s;
        s.delimiter = delimiter;
        s.left = -1200;
        const StoredSettings values{"pads\\my work\\a=b \\x.tkp ", FormatSettings(s)};
        const std::string text = FormatSettingsFile(values);
        EXPECT_EQ(text.find('\t'), std::string::npos);
        EXPECT_EQ(text.find('\x1b'), std::string::npos);
        const SettingsFileRead back = ParseSettingsFile(text);
        ASSERT_FALSE(back.malformed) << back.problem;
        EXPECT_EQ(back.values, values);
        EXPECT_EQ(ParseSettings(back.values.settings).settings, s);
    }
    EXPECT_EQ(FormatSettingsFile({"a.tkp", "\r,428,47,5,1,1,0,1"}),
              "[Tessdeck]\r\nPad=a.tkp\r\nSettings=\\r,428,47,5,1,1,0,1\r\n");

    // Written by hand: LF line ends, remarks, blank lines, the order changed,
    // one value left out, \xHH escapes.
    const SettingsFileRead hand = ParseSettingsFile("; my pad\n\n[Tessdeck]\nSettings=\\x2C,1,2,3,1,1,1,2\n");
    ASSERT_FALSE(hand.malformed) << hand.problem;
    EXPECT_EQ(hand.values, (StoredSettings{"", ",,1,2,3,1,1,1,2"}));
    // A new, empty file: nothing kept yet, the defaults.
    EXPECT_FALSE(ParseSettingsFile("").malformed);
    EXPECT_EQ(ParseSettingsFile("").values, StoredSettings{});
}

TEST(SettingsFile, AMalformedFileIsRefusedWholeAndSaysWhere) {
    for (const char* text : {"[Tessdeck]\r\nPad\r\n", "Pad=a\r\nPad=b\r\n", "Colour=red\r\n",
                             "Settings=\\q\r\n", "Settings=\\x4\r\n", "Pad=ab\\", "[Other]\r\n"}) {
        const SettingsFileRead r = ParseSettingsFile(text);
        EXPECT_TRUE(r.malformed) << text;
        EXPECT_EQ(r.values, StoredSettings{}) << text;
        EXPECT_NE(r.problem.find("line "), std::string::npos) << text;
    }
    EXPECT_EQ(ParseSettingsFile("[Tessdeck]\r\nPad=a\r\nPad=b\r\n").problem,
              "line 3: \"Pad\" is given twice");
    EXPECT_TRUE(ParseSettingsFile(std::string("Pad=a\0b\r\n", 10)).malformed);
}

TEST(SettingsFile, APadInsideTheProgramsFolderMovesWithIt) {
    const std::string dir = "E:\\Stick\\Taskloom\\";
    EXPECT_EQ(StoredPadName("E:\\Stick\\Taskloom\\pads\\work.tkp", dir), "pads\\work.tkp");
    EXPECT_EQ(StoredPadName("e:\\stick\\TASKLOOM\\work.tkp", dir), "work.tkp");  // Windows names: any case
    EXPECT_EQ(StoredPadName("E:\\Stick\\TaskloomOld\\work.tkp", dir), "E:\\Stick\\TaskloomOld\\work.tkp");
    EXPECT_EQ(StoredPadName("D:\\work.tkp", dir), "D:\\work.tkp");
    EXPECT_EQ(StoredPadName("", dir), "");
    // Read back in the folder's new place.
    EXPECT_EQ(ResolvedPadName("pads\\work.tkp", "F:\\Taskloom\\"), "F:\\Taskloom\\pads\\work.tkp");
    EXPECT_EQ(ResolvedPadName("D:\\work.tkp", "F:\\Taskloom\\"), "D:\\work.tkp");
    EXPECT_EQ(ResolvedPadName("\\\\server\\share\\a.tkp", "F:\\T\\"), "\\\\server\\share\\a.tkp");
    EXPECT_EQ(ResolvedPadName("", "F:\\T\\"), "");
}
