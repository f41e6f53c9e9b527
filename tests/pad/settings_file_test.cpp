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

TEST(SettingsFile, StartUpTakesWhatASoundFileHoldsAndAMalformedOneNothing) {
    const std::string dir = "E:\\Stick\\Taskloom\\";
    // The empty file the portable package ships: the defaults, no complaint.
    EXPECT_EQ(ReadStartSettings("", dir).padFile, "");
    EXPECT_EQ(ReadStartSettings("", dir).settings, "");
    EXPECT_EQ(ReadStartSettings("", dir).problem, "");
    // What the exit keeps is what the next start takes, the pad found in the
    // folder wherever it now stands.
    PadSettings s;
    s.left = 10;
    s.clipsSize = ClipsSize::K50;
    const std::string kept = FormatSettingsFile(SettingsToKeep("E:\\Stick\\Taskloom\\pads\\a.tkp", s, dir));
    EXPECT_NE(kept.find("Pad=pads\\\\a.tkp\r\n"), std::string::npos) << kept;
    const SettingsFromFile moved = ReadStartSettings(kept, "F:\\Moved\\");
    EXPECT_EQ(moved.padFile, "F:\\Moved\\pads\\a.tkp");
    EXPECT_EQ(ParseSettings(moved.settings).settings, s);
    EXPECT_EQ(moved.problem, "");
    // A pad elsewhere keeps its full name.
    EXPECT_EQ(ReadStartSettings(FormatSettingsFile(SettingsToKeep("D:\\b.tkp", s, dir)), "F:\\").padFile,
              "D:\\b.tkp");
    // Malformed: nothing taken, the reason given.
    const SettingsFromFile bad = ReadStartSettings("Pad=a.tkp\r\nColour=red\r\n", dir);
    EXPECT_EQ(bad.padFile, "");
    EXPECT_EQ(bad.problem, "line 2: no setting is called \"Colour\"");
}

TEST(SettingsFile, AnImportIsRefusedWholeUnlessItHoldsReadableSettings) {
    const std::string dir = "C:\\T\\";
    const SettingsFromFile good =
        ReadImportedSettings("[Tessdeck]\r\nPad=a.tkp\r\nSettings=\\t,5,6,2,0,0,1,3\r\n", dir);
    EXPECT_EQ(good.problem, "");
    EXPECT_EQ(good.padFile, "C:\\T\\a.tkp");
    EXPECT_EQ(good.settings, "\t,5,6,2,0,0,1,3");
    // No pad file named: the settings alone.
    EXPECT_EQ(ReadImportedSettings("Settings=\\r,1,2,0,1,1,0,1\r\n", dir).problem, "");

    struct Case {
        const char* text;
        const char* problem;  // a part of the reason given
    };
    for (const Case& c : {Case{"", "no \"Settings\""}, Case{"[Tessdeck]\r\nPad=a.tkp\r\n", "no \"Settings\""},
                          Case{"Settings=\\r,ten,2,0,1,1,0,1\r\n", "\"Settings\" value does not read"},
                          Case{"Settings=x,1,2,0,1,1,0,1\r\n", "\"Settings\" value does not read"},
                          Case{"Pad=a\r\nPad=b\r\nSettings=\\r,1,2,0,1,1,0,1\r\n", "line 2"},
                          Case{"\x89PNG\r\n\x1a\n", "line 1"}}) {
        const SettingsFromFile r = ReadImportedSettings(c.text, dir);
        EXPECT_NE(r.problem.find(c.problem), std::string::npos) << c.text << " -> " << r.problem;
        EXPECT_EQ(r.padFile, "") << c.text;
        EXPECT_EQ(r.settings, "") << c.text;
    }
}
