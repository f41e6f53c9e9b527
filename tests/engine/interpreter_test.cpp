#include <gtest/gtest.h>

#include "engine/engine.h"
#include "engine/lookup.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/script_run.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using taskloom::sim::MemoryHost;
using taskloom::sim::SimDesktop;
using Lines = std::vector<std::string>;
using Words = std::vector<std::string>;

using Fixture = taskloom::sim::ScriptRun;

TEST(Interpreter, KeyLinesReleaseStringsAndEmptyList) {
    Fixture f;
    f.d.setForegroundDirect(0);
    EXPECT_EQ(f.run({}), RunEnd::Completed);
    EXPECT_EQ(f.engine.targetWnd(), 0);  // no foreground window to take
    f.d.setForegroundDirect(f.editor);
    f.engine.setTargetWnd(-1);
    EXPECT_EQ(f.run({}), RunEnd::Completed);
    EXPECT_EQ(f.engine.targetWnd(), f.editor);  // taken, not activated
    EXPECT_EQ(f.d.activations(), 0);

    f.d.clearKeyLog();
    f.run({"{Alt}f"});
    EXPECT_EQ(f.d.keyWords(), (Words{"Alt down", "f", "Alt up", "Ctrl up", "Shift up", "Alt up"}));
    f.d.clearKeyLog();
    f.run({"ab"});
    EXPECT_EQ(f.d.keyWords(), (Words{"a", "b", "Alt up", "Ctrl up", "Shift up"}));
    f.d.clearKeyLog();
    f.run({"{Ctrl}{Shift}x"});
    EXPECT_EQ(f.d.keyWords(), (Words{"Ctrl down", "Shift down", "X", "Alt up", "Ctrl up", "Shift up",
                                     "Ctrl up", "Shift up"}));

    f.d.setText(f.editor, "");
    f.run({"{Tab 3}abc", "abc{Tab 3}", "{{{Enter}}}", "{Enter}{:Pause1/10}rest", "x}}}y"});
    EXPECT_EQ(f.typed(), "\t\t\tabcabc{Tab 3}{Enter}\r\nx}y");
}

TEST(Interpreter, JumpsLabelsAndRemarkBlocks) {
    Fixture f;
    // Forward and backward jumps; labels found without case, whole line.
    f.run({"a", "{:Goto Skip}", "never", "{.SKIP}", "b", "{:LoopTimes Again 2}", "{.again}"});
    EXPECT_EQ(f.typed(), "ab");
    EXPECT_TRUE(f.host.messages.empty());

    f.d.setText(f.editor, "");
    f.run({"{:Goto Here}", "x", "x", "x", "x", "{.Here}", "y"});
    EXPECT_EQ(f.typed(), "y");
    // A label on the first line: the run goes on from the line after it.
    f.d.setText(f.editor, "");
    f.run({"{.Top}", "t", "{:LoopTimes Top 3}", "e"});
    EXPECT_EQ(f.typed(), "ttte");

    // A label line with leading blanks or text after its brace is not found.
    f.d.setText(f.editor, "");
    EXPECT_EQ(f.run({"{:Goto L}", " {.L}", "{.L} x", "z"}), RunEnd::Message);
    EXPECT_EQ(f.host.messages.back(), "Undefined Label: \r{.L}\rQuitting Script...");
    EXPECT_TRUE(f.host.lines.empty());  // the pad empties its list
    EXPECT_EQ(f.typed(), "");

    Fixture composer(Flavor::Composer);
    EXPECT_EQ(composer.run({"{:Goto}", "after"}), RunEnd::Message);
    EXPECT_EQ(composer.host.messages.back(), "Undefined Label: \r{.:Goto}\rQuitting Script...");
    EXPECT_EQ(composer.host.lines.size(), 2u);  // the composer keeps it
    EXPECT_EQ(composer.typed(), "");

    // Remark blocks: text lines skipped up to the next "{:" line; the closing
    // "{:/}" skips plain lines after it too; a block at the end ends the run.
    f.d.setText(f.editor, "");
    f.run({"{:/ Remark}", "hello", "{Enter}", "{:/}", "skipped", "{Tab}too", "{:Pause1/10}", "seen",
           "{:/ end}", "never"});
    EXPECT_EQ(f.typed(), "seen");
}

