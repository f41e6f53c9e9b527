#include "composer/model/stepping.h"

#include <vector>

namespace taskloom {

std::string ListDisplayText(const std::string& line, bool breakpoint) {
    return breakpoint ? kBreakpointMark + line : line;
}

bool BreakpointList::toggle(const ScriptList& list, std::size_t index) {
    if (index >= list.size()) return false;
    if (lines_.erase(index) != 0) {
        texts_.erase(index);
        return false;
    }
    lines_.insert(index);
    texts_[index] = list.line(index);
    return true;
}

void BreakpointList::clear() {
    lines_.clear();
    texts_.clear();
}

void BreakpointList::follow(const ScriptList& list, const ListChange& change) {
    if (!change.any() || texts_.empty()) return;
    const std::size_t end = change.at + change.removed;  // old entries [at, end) were replaced
    std::map<std::size_t, std::string> moved;
    std::vector<bool> taken(change.inserted, false);
    // The new entries [at, at + inserted) that can take a breakpoint of the
    // replaced stretch: the same place when its text is there still, else
    // the first place of that text not yet taken.
    auto place = [&](std::size_t old, const std::string& text) -> std::size_t {
        const std::size_t none = list.size();
        if (old - change.at < change.inserted && !taken[old - change.at] && old < list.size() &&
            list.line(old) == text)
            return old;
        for (std::size_t j = 0; j < change.inserted; ++j) {
            const std::size_t at = change.at + j;
            if (!taken[j] && at < list.size() && list.line(at) == text) return at;
        }
        return none;
    };
    for (const auto& [index, text] : texts_) {
        if (index < change.at) {
            moved[index] = text;
        } else if (index >= end) {
            const std::size_t now = index - change.removed + change.inserted;
            if (now < list.size()) moved[now] = text;
        } else if (const std::size_t now = place(index, text); now < list.size()) {
            taken[now - change.at] = true;
            moved[now] = text;
        }
    }
    texts_ = std::move(moved);
    lines_.clear();
    for (const auto& entry : texts_) lines_.insert(entry.first);
}

namespace {

RunEnd Start(Engine& engine, RunKind kind, const ScriptList& list, const Breakpoints& breaks) {
    const std::size_t selected = list.hasSelection() ? static_cast<std::size_t>(list.selected()) : 0;
    switch (kind) {
        case RunKind::Step:
            return engine.Step(selected);
        case RunKind::FromHere: {
            // The user asked to run from this line: a breakpoint on it does
            // not hold the run before it has begun (it does when a loop
            // comes back to it).
            const RunEnd end = engine.RunFrom(selected, breaks);
            if (end == RunEnd::Paused && engine.pausedAt() == selected) return engine.Resume(breaks);
            return end;
        }
        case RunKind::Test:
            if (engine.paused()) return engine.Resume(breaks);
            if (breaks.empty()) return engine.RunScript();
            return engine.RunFrom(0, breaks);
    }
    return RunEnd::Completed;
}

}  // namespace

RunOutcome RunInComposer(Engine& engine, RunKind kind, const ScriptList& list, const BreakpointList& breaks) {
    const std::uint64_t before = list.generation();
    RunOutcome out;
    out.end = Start(engine, kind, list, breaks.lines());
    if (out.end != RunEnd::Paused) return out;
    if (list.generation() != before || engine.pausedAt() >= list.size()) {
        engine.endPausedRun();
        out.dropped = true;
        return out;
    }
    out.paused = true;
    out.select = static_cast<int>(engine.pausedAt());
    return out;
}

std::string PausedTargetText(bool hasTarget, const std::string& title) {
    if (!hasTarget) return "Paused; target window: none";
    return "Paused; target window: " + (title.empty() ? std::string("(no title)") : title);
}

}  // namespace taskloom
