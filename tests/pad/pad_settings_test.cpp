#include <gtest/gtest.h>

#include "pad/model/pad_settings.h"

using namespace taskloom;

TEST(PadSettingsText, TheExamplesBothWays) {
    const PadSettings first{'\r', 428, 47, 5, true, true, false, ClipsSize::K4};
    EXPECT_EQ(FormatSettings(first), "\r,428,47,5,1,1,0,1");
    EXPECT_EQ(ParseSettings("\r,428,47,5,1,1,0,1").settings, first);

    const SettingsRead second = ParseSettings("\r,10,20,3,0,1,1,2");
    EXPECT_FALSE(second.malformed);
    EXPECT_EQ(second.settings, (PadSettings{'\r', 10, 20, 3, false, true, true, ClipsSize::K20}));
    EXPECT_EQ(ClipsSizeLimit(second.settings.clipsSize), 20480u);

    for (char d : {'\t', '\r', '\x1b', ' ', ','}) {
        const PadSettings s{d, -1200, -5, -1, false, false, true, ClipsSize::K50};
        EXPECT_EQ(ParseSettings(FormatSettings(s)).settings, s) << int(d);
        EXPECT_FALSE(DelimiterItemCaption(d).empty());
    }
    EXPECT_EQ(ParseSettings("").settings, PadSettings{});
    EXPECT_FALSE(ParseSettings("").malformed);
}

TEST(PadSettingsText, LenientFieldsAsTheyAlwaysRead) {
    // Any flag other than "1" is unchecked; a size other than 1..3 keeps 4K.
    const SettingsRead r = ParseSettings(",,1,2,0,yes,1,x,9");
    EXPECT_FALSE(r.malformed);
    EXPECT_EQ(r.settings, (PadSettings{',', 1, 2, 0, false, true, false, ClipsSize::K4}));
}

TEST(PadSettingsText, MalformedValuesGiveTheDefaultsAndSaySo) {
    for (const char* bad : {"\r,abc,47,5,1,1,0,1", "\r;428,47,5,1,1,0,1", "x,428,47,5,1,1,0,1", "\r,428,47",
                            "\r,428,47,42,1,1,0,1", "\r,428,47,-2,1,1,0,1", "\r, 428,47,5,1,1,0,1",
                            "\r,99999999999,47,5,1,1,0,1", "\r"}) {
        const SettingsRead r = ParseSettings(bad);
        EXPECT_TRUE(r.malformed) << bad;
        EXPECT_EQ(r.settings, PadSettings{}) << bad;
        EXPECT_NE(r.problem.find("defaults"), std::string::npos);
    }
}

TEST(PadSettingsText, RegistryTexts) {
    EXPECT_EQ(UninstallString("C:\\Apps\\Tessdeck.exe"), "C:\\Apps\\Tessdeck.exe /uninstall");
    EXPECT_EQ(ScriptOpenCommand("C:\\Apps\\Tessdeck.exe"), "c:\\apps\\tessdeck.exe \"%1\"");
    EXPECT_EQ(AutoStartValue("C:\\Apps\\Tessdeck.exe"), "c:\\apps\\tessdeck.exe");
    // A path with a blank (Program Files) is quoted, or the system would try
    // "c:\program" first.
    const char* spaced = "C:\\Program Files\\Taskloom\\Tessdeck.exe";
    EXPECT_EQ(UninstallString(spaced), "\"C:\\Program Files\\Taskloom\\Tessdeck.exe\" /uninstall");
    EXPECT_EQ(ScriptOpenCommand(spaced), "\"c:\\program files\\taskloom\\tessdeck.exe\" \"%1\"");
    EXPECT_EQ(AutoStartValue(spaced), "\"c:\\program files\\taskloom\\tessdeck.exe\"");
    EXPECT_TRUE(IsUninstallArgument("/Uninstall"));
    EXPECT_TRUE(IsUninstallArgument("/UNINSTALL"));
    EXPECT_FALSE(IsUninstallArgument("/uninstall "));
    EXPECT_FALSE(IsUninstallArgument("uninstall"));
}