TEST(Interpreter, CountedLoops) {
    auto body = [](int n) {
        Fixture f;
        f.run({"{.L}", "x", "{:LoopTimes L " + std::to_string(n) + "}", "."});
        return f.typed();
    };
    EXPECT_EQ(body(3), "xxx.");
    EXPECT_EQ(body(1), "x.");
    EXPECT_EQ(body(0), "x.");
    EXPECT_EQ(body(-4), "x.");
    Fixture f;
    // One after the other, each with its own count.
    f.run({"{.A}", "a", "{:LoopTimes A 2}", "{.B}", "b", "{:LoopTimes B 3}"});
    EXPECT_EQ(f.typed(), "aabbb");
    // Nested: the inner loop runs its count on every pass of the outer one.
    f.d.setText(f.editor, "");
    f.run({"{.Outer}", "o", "{.Inner}", "i", "{:LoopTimes Inner 3}", "{:LoopTimes Outer 2}", "."});
    EXPECT_EQ(f.typed(), "oiiioiii.");
    // A count that does not begin with a number counts 0; a second run starts afresh.
    f.d.setText(f.editor, "");
    f.run({"{.L}", "x", "{:LoopTimes L many}"});
    f.run({"{.L}", "y", "{:LoopTimes L 2}"});
    EXPECT_EQ(f.typed(), "xyy");
}

TEST(Interpreter, WindowFileAndMenuLoops) {
    Fixture f;
    // Waits for a window that appears after a few rounds of messages.
    int rounds = 0;
    Wnd saved = 0;
    f.d.onProcessMessages = [&] {
        if (++rounds == 40) saved = f.d.addWindow("Report - Saved");
    };
    f.run({"{.Wait}", "{:Pause1/10}", "{:LoopWindowActive Wait Report - Saved}", "done"});
    EXPECT_NE(saved, 0);
    EXPECT_EQ(f.engine.targetWnd(), saved);
    EXPECT_NE(f.d.foregroundWindow(), saved);  // found, not activated
    EXPECT_EQ(f.typed(), "done");

    // Inactive: jumps while the window is visible; goes on once it is hidden.
    rounds = 0;
    f.d.onProcessMessages = [&] {
        if (++rounds == 30) f.d.setVisible(saved, false);
    };
    f.d.setForegroundDirect(f.editor);
    f.run({"{.W}", "{:LoopWindowInactive W Report - Saved}", "gone"});
    EXPECT_GE(rounds, 30);
    EXPECT_EQ(f.typed(), "donegone");
    f.d.onProcessMessages = nullptr;

    // Files: Exists jumps while missing, NotFound while present.
    const std::string path = ::testing::TempDir() + "taskloom-loopfile";
    std::remove(path.c_str());
    f.d.setText(f.editor, "");
    f.run({"{.A}", "a", "{:LoopFileNotFound A " + path + "}", "{:LoopTimes Stop 1}", "{.Stop}"});
    EXPECT_EQ(f.typed(), "a");
    std::FILE* fp = std::fopen(path.c_str(), "w");
    std::fclose(fp);
    f.run({"{.B}", "b", "{:LoopFileExists B " + path + "}"});
    EXPECT_EQ(f.typed(), "ab");
    std::remove(path.c_str());

    // Menu loops on the target window: Enabled jumps while the item is grayed.
    Wnd app = f.d.addWindow("App");
    MenuHandle file = f.d.newMenu({{"&Save\tCtrl+S", kMfsGrayed, 0}});
    f.d.setMenuBar(app, f.d.newMenu({{"&File", 0, file}}));
    f.engine.setTargetWnd(app);
    rounds = 0;
    f.d.onProcessMessages = [&] {
        if (++rounds == 25) f.d.menuItem(file, 0).state = 0;
    };
    f.d.setText(f.editor, "");
    f.d.setForegroundDirect(f.editor);
    f.run({"{.M}", std::string("{:LoopMenuEnabled M \x1b&File\x1b&Save\tCtrl+S}"), "saved"});
    EXPECT_GE(rounds, 25);
    EXPECT_EQ(f.typed(), "saved");
}

