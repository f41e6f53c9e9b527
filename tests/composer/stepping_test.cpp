#include "composer/model/stepping.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/text.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using Lines = std::vector<std::string>;

namespace {

// The composer's engine runs the lines of its ScriptList, as the form's
// host does; a note gives the test a moment inside a run.
class ListHost : public Host {
public:
    explicit ListHost(ScriptList& list) : list_(list) {}
    Flavor flavor() const override { return Flavor::Composer; }
    std::size_t lineCount() override { return list_.size(); }
    std::string line(std::size_t i) override { return list_.line(i); }
    void clearLines() override { list_.assign({}); }
    std::uint64_t listGeneration() override { return list_.generation(); }
    void selectLine(std::size_t i) override { list_.select(static_cast<int>(i)); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    NoteAnswer showNote(const std::string&, const std::vector<std::string>&, int, int) override {
        if (duringNote) duringNote();
        return NoteAnswer::Continue;
    }
    std::string programDir() override { return "/nonexistent/"; }

    Lines messages;
    std::function<void()> duringNote;

private:
    ScriptList& list_;
};

struct Composer {
    ScriptList list;
    BreakpointList breaks;
    sim::SimDesktop d;
    ListHost host{list};
    Engine engine{d, host};
    Wnd editor = d.addWindow("Editor");

    explicit Composer(Lines lines) {
        list.assign(std::move(lines));
        d.setForegroundDirect(editor);
    }
    RunOutcome run(RunKind kind, int selected) {
        list.select(selected);
        return RunInComposer(engine, kind, list, breaks);
    }
    std::string typed() const { return d.text(editor).substr(6); }
};

}  // namespace

TEST(Stepping, BreakpointsFollowTheirLinesAndNeverReachTheText) {
    ScriptList list;
    list.assign({"a", "b", "c", "d"});
    BreakpointList breaks;
    EXPECT_TRUE(breaks.toggle(list, 1));
    EXPECT_TRUE(breaks.toggle(list, 3));
    EXPECT_FALSE(breaks.toggle(list, 9));  // no such line
    EXPECT_EQ(breaks.lines(), (Breakpoints{1, 3}));

    // A line added above moves both down.
    list.select(0);
    breaks.follow(list, list.insertLine("new"));
    EXPECT_EQ(breaks.lines(), (Breakpoints{2, 4}));  // a new b c d
    // Moved up and down, the breakpoint goes with its line.
    list.select(2);
    breaks.follow(list, list.moveUp());  // a b new c d
    EXPECT_EQ(breaks.lines(), (Breakpoints{1, 4}));
    list.select(3);
    breaks.follow(list, list.moveDown());  // a b new d c
    EXPECT_EQ(breaks.lines(), (Breakpoints{1, 3}));
    // Deleted, it goes with its line; the lines below keep theirs.
    list.select(1);
    breaks.follow(list, list.deleteSelected());  // a new d c
    EXPECT_EQ(breaks.lines(), (Breakpoints{2}));
    // Two equal lines swapped: each mark stays where it was.
    ScriptList same;
    same.assign({"x", "x", "y"});
    BreakpointList two;
    two.toggle(same, 0);
    same.select(1);
    two.follow(same, same.moveUp());
    EXPECT_EQ(two.lines(), (Breakpoints{0}));

    // The list shows the mark; the lines, their file and their print do not.
    EXPECT_EQ(ListDisplayText(list.line(2), breaks.has(2)), std::string(kBreakpointMark) + "d");
    EXPECT_EQ(ListDisplayText(list.line(1), breaks.has(1)), "new");
    EXPECT_EQ(JoinCommaText(list.lines()), "a,new,d,c");
    EXPECT_FALSE(breaks.toggle(list, 2));  // F9 again clears it
    EXPECT_TRUE(breaks.empty());
}

TEST(Stepping, StepSelectsTheLineThatRunsNextAndTestGoesOnFromIt) {
    Composer c({"{.Top}", "a", "{:LoopTimes Top 2}", "{:Goto End}", "never", "{.End}", "b"});
    std::vector<int> selected;
    RunOutcome o = c.run(RunKind::Step, 1);
    while (o.paused) {
        selected.push_back(o.select);
        o = c.run(RunKind::Step, o.select);
    }
    EXPECT_EQ(o.end, RunEnd::Completed);
    EXPECT_EQ(selected, (std::vector<int>{2, 0, 1, 2, 3, 5, 6}));
    EXPECT_EQ(c.typed(), "aab");

    // A breakpoint inside the loop stops Test at each pass, with its line
    // to select; Step goes on from there, Test to the end.
    Composer t({"{.Top}", "a", "{:LoopTimes Top 3}", "b"});
    t.breaks.toggle(t.list, 1);
    o = t.run(RunKind::Test, -1);
    ASSERT_TRUE(o.paused);
    EXPECT_EQ(o.select, 1);
    EXPECT_EQ(t.typed(), "");
    o = t.run(RunKind::Step, o.select);
    EXPECT_EQ(o.select, 2);
    o = t.run(RunKind::Test, o.select);
    EXPECT_EQ(o.select, 1);
    EXPECT_EQ(t.typed(), "a");
    o = t.run(RunKind::Test, o.select);
    EXPECT_EQ(o.select, 1);
    EXPECT_EQ(t.typed(), "aa");
    o = t.run(RunKind::Test, o.select);
    EXPECT_FALSE(o.paused);
    EXPECT_EQ(o.end, RunEnd::Completed);
    EXPECT_EQ(t.typed(), "aaab");
    EXPECT_FALSE(t.engine.paused());

    // Test from Here runs from the selected line, past a breakpoint on it
    // and up to the next one.
    Composer h({"a", "b", "c", "d"});
    h.breaks.toggle(h.list, 1);
    h.breaks.toggle(h.list, 3);
    o = h.run(RunKind::FromHere, 1);
    EXPECT_EQ(o.select, 3);
    EXPECT_EQ(h.typed(), "bc");
    // With no breakpoints, Test and Test from Here run to the end.
    h.breaks.clear();
    o = h.run(RunKind::FromHere, 2);
    EXPECT_EQ(o.end, RunEnd::Completed);
    EXPECT_EQ(h.typed(), "bccd");
    o = h.run(RunKind::Test, 2);
    EXPECT_EQ(o.end, RunEnd::Completed);
    EXPECT_EQ(o.select, -1);
    EXPECT_EQ(h.typed(), "bccdabcd");
}

TEST(Stepping, AListEditedDuringAStepEndsThePausedRun) {
    Composer c({"{:PopUp 0 0 Look}", "text", "{:/}", "a", "b"});
    c.host.duringNote = [&] {
        c.list.select(4);
        c.list.insertLine("added");
    };
    const RunOutcome o = c.run(RunKind::Step, 0);
    EXPECT_EQ(o.end, RunEnd::Paused);
    EXPECT_TRUE(o.dropped);
    EXPECT_FALSE(o.paused);
    EXPECT_FALSE(c.engine.paused());
    // Unchanged, the same step pauses after the note block.
    c.host.duringNote = nullptr;
    const RunOutcome again = c.run(RunKind::Step, 0);
    EXPECT_TRUE(again.paused);
    EXPECT_EQ(again.select, 2);

    EXPECT_EQ(PausedTargetText(true, "Editor"), "Paused; target window: Editor");
    EXPECT_EQ(PausedTargetText(false, ""), "Paused; target window: none");
}
