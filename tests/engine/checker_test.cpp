#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/runner.h"
#include "engine/checker.h"
#include "engine/engine.h"
#include "engine/filestore.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/sim_desktop.h"
#include "tests/sim/temp_dir.h"

using namespace taskloom;
using taskloom::sim::TempDir;
using Lines = std::vector<std::string>;

namespace {

std::string Dump(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings) text += FormatFinding("s", f) + "\n";
    return text;
}

void ExpectClean(const Lines& lines, const std::string& folder = "") {
    EXPECT_EQ(Dump(CheckScript(lines, folder)), "") << "script starting " << lines.front();
}

// The script yields exactly one finding: on `line`, of `severity`, holding
// every part.
void ExpectOne(const Lines& lines, std::size_t line, Severity severity, std::vector<std::string> parts,
               const std::string& folder = "") {
    const std::vector<Finding> found = CheckScript(lines, folder);
    ASSERT_EQ(found.size(), 1u) << Dump(found);
    EXPECT_EQ(found[0].line, line) << Dump(found);
    EXPECT_EQ(found[0].severity, severity) << Dump(found);
    for (const std::string& part : parts)
        EXPECT_NE(found[0].message.find(part), std::string::npos) << "wanted: " << part << "\n"
                                                                  << Dump(found);
}

}  // namespace

TEST(Checker, ErrorsAreWhatWouldEndTheRun) {
    ExpectOne({"{:Goto Agian}", "{.Again}"}, 1, Severity::Error,
              {"\"Agian\"", "Undefined Label: {.Agian}", "did you mean \"Again\" (line 2)?"});
    ExpectClean({"{:Goto again}", "{.Again}"});  // labels are found without case
    ExpectOne({"{.Top}", "{:LoopWindowActive Wait Report}"}, 2, Severity::Error,
              {"Undefined Label: {.Wait}"});
    ExpectClean({"{.Wait}", "{:LoopWindowActive Wait Report}"});
    ExpectOne({"{:Goto}"}, 1, Severity::Error, {"names no label", "{.:Goto}"});

    ExpectOne({"{:PopUp 10 abc Title}", "hi"}, 1, Severity::Error, {"y \"abc\" is not a whole number"});
    ExpectOne({"{:PopUp 1x 20 Title}", "hi"}, 1, Severity::Error, {"x \"1x\" is not a whole number"});
    ExpectOne({"{:PopUp 10 20}", "hi"}, 1, Severity::Error, {"no blank after y", "{:PopUp x y title}"});
    ExpectClean({"{:PopUp 10 20 Title}", "hi"});

    ExpectOne({"{.Again}", "a", "{.AGAIN}", "{:Goto Again}"}, 3, Severity::Error,
              {"\"{.AGAIN}\" is defined again (first on line 1", "none can reach this line"});
    ExpectClean({"{.Again}", "a", "{.Again2}", "{:Goto Again}"});

    // At most 1048576 keys a line, counted as the line would type them.
    ExpectOne({"{x 2000000000}"}, 1, Severity::Error, {"more than 1048576 keys", "abandoned"});
    ExpectOne({"{x 1048576}y"}, 1, Severity::Error, {"more than 1048576 keys"});
    ExpectOne({"{ab 524289}"}, 1, Severity::Error, {"more than 1048576 keys"});
    ExpectClean({"{x 1048576}", "{ab 524288}{:ClipsClear}", "{Enter 1048576}"});
}