TEST(Interpreter, ClipboardComparisons) {
    auto jumps = [](const std::string& clipboard, const std::string& loop) {
        Fixture f;
        f.d.setClipboardText(clipboard);
        f.run({"{:" + loop + "}", "{:Goto End}", "{.L}", "jumped", "{.End}"});
        return f.typed() == "jumped";
    };
    EXPECT_FALSE(jumps("abc", "LoopClipboardEQ L abc"));
    EXPECT_TRUE(jumps("abd", "LoopClipboardEQ L abc"));
    EXPECT_FALSE(jumps("abc\r\nsecond line", "LoopClipboardEQ L abc"));  // first line only
    EXPECT_TRUE(jumps("xyz", "LoopClipboardContainsNOT L x"));
    EXPECT_FALSE(jumps("abc", "LoopClipboardContainsNOT L x"));
    EXPECT_FALSE(jumps("abc", "LoopClipboardContains L b"));
    EXPECT_TRUE(jumps("abc", "LoopClipboardContains L"));  // an empty value never occurs
    EXPECT_FALSE(jumps("abc", "LoopClipboardLT L abd"));
    EXPECT_TRUE(jumps("abd", "LoopClipboardLT L abd"));
    EXPECT_FALSE(jumps("abd", "LoopClipboardLE L abd"));
    EXPECT_FALSE(jumps("b", "LoopClipboardGT L a b"));
    EXPECT_FALSE(jumps("abd", "LoopClipboardGE L abc"));
    EXPECT_TRUE(jumps("abb", "LoopClipboardGE L abc"));
    EXPECT_FALSE(jumps("\xe9", "LoopClipboardGT L z"));  // codes compare unsigned
}

TEST(Interpreter, ControlLoopsSeeHiddenAndDisabledControls) {
    auto jumps = [](const std::string& loop, auto setup) {
        Fixture f;
        Wnd form = f.d.addWindow("Form");
        setup(f.d, form);
        f.engine.setTargetWnd(form);
        f.d.setClipboardText("OK");
        f.d.setForegroundDirect(f.editor);
        f.run({"{:" + loop + "}", "{:Goto End}", "{.L}", "jumped", "{.End}"});
        return f.typed() == "jumped";
    };
    auto none = [](SimDesktop&, Wnd) {};
    auto enabled = [](SimDesktop& d, Wnd w) { d.addChild(w, "OK"); };
    auto disabled = [](SimDesktop& d, Wnd w) { d.addChild(w, "OK", {.visible = true, .enabled = false}); };
    auto hiddenNested = [](SimDesktop& d, Wnd w) {
        Wnd panel = d.addChild(w, "Panel");
        d.addChild(panel, "OK", {.visible = false, .enabled = true});
    };
    EXPECT_TRUE(jumps("LoopControlEnabled L OK", none));
    EXPECT_TRUE(jumps("LoopControlEnabled L OK", disabled));
    EXPECT_FALSE(jumps("LoopControlEnabled L OK", enabled));
    EXPECT_FALSE(jumps("LoopControlEnabled L OK", hiddenNested));
    EXPECT_TRUE(jumps("LoopControlDisabled L OK", enabled));
    EXPECT_FALSE(jumps("LoopControlDisabled L OK", disabled));
    EXPECT_FALSE(jumps("LoopControlDisabled L OK", none));
    EXPECT_TRUE(jumps("LoopControlEQ L", none));
    EXPECT_FALSE(jumps("LoopControlEQ L", enabled));
    EXPECT_TRUE(jumps("LoopControlNE L", enabled));
    EXPECT_FALSE(jumps("LoopControlNE L", none));
}

