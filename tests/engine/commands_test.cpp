#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/filestore.h"
#include "engine/starter.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/script_run.h"
#include "tests/sim/sim_desktop.h"
#include "tests/sim/temp_dir.h"

using namespace taskloom;
using taskloom::sim::MemoryHost;
using taskloom::sim::SimDesktop;
using taskloom::sim::TempDir;
using Lines = std::vector<std::string>;
using Words = std::vector<std::string>;

namespace {

using Fixture = taskloom::sim::ScriptRun;

}  // namespace

TEST(Clips, DelimitersInBothPrograms) {
    auto capture3 = [](Flavor f, const std::string& delimiterLine) {
        Fixture x(f);
        Lines script = {delimiterLine};
        for (const char* item : {"one", "two", "three"}) {
            script.push_back("{Ctrl}a");
            script.push_back(item);
            script.push_back("{:ClipsAddText}");
        }
        x.run(script);
        return x.engine.clips().text();
    };
    EXPECT_EQ(capture3(Flavor::Composer, "{:ClipsDelimiterLine}"), "one\r\ntwo\r\nthree");
    EXPECT_EQ(capture3(Flavor::Composer, "{:ClipsDelimiterOther ,}"), "one,two,three");
    EXPECT_EQ(capture3(Flavor::Composer, "{:ClipsDelimiterNone}"), "onetwothree");
    EXPECT_EQ(capture3(Flavor::Composer, "{:ClipsDelimiterOther ;}"), "one;two;three");
    EXPECT_EQ(capture3(Flavor::Pad, "{:ClipsDelimiterOther ,}"), "one,two,three,");
    EXPECT_EQ(capture3(Flavor::Pad, "{:ClipsDelimiterTab}"), "one\ttwo\tthree\t");
    EXPECT_EQ(capture3(Flavor::Pad, "{:ClipsDelimiterLine}"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(capture3(Flavor::Pad, "{:ClipsDelimiterOther ;}"), "onetwothree");  // only tab, space, comma
    EXPECT_EQ(capture3(Flavor::Pad, "{:ClipsDelimiterNone}"), "onetwothree");

    // The clipboard capture: the composer keeps the first line, the pad all.
    for (Flavor f : {Flavor::Composer, Flavor::Pad}) {
        Fixture x(f);
        x.d.setClipboardText("first\r\nsecond");
        x.run({"{:ClipsAddClipboard}"});
        EXPECT_EQ(x.engine.clips().lines(),
                  f == Flavor::Composer ? Lines{"first"} : (Lines{"first", "second"}));
    }
    // ":ClipsAddForm" is ":ClipsAddText"; the capture reads the caret's line.
    Fixture x(Flavor::Composer);
    x.show("alpha\r\nbeta");
    x.run({"{:ClipsAddForm}", "{Up}", "{:ClipsAddText}"});
    EXPECT_EQ(x.engine.clips().lines(), (Lines{"beta", "alpha"}));
    // 200 ms after the first capture into an empty buffer, 50 ms after later ones.
    Words w = x.d.keyWords();
    const auto sleeps = x.d.sleeps();
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 200u), 1);
    EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 50u), 1);
}

TEST(Clips, SizeLimitEndsTheRunWithATypedError) {
    Fixture x(Flavor::Pad);
    x.engine.clips().setLimit(10);
    x.d.setClipboardText("12345");
    x.run({"{:ClipsAddClipboard}"});
    try {
        x.run({"{:ClipsAddClipboard}", "never"});
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_EQ(e.index(), 0u);
        EXPECT_NE(std::string(e.what()).find("clips buffer is full"), std::string::npos);
    }
    EXPECT_EQ(x.engine.clips().text(), "12345\r\n");  // nothing half-added
    EXPECT_EQ(x.d.text(x.editor), "");
}

