// Stepping through the script in the composer: the breakpoints that lines
// of the list carry, and what Test, Test from Here and Step ask of the
// engine's paused run.
//
// Breakpoints live in memory only. They mark the list's display, never a
// line's text: saving, printing and copying see the lines as they stand.
// A breakpoint stays with its line when lines are added, deleted or moved
// around it, and goes with its line when that line is deleted.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "composer/model/composer_model.h"
#include "engine/engine.h"

namespace taskloom {

// What the list shows in front of a line that carries a breakpoint.
inline constexpr const char* kBreakpointMark = "(*) ";

// The list box's text for a line: the line, with the mark in front when it
// carries a breakpoint.
std::string ListDisplayText(const std::string& line, bool breakpoint);

class BreakpointList {
public:
    bool empty() const { return lines_.empty(); }
    bool has(std::size_t index) const { return lines_.count(index) != 0; }
    // The lines (indexes from 0) before which a run pauses, for the engine.
    const Breakpoints& lines() const { return lines_; }

    // F9 on line `index` of `list`: sets the breakpoint or clears it.
    // Answers whether the line carries one now; a line outside the list
    // carries none.
    bool toggle(const ScriptList& list, std::size_t index);
    void clear();

    // The list was edited as `change` says; `list` holds the new lines.
    // Breakpoints before the change keep their place, those after it move
    // with their lines. One on a line inside the change stays on that line
    // where the change put it (a line moved up or down), or goes when its
    // line is gone.
    void follow(const ScriptList& list, const ListChange& change);

private:
    Breakpoints lines_;
    std::map<std::size_t, std::string> texts_;  // the text of each marked line
};

// The composer's ways of running the list.
enum class RunKind {
    Test,      // Test: a paused run goes on; otherwise the whole list from line 1
    FromHere,  // Test from Here: a new run from the selected line to the end
    Step,      // Step: the selected line only, of the paused run when there is one
};

struct RunOutcome {
    RunEnd end = RunEnd::Completed;
    bool paused = false;   // a run waits for Step or Test to go on
    int select = -1;       // the line to select now (the next to run); -1: as the run left it
    bool dropped = false;  // the run paused but the list changed meanwhile: it was ended
};

// Runs `kind` on `engine`, whose host runs the lines of `list`, pausing at
// `breaks`. With no breakpoints and no paused run, Test is the plain run of
// the whole script. A run that pauses names the line that runs next; when
// the list was edited while the run went on, the paused run would go on
// with line numbers of a list that is gone, so it is ended instead.
// Failures of a line pass through (RunError), as from RunScript.
RunOutcome RunInComposer(Engine& engine, RunKind kind, const ScriptList& list, const BreakpointList& breaks);

// The status bar's window panel while a run is paused: the window the
// script works on, which the next line's keys and commands go to.
std::string PausedTargetText(bool hasTarget, const std::string& title);

}  // namespace taskloom
