#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/sim/script_run.h"

using namespace taskloom;
using Lines = std::vector<std::string>;

namespace {

// A script with labels, a counted loop, a note and a window loop whose
// window shows up on the second pass: what the run did, line by line.
struct Scenario {
    sim::ScriptRun f{Flavor::Composer};
    Wnd editor = f.d.addWindow("Editor");
    Wnd dialog = f.d.addWindow("Dialog", {.visible = false});
    Wnd composer = f.d.addWindow("Loomwright");
    int bs = 0;

    Scenario() {
        f.host.lines = {"{:TO Editor}",
                        "{.Top}",
                        "a",
                        "{:LoopTimes Top 3}",
                        "{:PopUp 10 20 Look}",
                        "counted",
                        "{:Pause1/10 1}",
                        "{.Wait}",
                        "b",
                        "{:LoopWindowActive Wait Dialog}",
                        "{:Goto Done}",
                        "never",
                        "{.Done}",
                        "c"};
        f.d.setForegroundDirect(composer);
        f.d.onKey = [this](const KeyEvent& e) {
            if (e.vk == 'B' && !e.up && ++bs == 2) f.d.setVisible(dialog, true);
        };
    }
    // Everything the run did that a user could see.
    // What was typed into the editor (its text after its title).
    std::string typed() const { return f.d.text(editor).substr(6); }
    std::string events() const {
        std::string out = typed() + "|";
        for (std::size_t i : f.host.selected) out += std::to_string(i) + ",";
        for (const auto& n : f.host.notes) out += "|" + n.title + ":" + n.lines.at(0);
        return out;
    }
};

}  // namespace

TEST(Stepping, StepsRunEveryLineAsAWholeRunDoes) {
    Scenario whole;
    ASSERT_EQ(whole.f.engine.RunScript(), RunEnd::Completed);
    EXPECT_EQ(whole.typed(), "aaabbc");

    // Step by step, each time from the line the engine says runs next, with
    // the user back in the composer between two steps.
    Scenario stepped;
    std::vector<std::size_t> next;
    RunEnd end = stepped.f.engine.Step(0);
    while (end == RunEnd::Paused) {
        next.push_back(stepped.f.engine.pausedAt());
        stepped.f.d.setForegroundDirect(stepped.composer);
        end = stepped.f.engine.Step(stepped.f.engine.pausedAt());
    }
    EXPECT_EQ(end, RunEnd::Completed);
    EXPECT_FALSE(stepped.f.engine.paused());
    EXPECT_EQ(stepped.events(), whole.events());
    EXPECT_EQ(stepped.f.d.text(stepped.composer), "Loomwright");  // no key went astray
    // Jumps and loops followed: back to the label line, past the note's
    // text, over the skipped line.
    EXPECT_EQ(next,
              (std::vector<std::size_t>{1, 2, 3, 1, 2, 3, 1, 2, 3, 4, 6, 7, 8, 9, 7, 8, 9, 10, 12, 13}));
    EXPECT_EQ(stepped.f.engine.targetWnd(), whole.f.engine.targetWnd());
}

TEST(Stepping, BreakpointsPauseAtEveryPassAndTheRunGoesOnFromThem) {
    Scenario s;
    Engine& e = s.f.engine;
    const Breakpoints breaks{2, 8};
    std::vector<std::string> seen;
    RunEnd end = e.RunFrom(0, breaks);
    while (end == RunEnd::Paused) {
        seen.push_back(std::to_string(e.pausedAt()) + ":" + s.typed());
        end = e.Resume(breaks);
    }
    EXPECT_EQ(end, RunEnd::Completed);
    EXPECT_EQ(seen, (Lines{"2:", "2:a", "2:aa", "8:aaa", "8:aaab"}));
    EXPECT_EQ(s.typed(), "aaabbc");

    // A breakpoint on the first line holds a fresh run before it; a step
    // from a breakpoint runs that line and goes on from the next.
    Scenario t;
    EXPECT_EQ(t.f.engine.RunFrom(0, {0}), RunEnd::Paused);
    EXPECT_EQ(t.f.engine.pausedAt(), 0u);
    EXPECT_TRUE(t.f.host.selected.empty());
    EXPECT_EQ(t.f.engine.Step(0), RunEnd::Paused);
    EXPECT_EQ(t.f.engine.pausedAt(), 1u);
    // A run from a later line drops the paused one.
    EXPECT_EQ(t.f.engine.RunFrom(12), RunEnd::Completed);
    EXPECT_EQ(t.typed(), "c");
    EXPECT_FALSE(t.f.engine.paused());
}

TEST(Stepping, APausedRunKeepsItsLoopCountersUntilItEnds) {
    sim::ScriptRun f{Flavor::Composer};
    f.host.lines = {"{.L}", "x", "{:LoopTimes L 2}", "y"};
    EXPECT_EQ(f.engine.Step(1), RunEnd::Paused);
    EXPECT_EQ(f.engine.Step(2), RunEnd::Paused);  // first pass: back to the label
    EXPECT_EQ(f.engine.pausedAt(), 0u);
    // The user picks the loop line again: the counter of this run is used up.
    EXPECT_EQ(f.engine.Step(2), RunEnd::Paused);
    EXPECT_EQ(f.engine.pausedAt(), 3u);
    EXPECT_EQ(f.engine.Step(3), RunEnd::Completed);
    EXPECT_EQ(f.typed(), "xy");
    // A new run counts afresh; a forgotten pause too.
    EXPECT_EQ(f.engine.Step(2), RunEnd::Paused);
    EXPECT_EQ(f.engine.pausedAt(), 0u);
    f.engine.endPausedRun();
    EXPECT_FALSE(f.engine.paused());
    EXPECT_EQ(f.engine.Step(2), RunEnd::Paused);
    EXPECT_EQ(f.engine.pausedAt(), 0u);
}

TEST(Stepping, RunsThatEndOrFailLeaveNothingPaused) {
    sim::ScriptRun f{Flavor::Composer};
    f.host.lines = {"a", "{:Goto Nowhere}", "{:PopUp x 1 T}", "text", "b"};
    EXPECT_EQ(f.engine.Step(0), RunEnd::Paused);
    EXPECT_EQ(f.engine.Step(1), RunEnd::Message);
    EXPECT_FALSE(f.engine.paused());
    EXPECT_EQ(f.engine.Step(0), RunEnd::Paused);
    EXPECT_THROW(f.engine.Step(2), RunError);  // the note's x is no number
    EXPECT_FALSE(f.engine.paused());
    EXPECT_FALSE(f.engine.running());

    // A stop request while a step's pause waits ends the run there.
    f.host.lines = {"{:PauseSeconds 5}", "b"};
    f.d.onSleep = [&](unsigned) { f.engine.requestStop(); };
    EXPECT_EQ(f.engine.Step(0), RunEnd::Stopped);
    EXPECT_FALSE(f.engine.paused());
    EXPECT_EQ(f.typed(), "aa");
    // No modifier stays down after a step that pressed one.
    f.d.onSleep = nullptr;
    f.engine.setTargetWnd(-1);
    f.host.lines = {"{Ctrl}{Shift}", "z"};
    EXPECT_EQ(f.engine.Step(0), RunEnd::Paused);
    EXPECT_FALSE(f.d.isKeyDown(kVkControl) || f.d.isKeyDown(kVkShift));
}