TEST(Clips, FieldAddressesAndControlCapture) {
    auto addr = [](const std::string& s) {
        FieldAddress a = ReadFieldAddress(s);
        return std::vector<int>{a.line, a.column, a.length};
    };
    EXPECT_EQ(addr(":ClipsAddControls 2 5 3"), (std::vector<int>{2, 5, 3}));
    EXPECT_EQ(addr(":ClipsAddControls 2 5"), (std::vector<int>{2, 0, 5}));
    EXPECT_EQ(addr(":ClipsAddControls 2"), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(addr(":ClipsAddControls"), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(addr(":ClipsAddControls x 5 3"), (std::vector<int>{0, 5, 3}));
    EXPECT_EQ(addr(":ClipsAddControls 1 2 3 4"), (std::vector<int>{1, 2, 0}));

    Fixture x(Flavor::Composer);
    Wnd form = x.d.addWindow("Form");
    x.d.addChild(form, "Customer: Smith");
    x.d.addChild(form, "Order 4711", {.visible = false});
    x.run({"{:TO Form}", "{:ClipsAddControls 1 11 5}", "{:ClipsAddControls 2 7 99}",
           "{:ClipsAddControls 2 0 5}", "{:ClipsAddControls 3 1 5}", "{:ClipsAddControls 0 1 5}",
           "{:ClipsAddControls 1 40 2}"});
    EXPECT_EQ(x.engine.clips().lines(), (Lines{"Smith", "4711", "Order", "", ""}));
    EXPECT_EQ(x.engine.sourceLines(), (Lines{"Customer: Smith", "Order 4711"}));
}

TEST(Clips, ConsoleFieldKeySequence) {
    Fixture x(Flavor::Composer);
    Wnd console = x.d.addWindow("Command Prompt");
    // The console's Copy puts the marked field on the clipboard.
    x.d.onKey = [&](const KeyEvent& e) {
        if (e.vk == 'Y' && !e.up) x.d.setClipboardText("abc");
    };
    x.run({"{:TO Command Prompt}"});
    x.d.clearKeyLog();
    x.run({"{:ClipsAddDOS 2 5 3}"});
    EXPECT_EQ(x.d.keyWords(),
              (Words{"Alt up", "Ctrl up", "Shift up", "Alt down", "Space", "e",          "k",     "Alt up",
                     "Down",   "Right",   "Right",    "Right",    "Right", "Shift down", "Right", "Left",
                     "Right",  "Right",   "Shift up", "Alt down", "Space", "e",          "y",     "Alt up"}));
    EXPECT_EQ(x.engine.clips().lines(), Lines{"abc"});
    EXPECT_EQ(x.d.foregroundWindow(), console);
    // A single number reads as L=0: marking starts, nothing is added.
    x.d.clearKeyLog();
    x.run({"{:ClipsAddDOS 3}"});
    EXPECT_EQ(x.d.keyWords(),
              (Words{"Alt up", "Ctrl up", "Shift up", "Alt down", "Space", "e", "k", "Alt up"}));
    EXPECT_EQ(x.engine.clips().lineCount(), 1u);
    EXPECT_THROW(x.run({"{:ClipsAddDOS 99999999 1 1}"}), RunError);
}

TEST(Clips, ConsoleFieldIsReadOnceTheConsoleHasCopiedIt) {
    // A console that takes its keys in slowly copies a while after the copy
    // keys were sent: the capture must not take the clipboard's old text.
    Fixture x(Flavor::Pad);
    x.d.addWindow("Command Prompt");
    x.d.setClipboardText("old");
    std::uint64_t copyAt = 0;
    x.d.onKey = [&](const KeyEvent& e) {
        if (e.vk == 'Y' && !e.up) copyAt = x.d.tickMs() + 1500;
    };
    x.d.onSleep = [&](unsigned) {
        if (copyAt && x.d.tickMs() >= copyAt) {
            copyAt = 0;
            x.d.setClipboardText("field");
        }
    };
    x.run({"{:TO Command Prompt}", "{:ClipsAddDOS 1 1 5}"});
    EXPECT_EQ(x.engine.clips().lines(), Lines{"field"});

    // A console that copies nothing: the wait ends, and an empty item is
    // added, never the clipboard's old text.
    x.d.onKey = nullptr;
    x.run({"{:ClipsAddDOS 1 1 5}"});
    EXPECT_EQ(x.engine.clips().lines(), (Lines{"field", ""}));
}

TEST(Clips, CopyDosScreenReadsWhatTheConsoleCopiedNeverThePreviousClipboard) {
    // Copy DOS Screen on the Windows page: the console copies its marked
    // screen a while after the keys, as it takes them in.
    Fixture x(Flavor::Composer);
    const Wnd console = x.d.addWindow("Command Prompt");
    x.d.setForegroundDirect(console);
    x.d.setClipboardText("old");
    std::uint64_t copyAt = 0;
    x.d.onKey = [&](const KeyEvent& e) {
        if (e.vk == 'Y' && !e.up) copyAt = x.d.tickMs() + 800;
    };
    x.d.onSleep = [&](unsigned) {
        if (copyAt && x.d.tickMs() >= copyAt) {
            copyAt = 0;
            x.d.setClipboardText("C:\\>dir\r\n");
        }
    };
    // A stop request left by an aborted run does not cut the wait short.
    x.engine.requestStop();
    EXPECT_EQ(x.engine.CopyDosScreen(), "C:\\>dir\r\n");

    // A window that copies nothing gives nothing, after the wait.
    x.d.onKey = nullptr;
    x.d.setClipboardText("old");
    const std::uint64_t start = x.d.now();
    EXPECT_EQ(x.engine.CopyDosScreen(), "");
    EXPECT_GE(x.d.now() - start, x.engine.drainTimeoutMs);
    EXPECT_FALSE(x.d.isKeyDown(kVkShift) || x.d.isKeyDown(kVkMenu));
}

TEST(ClipsCommands, CopyPasteClearAndDelimiterRules) {
    Fixture x;
    x.engine.clips().setLines({"l1", "l2", "l3"});
    auto copied = [&](const std::string& n) {
        x.run({"{:ClipsCopy" + n + "}"});
        return x.d.clipboardText();
    };
    EXPECT_EQ(copied(" 1"), "l1");
    EXPECT_EQ(copied(" 0"), "l3");
    EXPECT_EQ(copied(" 99"), "l3");
    EXPECT_EQ(copied(" 2"), "l2");
    EXPECT_EQ(copied(""), "l1");
    x.d.setClipboardText("kept");
    x.run({"{:ClipsCopyX 1}"});  // first word must equal the keyword
    EXPECT_EQ(x.d.clipboardText(), "kept");

    for (auto [n, expect] : std::vector<std::pair<std::string, std::string>>{
             {"3", "l3"}, {"1", "l1"}, {"7", "l3"}, {"0", "l3"}, {"-2", "l3"}}) {
        x.show("");
        x.run({"{:ClipsPaste " + n + "}"});
        EXPECT_EQ(x.d.text(x.editor), expect) << n;
    }
    x.run({"{:ClipsClear}"});
    EXPECT_EQ(x.engine.clips().lineCount(), 0u);
    x.show("");
    x.run({"{:ClipsPaste 1}", "{:ClipsCopy 1}"});
    EXPECT_EQ(x.d.text(x.editor), "");

    auto delimiter = [&](const std::string& line) {
        x.run({line});
        return x.engine.delimiter();
    };
    EXPECT_EQ(delimiter("{:ClipsDelimiterLine}"), 13);
    EXPECT_EQ(delimiter("{:ClipsDelimiterNone}"), 27);
    EXPECT_EQ(delimiter("{:ClipsDelimiterTab}"), 9);
    EXPECT_EQ(delimiter("{:ClipsDelimiterOther ;}"), ';');
    EXPECT_EQ(delimiter("{:ClipsDelimiterOther}"), ':');
    EXPECT_EQ(delimiter("{:ClipsDelimiterOther Line}"), 13);  // the value is looked at too
    EXPECT_EQ(delimiter("{:ClipsDelimiterOther }"), 32);
}

TEST(ClipsCommands, SaveLoadAndLoopEOF) {
    TempDir dir;
    Fixture x;
    const std::string out = dir / "out.txt";
    x.engine.clips().setLines({"a", "b c"});
    x.run({"{:ClipsSave " + out + "}"});
    x.engine.clips().setLines({"x,y"});
    x.run({"{:ClipsSave " + out + "}"});
    // Each save is on disk at once, while the file stays open.
    EXPECT_EQ(ReadTextFile(out), "a,\"b c\"\r\n\"x,y\"\r\n");

    const std::string data = dir / "data.txt";
    WriteTextFile(data, "a,\"b c\"\r\nsecond\r\nthird,3\r\n");
    x.run({"{:ClipsLoad " + data + "}"});
    EXPECT_EQ(x.engine.clips().lines(), (Lines{"a", "b c"}));
    // ":LoopEOF" reads the next lines; the body runs for each; the end of the
    // file ends the whole run.
    x.show("");
    EXPECT_EQ(x.run({"{.Each}", "{:ClipsPaste 1}", "{:LoopEOF Each}", "never"}), RunEnd::EndOfClips);
    EXPECT_EQ(x.d.text(x.editor), "asecondthird");
    EXPECT_EQ(x.engine.clips().lineCount(), 0u);

    // No clips file open: ":LoopEOF" ends the run.
    Fixture y;
    EXPECT_EQ(y.run({"{.L}", "{:LoopEOF L}", "never"}), RunEnd::EndOfClips);
    // A missing file, and a load of a file open for writing, abandon the run
    // with the file's name.
    try {
        y.run({"{:ClipsLoad " + (dir / "missing.txt") + "}"});
        FAIL();
    } catch (const RunError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.txt"), std::string::npos);
    }
    EXPECT_FALSE(FileExists(dir / "missing.txt"));
    // Saving and loading one file turn its direction: a load after saves
    // reads from the first line, a save after a load appends.
    y.engine.clips().setLines({"third"});
    y.run({"{:ClipsSave " + out + "}", "{:ClipsLoad " + out + "}"});
    EXPECT_EQ(y.engine.clips().lines(), (Lines{"a", "b c"}));
    y.run({"{:ClipsSave " + out + "}"});
    EXPECT_EQ(ReadTextFile(out), "a,\"b c\"\r\n\"x,y\"\r\nthird\r\na,\"b c\"\r\n");
    EXPECT_THROW(y.run({"{:ClipsSave " + (dir / "no/such/dir.txt") + "}"}), RunError);
}

TEST(Commands, NoteParsingAndBlocks) {
    EXPECT_EQ(ReadNoteHeader("10 20 My title").title, "My title");
    EXPECT_EQ(ReadNoteHeader("10 450 t").y, 350);
    EXPECT_EQ(ReadNoteHeader("10 399 t").y, 399);
    EXPECT_EQ(ReadNoteHeader("10 20 ").title, "");
    for (const char* bad : {"x 20 t", "10 y t", "10 20", "10", "1.5 2 t", "10  20 t"})
        EXPECT_THROW(ReadNoteHeader(bad), ScriptError) << bad;

    TempDir dir;
    WriteTextFile(dir / "help.txt", "from file 1\r\nfrom file 2\r\n");
    Fixture x(Flavor::Composer);
    x.host.dir = dir.folder();
    x.run({"{:PopUp 100 500 Read me}", "line one", "@" + (dir / "help.txt"), "after file", "{:Pause1/10}",
           "{:PopUp 5 5 Empty}", "{:/}", "{:PopUp 1 2 By folder}", "@help.txt", "typed"});
    ASSERT_EQ(x.host.notes.size(), 2u);  // a note without lines is not shown
    EXPECT_EQ(x.host.notes[0].title, "Read me");
    EXPECT_EQ(x.host.notes[0].y, 350);
    EXPECT_EQ(x.host.notes[0].lines, (Lines{"from file 1", "from file 2", "after file"}));
    EXPECT_EQ(x.host.notes[1].lines, (Lines{"from file 1", "from file 2", "typed"}));
    EXPECT_EQ(x.d.text(x.editor), "");  // note lines are never typed

    // Abort: the composer stops before the next line; the pad empties its list.
    Fixture c(Flavor::Composer);
    c.host.noteAnswer = [] { return NoteAnswer::Abort; };
    EXPECT_EQ(c.run({"{:PopUp 0 0 Stop?}", "text", "{:/}", "after"}), RunEnd::Stopped);
    EXPECT_EQ(c.d.text(c.editor), "");
    Fixture p(Flavor::Pad);
    p.host.noteAnswer = [] { return NoteAnswer::Abort; };
    EXPECT_EQ(p.run({"{:PopUp 0 0 Stop?}", "text", "{:/}", "after"}), RunEnd::Completed);
    EXPECT_TRUE(p.host.lines.empty());
    EXPECT_EQ(p.d.text(p.editor), "");

    // A bad header or a missing file abandons the run, naming line and file.
    Fixture b;
    try {
        b.run({"x", "{:PopUp ten 20 T}", "a"});
        FAIL();
    } catch (const RunError& e) {
        EXPECT_EQ(e.index(), 1u);
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("\"ten\""), std::string::npos);
    }
    try {
        b.run({"{:PopUp 1 2 T}", "@nowhere.txt"});
        FAIL();
    } catch (const RunError& e) {
        EXPECT_NE(std::string(e.what()).find("nowhere.txt"), std::string::npos);
    }
}

TEST(Commands, MenuMnemonicsAndMouse) {
    Fixture x;
    Wnd app = x.d.addWindow("App");
    Wnd ok = x.d.addChild(app, "OK");
    x.engine.setTargetWnd(app);
    x.d.setForegroundDirect(x.editor);
    x.d.clearKeyLog();
    x.run({std::string("{:Menu \x1b&File\x1b&Save &As}")});
    EXPECT_EQ(x.d.keyWords(), (Words{"Alt up", "Ctrl up", "Shift up", "Alt down", "f", "s", "a", "Alt up"}));
    EXPECT_EQ(x.d.foregroundWindow(), app);  // the target is activated first
    x.d.clearKeyLog();
    x.run(
        {std::string("{:Menu \x1b&Edit\x1b"
                     "Copy}")});
    EXPECT_EQ(x.d.keyWords(), (Words{"Alt up", "Ctrl up", "Shift up", "Alt down", "e", "Alt up"}));

    x.d.setForegroundDirect(x.editor);
    x.run({"{:MouseClick OK}", "{:MouseDblClick OK}", "{:MouseRightClick OK}", "{:MouseClick Cancel}"});
    using P = taskloom::sim::PostedMessage;
    EXPECT_EQ(x.d.posted(), (std::vector<P>{{ok, kWmLButtonDown},
                                            {ok, kWmLButtonUp},
                                            {ok, kWmLButtonDblClk},
                                            {ok, kWmRButtonDown},
                                            {ok, kWmRButtonUp}}));
    EXPECT_EQ(x.d.foregroundWindow(), x.editor);  // posted, not activated
}

TEST(Commands, ProgramStartAndTextLoad) {
    Fixture c(Flavor::Composer);
    c.d.setClipboardText("c:\\a.txt\r\nignored");
    c.run({"{:Run C:\\Tools\\tool.exe -q}", "{:Run viewer.exe %%}", "{:Run }", "{:Run}",
           "{:Run \"C:\\Program Files\\Tool\\tool.exe\" -q x}"});
    const auto& calls = c.d.shellCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ((ShellStart{calls[0].file, calls[0].params, calls[0].dir}),
              (ShellStart{"tool.exe", "-q", "C:\\Tools\\"}));
    EXPECT_EQ(calls[0].show, 5);
    EXPECT_EQ(calls[0].owner, c.editor);
    EXPECT_EQ((ShellStart{calls[1].file, calls[1].params, calls[1].dir}),
              (ShellStart{"viewer.exe", "c:\\a.txt", ""}));
    EXPECT_EQ(calls[2].file, "Run");  // no blank: the keyword itself (":" as its folder), which fails quietly
    EXPECT_EQ((ShellStart{calls[3].file, calls[3].params, calls[3].dir}),
              (ShellStart{"tool.exe", "-q x", "C:\\Program Files\\Tool\\"}));
    EXPECT_GE(std::count(c.d.sleeps().begin(), c.d.sleeps().end(), 200u), 4);

    auto none = [](const std::string&) { return false; };
    EXPECT_EQ(ExecProgram("C:\\Tools\\calc.exe", none), (ShellStart{"calc.exe", "", "C:\\Tools\\"}));
    EXPECT_EQ(ExecProgram("notepad C:\\a.txt", none), (ShellStart{"notepad", "C:\\a.txt", ""}));
    EXPECT_EQ(ExecProgram("C:\\Data", none), (ShellStart{"C:\\Data", "", ""}));
    EXPECT_EQ(ExecProgram("C:\\Program Files\\x.exe", none), (ShellStart{"C:\\Program", "Files\\x.exe", ""}));
    EXPECT_EQ(ExecProgram("mailto:someone@example.com", none),
              (ShellStart{"mailto:someone@example.com", "", ""}));
    EXPECT_EQ(ExecProgram("http://example.com/", none), (ShellStart{"http://example.com", "", ""}));
    EXPECT_EQ(ExecProgram("\"C:\\Program Files\\x.exe\" -a", none),
              (ShellStart{"x.exe", "-a", "C:\\Program Files\\"}));
    auto exists = [](const std::string& s) { return s == "C:\\My Docs\\report.doc"; };
    EXPECT_EQ(ExecProgram("C:\\My Docs\\report.doc", exists),
              (ShellStart{"report.doc", "", "C:\\My Docs\\"}));
    EXPECT_EQ(ComposerStart("C:\\My Docs\\report.doc", exists),
              (ShellStart{"report.doc", "", "C:\\My Docs\\"}));

    Fixture p(Flavor::Pad);
    p.host.own = 77;
    p.run({"{:Run   C:\\Tools\\calc.exe  }"});
    ASSERT_EQ(p.d.shellCalls().size(), 1u);
    EXPECT_EQ(p.d.shellCalls()[0].file, "calc.exe");
    EXPECT_EQ(p.d.shellCalls()[0].owner, 77);
    EXPECT_EQ(p.d.shellCalls()[0].show, 1);

    TempDir dir;
    WriteTextFile(dir / "t.txt", "first line\r\nsecond line\r\n");
    Fixture l(Flavor::Pad);
    l.run({"{:Load " + (dir / "t.txt") + "}", "{:ClipsAddFile 2 1 6}", "{:Load " + (dir / "none.txt") + "}"});
    EXPECT_EQ(l.engine.clips().lines(), (Lines{"second"}));
    EXPECT_EQ(l.host.loaded, (Lines{"first line", "second line"}));
    EXPECT_EQ(l.engine.sourceLines(), (Lines{"first line", "second line"}));
}

TEST(Clipboard, HeldByAnotherProgram) {
    // Let go within the wait: the capture goes on.
    Fixture f;
    f.show("line one");
    f.d.clipboardHeldUntil = f.d.now() + 300;
    EXPECT_EQ(f.run({"{:ClipsAddText}"}), RunEnd::Completed);
    EXPECT_EQ(f.engine.clips().lines(), Lines{"line one"});
    // Held throughout: the line that needs it is abandoned with the reason,
    // after a bounded wait, with no key left down; a loop on the clipboard
    // does not go round for ever.
    const Lines scripts[] = {
        {"{Ctrl}{:ClipsAddText}"},
        {"x", "{:ClipsAddClipboard}"},
        {"{.L}", "{Shift}{:LoopClipboardEQ L x}"},
        {"{:ClipsCopy 1}"},
        {"{:Run prog %%}"},
    };
    for (const Lines& lines : scripts) {
        SCOPED_TRACE(lines.back());
        Fixture g(Flavor::Composer);
        g.engine.clips().setLines({"a clip"});
        g.d.clipboardHeldUntil = ~std::uint64_t{0};
        const std::uint64_t start = g.d.now();
        try {
            g.run(lines);
            ADD_FAILURE() << "the run went on without the clipboard";
        } catch (const RunError& e) {
            EXPECT_EQ(e.index(), lines.size() - 1);
            EXPECT_NE(std::string(e.what()).find("Cannot open clipboard"), std::string::npos) << e.what();
        }
        EXPECT_LE(g.d.now() - start, 3000u);
        EXPECT_FALSE(g.d.isKeyDown(kVkShift) || g.d.isKeyDown(kVkControl) || g.d.isKeyDown(kVkMenu));
        EXPECT_FALSE(g.engine.running());
    }
}