TEST(Interpreter, StopRequests) {
    Fixture f;
    // Before a line: a stop made while a line runs ends the run before the next.
    int lines = 0;
    f.d.onProcessMessages = [&] {
        if (++lines == 1) f.engine.requestStop();
    };
    EXPECT_EQ(f.run({"a", "b", "c"}), RunEnd::Stopped);
    EXPECT_EQ(f.typed(), "a");
    // An endless loop without pauses stops at the request.
    f.engine.setTargetWnd(0);
    unsigned long pumps = 0;
    f.d.onProcessMessages = [&] {
        if (++pumps == 500) f.engine.requestStop();
    };
    EXPECT_EQ(f.run({"{.L}", "{:Goto L}"}), RunEnd::Stopped);
    // A long pause is cut short within one slice of the request.
    f.engine.setTargetWnd(0);
    const std::uint64_t start = f.d.now();
    f.d.onProcessMessages = nullptr;
    f.d.onSleep = [&](unsigned) {
        if (f.d.now() - start >= 1000) f.engine.requestStop();
    };
    EXPECT_EQ(f.run({"{:PauseSeconds 60}", "late"}), RunEnd::Stopped);
    EXPECT_LT(f.d.now() - start, 1100u);
    EXPECT_EQ(f.typed(), "a");
    // A second run while one is in progress is refused.
    f.engine.setTargetWnd(0);
    f.d.onSleep = nullptr;
    RunEnd inner = RunEnd::Completed;
    f.d.onProcessMessages = [&] {
        if (f.engine.running()) inner = f.engine.RunScript();
    };
    f.run({"x"});
    EXPECT_EQ(inner, RunEnd::Refused);
}

TEST(Interpreter, PausesAndWindowSwitch) {
    Fixture f;
    auto waited = [&](const std::string& line) {
        f.engine.setTargetWnd(0);
        const std::uint64_t start = f.d.now();
        f.run({line});
        return f.d.now() - start;
    };
    // The release keys' 1 ms pacing waits come on top of the pause.
    EXPECT_NEAR(waited("{:Pause1/10}"), 102, 2);
    EXPECT_NEAR(waited("{:Pause1/10 5}"), 502, 2);
    EXPECT_NEAR(waited("{:Pause1/10 0}"), 102, 2);
    EXPECT_NEAR(waited("{:PauseSeconds 0}"), 1002, 2);
    EXPECT_NEAR(waited("{:PauseSeconds 3}"), 3002, 2);
    EXPECT_NEAR(waited("{:PauseSeconds1/10 3}"), 302, 2);  // "1/10" anywhere from the sixth character

    Wnd report = f.d.addWindow("Report - Editor");
    Wnd reportOld = f.d.addWindow("Report - Old");  // above the editor in the stacking order
    f.d.setMinimized(report, true);
    f.d.setForegroundDirect(f.editor);
    f.run({"{:TO Report - Editor}", "x"});
    EXPECT_EQ(f.engine.targetWnd(), report);
    EXPECT_FALSE(f.d.isIconic(report));
    EXPECT_EQ(f.d.text(report), "Report - Editorx");
    // The prefix search takes the first visible window in the stacking order.
    f.d.setForegroundDirect(reportOld);
    f.d.setForegroundDirect(f.editor);
    f.run({"{:To Report}"});
    EXPECT_EQ(f.engine.targetWnd(), reportOld);
    f.d.setForegroundDirect(report);
    f.run({"{:to Report}"});
    EXPECT_EQ(f.engine.targetWnd(), report);
    EXPECT_EQ(f.run({"{:tO report}"}), RunEnd::Message);  // titles compare with case
    EXPECT_EQ(f.host.messages.back(), "Inactive Window: \r:report\rQuitting Script...");

    Fixture g(Flavor::Composer);
    EXPECT_EQ(g.run({"{:To Nothing}", "x"}), RunEnd::Message);
    EXPECT_EQ(g.host.messages.back(), "Inactive Window: \r:Nothing\rQuitting Script...");
    EXPECT_EQ(g.typed(), "");
    EXPECT_EQ(g.host.lines.size(), 2u);
    // An exact title needs the exact text; a hidden window counts as missing.
    g.d.addWindow("Hidden Tool", {.visible = false});
    EXPECT_EQ(g.run({"{:TO Report - Edit}"}), RunEnd::Message);
    EXPECT_EQ(g.run({"{:TO Hidden Tool}"}), RunEnd::Message);
    EXPECT_EQ(g.host.messages.back(), "Inactive Window: \rHidden Tool\rQuitting Script...");
}
