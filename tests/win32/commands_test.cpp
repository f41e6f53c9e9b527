// Script commands end to end: the console runner captures from, clicks on,
// types into and starts real programs (tl_target, tl_echo), and writes and
// reads clips files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "win32/win32_desktop.h"
#include "tests/win32/script_fixture.h"

namespace taskloom {
namespace {

using namespace wintest;

constexpr char kLines[] = "--line \"first line\" --line \"second line\" --line \"third line\"";
constexpr char kThreeLines[] = "first line\r\nsecond line\r\nthird line";

TEST_F(ScriptTest, ClipsAddTextCapturesTheCurrentLineAndClipsPasteTypesItBack) {
    Target target(std::string(kLines) + " \"Clips Target 42\"", "Clips Target 42");
    ASSERT_TRUE(target.field());

    // The launcher pad's buffer: each capture on a line of its own.
    Finished f = Run({"{:TO Clips Target 42}", "{Ctrl}{Home}", "{Down}", "{:ClipsAddText}", "{Ctrl}{End}",
                      "{Enter}", "{:ClipsPaste 1}"},
                     "--print-clips");
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(f.out, "second line\n");
    const std::string once = std::string(kThreeLines) + "\r\nsecond line";
    EXPECT_EQ(target.fieldText(once), once);

    // The composer's buffer with a comma: the captures share one line. The
    // clipboard's old text must not stand in for a capture.
    f = Run({"{:TO Clips Target 42}", "{Ctrl}{Home}", "{:ClipsAddText}", "{Down}{Down}", "{:ClipsAddForm}",
             "{Ctrl}{End}", "{Enter}", "{:ClipsPaste 1}"},
            "--composer --delimiter=comma --print-clips");
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(f.out, "first line,third line\n");
    EXPECT_EQ(target.fieldText(once + "\r\nfirst line,third line"), once + "\r\nfirst line,third line");
}

TEST_F(ScriptTest, ClipsAddControlsTakesAFieldOfTheTargetsControlList) {
    Target form("--form \"Order Form 42\"", "Order Form 42");
    ASSERT_TRUE(form.window());

    // The form's control list: "Name:", "City:", "Send", "Order A-1234-XY",
    // "ready" (the empty edits are left out). Line 4, column 9, 4
    // characters; a length past the end of the line takes the rest; a line
    // past the end of the list adds an empty item.
    const Finished f = Run({"{:TO Order Form 42}", "{:ClipsAddControls 4 9 4}", "{:ClipsAddControls 3 1 99}",
                            "{:ClipsAddControls 9 1 5}"},
                           "--composer --delimiter=; --print-clips");
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(f.out, "1234;Send;\n");
}

TEST_F(ScriptTest, MouseClickClicksARealButtonAndAMissingControlIsPassedOver) {
    Target target("--count \"Counter 42\"", "Counter 42");
    HWND clicks = target.control("clicks: 0");
    ASSERT_TRUE(target.field() && target.control("Count") && clicks);

    const Finished f =
        Run({"{:TO Counter 42}", "{.Again}", "{:MouseClick Count}", "{:LoopTimes Again 3}",
             "{:MouseRightClick Count}", "{:MouseClick No Such Control}", "{:Pause1/10 2}", "done"});
    EXPECT_EQ(f.status, 0u) << f.err;
    // Three clicks and no more: the right button does not count.
    EXPECT_EQ(ReadUntilStable(clicks, "clicks: 3"), "clicks: 3");
    EXPECT_EQ(target.fieldText("done"), "done");
}

TEST_F(ScriptTest, MenuCommandInvokesARealMenuItem) {
    Target target("--menu \"Menu Target 42\"", "Menu Target 42");
    ASSERT_TRUE(target.field());

    const Finished f =
        Run({"{:TO Menu Target 42}", "ab", "{:Menu " + kEscText + "&File" + kEscText + "&Stamp}", "c"});
    EXPECT_EQ(f.status, 0u) << f.err;
    // Alt, F, S opened File and chose Stamp; Alt was let go before the c.
    EXPECT_EQ(target.fieldText("ab<stamp>c"), "ab<stamp>c");
}

// tl_echo's report of how it was started: its folder and its arguments.
struct Echo {
    std::string cwd;
    std::vector<std::string> args;
};

Echo ReadEcho(const std::string& file) {
    Echo e;
    std::string text;
    if (!WaitUntil([&] { return !(text = ReadWholeFile(file)).empty(); }, 10000)) return e;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        if (line.rfind("cwd: ", 0) == 0) e.cwd = line.substr(5);
        if (line.rfind("arg: ", 0) == 0) e.args.push_back(line.substr(5));
    }
    return e;
}

std::string WithoutSlash(std::string folder) {
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

TEST_F(ScriptTest, RunStartsAProgramWithItsArgumentsInItsOwnFolder) {
    const std::string report = folder_ / "echo.txt";
    SetEnvironmentVariableA("TL_ECHO_OUT", report.c_str());
    const std::string echo = ExeDir() + "tl_echo.exe";

    // The pad's starter. The runner works in the test's folder; the program
    // starts in its own.
    Finished f = Run({"{:Run " + echo + " one two}"});
    EXPECT_EQ(f.status, 0u) << f.err;
    Echo e = ReadEcho(report);
    EXPECT_EQ(e.args, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(WithoutSlash(e.cwd), WithoutSlash(ExeDir()));

    // The composer's starter, with the clipboard's first line for "%%".
    Win32Desktop desktop;  // owns the clipboard's text while the run reads it
    desktop.setClipboardText("c:\\data\\a.txt\r\nsecond line");
    DeleteFileA(report.c_str());
    f = Run({"{:Run " + echo + " %% -q}"}, "--composer");
    EXPECT_EQ(f.status, 0u) << f.err;
    e = ReadEcho(report);
    EXPECT_EQ(e.args, (std::vector<std::string>{"c:\\data\\a.txt", "-q"}));
    EXPECT_EQ(WithoutSlash(e.cwd), WithoutSlash(ExeDir()));
    SetEnvironmentVariableA("TL_ECHO_OUT", nullptr);
}

TEST_F(ScriptTest, FileFieldAndClipboardCommandsOnRealWindows) {
    Target target(std::string(kLines) + " \"Clips Target 43\"", "Clips Target 43");
    ASSERT_TRUE(target.field());
    {
        std::FILE* f = std::fopen((folder_ / "data.txt").c_str(), "wb");
        ASSERT_TRUE(f);
        std::fputs("first row\r\nsecond row of data\r\n", f);
        std::fclose(f);
    }
    Win32Desktop desktop;  // owns the clipboard's text while the run reads it
    desktop.setClipboardText("alpha\r\nbeta");

    // A field of a loaded text file; the pad's clipboard capture keeps every
    // line; ":ClipsCopy" puts a clips line on the real clipboard.
    // (The file capture copies the field's current line first, so the
    // clipboard is captured before it.)
    Finished f = Run({"{:Load data.txt}", "{:TO Clips Target 43}", "{:ClipsAddClipboard}",
                      "{:ClipsAddFile 2 8 3}", "{:ClipsCopy 3}"},
                     "--print-clips");
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(f.out, "alpha\nbeta\nrow\n");
    EXPECT_EQ(desktop.clipboardText(), "row");

    // The composer's clipboard capture keeps the first line only.
    desktop.setClipboardText("alpha\r\nbeta");
    f = Run({"{:ClipsAddClipboard}"}, "--composer --print-clips");
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(f.out, "alpha\n");
    // The field itself was not changed by the captures.
    EXPECT_EQ(target.fieldText(kThreeLines), kThreeLines);
}

TEST_F(ScriptTest, ClipsAreSavedReloadedAndLoopedOver) {
    Target target(
        "--line \"red apple\" --line \"green, pear\" --line \"blue \\\"plum\\\"\" \"Clips File 42\"",
        "Clips File 42");
    ASSERT_TRUE(target.field());
    const std::string start = "red apple\r\ngreen, pear\r\nblue \"plum\"";
    ASSERT_EQ(target.fieldText(start), start);

    // Two saves under one name: two lines of comma text in the file. The
    // load reads the file again from its first line; each ":LoopEOF" reads
    // the next, and the end of the file ends the run.
    const Finished f = Run({"{:TO Clips File 42}", "{Ctrl}{Home}", "{:ClipsAddText}", "{Down}",
                            "{:ClipsAddText}", "{:ClipsSave saved.txt}", "{:ClipsClear}", "{Down}",
                            "{:ClipsAddText}", "{:ClipsSave saved.txt}", "{:ClipsLoad saved.txt}", "{.Each}",
                            "{Ctrl}{End}{Enter}", "{:ClipsPaste 2}", "{:LoopEOF Each}", "not reached"},
                           "--print-clips");
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(ReadWholeFile(folder_ / "saved.txt"),
              "\"red apple\",\"green, pear\"\r\n\"blue \"\"plum\"\"\"\r\n");
    // Line 2 of the first saved buffer, then the only line of the second.
    EXPECT_EQ(target.fieldText(start + "\r\ngreen, pear\r\nblue \"plum\""),
              start + "\r\ngreen, pear\r\nblue \"plum\"");
    EXPECT_EQ(f.out, "");  // the end of the file left the buffer empty
}

}  // namespace
}  // namespace taskloom