TEST(Checker, NoteFilesAreLookedForAsNamedAndInTheScriptFolder) {
    TempDir dir;
    std::ofstream(dir.file("shown.txt")) << "text\n";
    const Lines absent = {"{:PopUp 1 2 T}", "@" + dir.file("absent.txt"), "{:/}"};
    ExpectOne(absent, 2, Severity::Error, {"absent.txt\" does not exist", "the note of line 1"});
    ExpectClean({"{:PopUp 1 2 T}", "@" + dir.file("shown.txt"), "{:/}"});
    // A relative name: found in the script's folder, or not checkable here.
    ExpectClean({"{:PopUp 1 2 T}", "@shown.txt", "{:/}"}, dir.folder());
    ExpectOne({"{:PopUp 1 2 T}", "@shown.txt", "{:/}"}, 2, Severity::Warning, {"cannot be checked"},
              dir.folder() + "elsewhere/");
    ExpectOne({"{:PopUp 1 2 T}", "@", "{:/}"}, 2, Severity::Error, {"names no note file"});
    // An "@" line outside a note is typed, not opened.
    ExpectClean({"@" + dir.file("absent.txt")});
}

TEST(Checker, KeyTokensThatDoNotTypeWhatTheySay) {
    struct Case {
        std::string line, part, twin;
    };
    const Case cases[] = {
        {"{Entr}", "is not a key name: it types the text \"Entr\"; did you mean \"{Enter}\"?", "{Enter}"},
        {"{PgDown 2}", "did you mean \"{PgDn 2}\"?", "{PgDn 2}"},
        {"{ESCAPE}", "did you mean \"{Esc}\"?", "{esc}"},
        {"{Tab 0}x", "\"{Tab 0}\" types nothing: its repeat count \"0\" is below 1", "{Tab 1}x"},
        {"{Tab x}y", "repeat count \"x\" is not a number", "{Tab 2}y"},
        {"{}a", "empty token", "a"},
        {"{Enter", "has no closing \"}\"", "{Enter}"},
        {"abc{Enter}", "follows the text \"abc\" and is typed as the characters \"{Enter}\"", "{Enter}abc"},
        {"abc{:ClipsClear}", "follows the text \"abc\" and is typed as text, not run", "{:ClipsClear}"},
        {"{:ClipsClear} now", "ignored: \" now\"", "{:ClipsClear} "},
        {"{Enter}{{{x}}}", "escaped brace", "{{{x}}}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ExpectOne({c.line}, 1, Severity::Warning, {c.part});
        ExpectClean({c.twin});
    }
    // Meant as they are: one-letter repeats, words far from any key name,
    // braces typed as text, escaped braces, literal lines.
    ExpectClean({"{x 3}", "{F 2}", "{ab 2}", "{abc}", "{hello}world", "see {braces} here", "a{{{Enter}}}",
                 "{{{Enter}}}"});
}

TEST(Checker, CommandsThatDoNothingOrOtherThanMeant) {
    struct Case {
        Lines script;
        std::size_t line;
        std::string part;
        Lines twin;
    };
    const Case cases[] = {
        {{"{:Goot L}"},
         1,
         "no command has the keyword \":Goot\": the line does nothing; did you mean \":Goto\"?",
         {"{:Goto L}", "{.L}"}},
        {{"{:pauseseconds 2}"}, 1, "did you mean \":PauseSeconds\"?", {"{:PauseSeconds 2}"}},
        {{"{:ClipsClear all}"}, 1, "must stand alone", {"{:ClipsClear}"}},
        {{"{:Run }"}, 1, "names no program: the line does nothing", {"{:Run notepad.exe}"}},
        {{"{:Run}"}, 1, "starts a program named \":Run\"", {"{:Run notepad.exe a.txt}"}},
        {{"{:TO}"}, 1, "names no window", {"{:TO Report}"}},
        {{"{:ClipsAddTxt}"}, 1, "adds nothing to the clips", {"{:ClipsAddText}"}},
        {{"{:ClipsAddText 2}"}, 1, "\":ClipsAddText\" takes nothing after it", {"{:ClipsAddFile 2 1 5}"}},
        {{"{:MouseDoubleClick OK}"},
         1,
         "right click; did you mean \":MouseDblClick\"?",
         {"{:MouseDblClick OK}"}},
        {{"{:PauseMs 500}"}, 1, "waits whole seconds", {"{:Pause1/10 5}"}},
        {{"{:ClipsDelimiterComma}"}, 1, "sets the clips delimiter to \":\"", {"{:ClipsDelimiterOther ,}"}},
        {{"{:Menu File}"}, 1, "only presses Alt", {"{:Menu \x1b&File}"}},
        {{"{:LabelGoto L}", "{.L}"}, 1, "a jump is written \"{:Goto L}\"", {"{:Goto L}", "{.L}"}},
        {{"{.L}", "{:LoopWindowActiv L Report}"},
         2,
         "never jumps; did you mean \":LoopWindowActive\"?",
         {"{.L}", "{:LoopWindowActive L Report}"}},
        {{"{.L}", "{:LoopClipboardEq L x}"},
         2,
         "always jumps; did you mean \":LoopClipboardEQ\"?",
         {"{.L}", "{:LoopClipboardEQ L x}"}},
        {{"{.L}", "{:LoopUntil L}"}, 2, "no loop has the keyword \":LoopUntil\"", {"{.L}", "{:LoopEOF L}"}},
        {{"{.L}", "{:LoopTimes L}"},
         2,
         "has no count: the loop does not repeat",
         {"{.L}", "{:LoopTimes L 1}"}},
        {{"{:LoopTimes L 3}", "x", "{.L}"},
         1,
         "stands after it (line 3): the loop jumps forward once",
         {"{.L}", "x", "{:LoopTimes L 3}"}},
        {{"{:PopUp 10 500 T}", "hi"},
         1,
         "y 500 is 400 or more: the note is shown at y 350",
         {"{:PopUp 10 399 T}", "hi"}},
        {{"{:PopUp 10 20 T}", "{:/}"},
         1,
         "the note \"T\" has no lines and is not shown",
         {"{:PopUp 10 20 T}", "", "{:/}"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script.back());
        ExpectOne(c.script, c.line, Severity::Warning, {c.part});
        ExpectClean(c.twin);
    }

    // Every form the composer writes is clean.
    ExpectClean({"{.L}",
                 "{:/ Remark}",
                 "text",
                 "{:/}",
                 "{:PopUp 10 20 Title}",
                 "line",
                 "{:/}",
                 "{:TO Report}",
                 "{:To Rep}",
                 "{:Menu \x1b&File\x1b&Open...}",
                 "{:Run notepad.exe a.txt}",
                 "{:Load a.txt}",
                 "{:PauseSeconds 2}",
                 "{:Pause1/10 3}",
                 "{:Pause1/10}",
                 "{:MouseClick OK}",
                 "{:MouseDblClick OK}",
                 "{:MouseRightClick OK}",
                 "{:Goto L}",
                 "{:ClipsClear}",
                 "{:ClipsLoad c.txt}",
                 "{:ClipsSave c.txt}",
                 "{:ClipsCopy 1}",
                 "{:ClipsPaste 2}",
                 "{:ClipsDelimiterLine}",
                 "{:ClipsDelimiterTab}",
                 "{:ClipsDelimiterNone}",
                 "{:ClipsDelimiterOther ;}",
                 "{:ClipsAddText}",
                 "{:ClipsAddForm}",
                 "{:ClipsAddClipboard}",
                 "{:ClipsAddControls 1 2 3}",
                 "{:ClipsAddFile 1 2 3}",
                 "{:ClipsAddDOS 1 2 3}",
                 "{:LoopTimes L 3}",
                 "{:LoopEOF L}",
                 "{:LoopWindowActive L T}",
                 "{:LoopWindowInactive L T}",
                 "{:LoopFileExists L f}",
                 "{:LoopFileNotFound L f}",
                 "{:LoopMenuEnabled L \x1b&File}",
                 "{:LoopMenuDisabled L \x1b&File}",
                 "{:LoopControlEnabled L OK}",
                 "{:LoopControlDisabled L OK}",
                 "{:LoopControlEQ L}",
                 "{:LoopControlNE L}",
                 "{:LoopClipboardContains L x}",
                 "{:LoopClipboardContainsNOT L x}",
                 "{:LoopClipboardEQ L x}",
                 "{:LoopClipboardGE L x}",
                 "{:LoopClipboardGT L x}",
                 "{:LoopClipboardLE L x}",
                 "{:LoopClipboardLT L x}",
                 "{Ctrl}{Shift}{Tab}{F12}{pgup 2}"});
}

TEST(Checker, BlocksAndLabelLines) {
    // Plain lines after a closing "{:/}" are skipped up to the next "{:" line.
    ExpectOne({"{:/ Remark}", "text", "{:/}", "hello", "{:TO Report}"}, 4, Severity::Warning,
              {"\"hello\" is skipped: \"{:/}\" on line 3"});
    ExpectClean({"{:/ Remark}", "text", "{:/}", "{:TO Report}", "hello"});
    ExpectOne({"{Enter}", "{:/}", "{Tab}"}, 3, Severity::Warning,
              {"never runs", "skips to the end of the script"});
    // Remark and note text: only lines that look like script lines are named.
    ExpectOne({"{:/ Remark}", "{Enter}", "{:TO R}"}, 2, Severity::Warning,
              {"skipped as text of the remark block of line 1"});
    ExpectOne({"x", "{:/ Remark}", "plain words", "{Tab}"}, 4, Severity::Warning,
              {"never runs: it is text of the remark block of line 2"});
    // A label in remark text: harmless, unless a jump to it runs the text after it.
    ExpectClean({"{:/ Remark}", "words", "{.Again}", "{:Goto Again}"});
    ExpectOne({"{:/ Remark}", "{.Again}", "words", "{:Goto Again}"}, 2, Severity::Warning,
              {"a jump to \"{.Again}\" runs the text of the remark block of line 1 after it as script lines, "
               "starting with \"words\" (line 3)"});
    ExpectOne({"{:PopUp 1 2 T}", "{Tab}", "{:/}"}, 2, Severity::Warning,
              {"shown as a line of the note of line 1"});

    // Label lines a jump cannot find.
    const std::vector<Finding> blanks = CheckScript({" {.L}", "{:Goto L}"}, "");
    ASSERT_EQ(blanks.size(), 2u) << Dump(blanks);
    EXPECT_NE(blanks[0].message.find("blanks stand before it"), std::string::npos);
    EXPECT_EQ(blanks[1].severity, Severity::Error);
    EXPECT_NE(blanks[1].message.find("line 1 holds \"{.L}\" with more on its line"), std::string::npos);
    ExpectOne({"{.L} x", "{.L}"}, 1, Severity::Warning, {"its line holds more than the label"});
    ExpectClean({"{.L}", "{:Goto L}"});
}

TEST(Checker, LineNumbersCountEveryLineFromOne) {
    const Lines script = {"", "{:/ About}", "remark text", "",  "{:/}",           "{:TO Report}",
                          "", "{Entr}",     "{:/ more}",   "x", "{:Goto Nowhere}"};
    const std::vector<Finding> found = CheckScript(script, "");
    ASSERT_EQ(found.size(), 2u) << Dump(found);
    EXPECT_EQ(FormatFinding("a.tks", found[0]).substr(0, 21), "a.tks:8: warning: \"{E");
    EXPECT_EQ(FormatFinding("a.tks", found[1]).substr(0, 22), "a.tks:11: error: no li");
}

// "Does nothing" in a finding means the interpreter does nothing: each line
// is checked and run, and the two must agree.
TEST(Checker, DoesNothingExactlyWhenTheInterpreterDoesNothing) {
    struct Outcomes : RunObserver {
        std::string all;
        void outcome(const std::string& what) override { all += what + "\n"; }
    };
    const Lines commands = {
        "{:Goot L}",      "{:goto L}",       "{:Goto L}",
        "{:GotoX L}",     "{:Pause1/10}",    "{:pause1/10}",
        "{:ClipsClear}",  "{:ClipsClear x}", "{:ClipsCopy 1}",
        "{:ClipsCopy2}",  "{:ClipsPasteX}",  "{:ClipsPaste 1}",
        "{:Run }",        "{:Run notepad}",  "{:Runx}",
        "{:Loop L}",      "{:LoopUntil L}",  "{:LoopTimes L 2}",
        "{:LabelGoto L}", "{:Mouse OK}",     "{:Clips}",
        "{:/}",           "{:MENU x}",       "{:ClipsDelimitX}",
        "{:LoopEOF L}",
    };
    for (const std::string& line : commands) {
        SCOPED_TRACE(line);
        const Lines script = {line, "{.L}"};
        bool checkerSaysNothing = false;
        for (const Finding& f : CheckScript(script, ""))
            checkerSaysNothing = checkerSaysNothing || f.message.find("does nothing") != std::string::npos;
        sim::SimDesktop d;
        d.setForegroundDirect(d.addWindow("Editor"));
        sim::MemoryHost host(Flavor::Pad, script);
        Engine engine(d, host);
        Outcomes seen;
        engine.setObserver(&seen);
        engine.RunScript();
        EXPECT_EQ(checkerSaysNothing, seen.all.find("nothing done") != std::string::npos) << seen.all;
    }
}

TEST(Checker, ExamplesCheckClean) {
    const std::filesystem::path examples = std::filesystem::path(TASKLOOM_SOURCE_DIR) / "examples";
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(examples)) {
        if (entry.path().extension() != ".tks") continue;
        SCOPED_TRACE(entry.path().string());
        const Lines lines = ReadScriptFile(entry.path().string());
        EXPECT_FALSE(lines.empty());
        EXPECT_EQ(Dump(CheckScript(lines, FolderOf(entry.path().string()))), "");
        ++checked;
    }
    EXPECT_GE(checked, 1);
}

TEST(CheckCommand, ReportsEachFindingASummaryAndTheExitStatus) {
    TempDir dir;
    const std::string clean = dir.file("clean.tks"), warn = dir.file("warn.tks"), bad = dir.file("bad.tks");
    WriteScriptFile(clean, {"{:TO Report}", "hello"});
    WriteScriptFile(warn, {"", "{Entr}", ""});
    WriteScriptFile(bad, {"{:/ about}", "text", "{:Goto Nowhere}"});
    sim::SimDesktop d;
    auto check = [&](Lines args, std::string& out, std::string& err) {
        std::ostringstream o, e;
        cli::Platform p;
        p.desktop = &d;
        p.out = &o;
        p.err = &e;
        args.insert(args.begin(), "check");
        const int status = cli::Main(args, p);
        out = o.str();
        err = e.str();
        return status;
    };
    std::string out, err;
    EXPECT_EQ(check({clean}, out, err), cli::kCheckClean);
    EXPECT_EQ(out, "1 file checked: 0 errors, 0 warnings\n");
    EXPECT_EQ(check({warn}, out, err), cli::kCheckWarnings);
    EXPECT_EQ(out.rfind(warn + ":2: warning: \"{Entr}\" is not a key name", 0), 0u) << out;
    EXPECT_EQ(check({clean, warn, bad}, out, err), cli::kCheckErrors);
    EXPECT_NE(out.find(bad + ":3: error: no line defines the label \"Nowhere\""), std::string::npos) << out;
    EXPECT_NE(out.find("\n3 files checked: 1 error, 1 warning\n"), std::string::npos) << out;
    EXPECT_EQ(check({bad, dir.file("missing.tks"), clean}, out, err), cli::kCheckUnreadable);
    EXPECT_NE(err.find("missing.tks"), std::string::npos);
    EXPECT_NE(out.find("2 files checked: 1 error, 0 warnings; 1 file could not be read\n"), std::string::npos)
        << out;
    EXPECT_EQ(check({}, out, err), cli::kCheckUsage);
    EXPECT_EQ(check({"--strict", clean}, out, err), cli::kCheckUsage);
    EXPECT_EQ(check({"--help"}, out, err), cli::kCheckClean);
    EXPECT_NE(out.find("FILE:LINE: warning: MESSAGE"), std::string::npos);
}
