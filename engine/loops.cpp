#include "engine/loops.h"

#include <initializer_list>

#include "engine/engine.h"
#include "engine/engine_run.h"
#include "engine/filestore.h"
#include "engine/lookup.h"
#include "engine/sendkey.h"
#include "engine/text.h"

namespace taskloom {
namespace {

struct Condition {
    bool named;  // the keyword names it
    bool holds;
};

// A keyword may name more than one condition of its family (all must hold)
// or none (nothing to wait for).
bool EveryNamedHolds(std::initializer_list<Condition> conditions) {
    for (const Condition& c : conditions)
        if (c.named && !c.holds) return false;
    return true;
}

bool NamesAny(std::string_view keyword, std::initializer_list<std::string_view> parts) {
    for (std::string_view p : parts)
        if (Contains(keyword, p)) return true;
    return false;
}

}  // namespace

LoopFamily LoopFamilyOf(std::string_view keyword) {
    static constexpr struct {
        std::string_view prefix;
        LoopFamily family;
    } kFamilies[] = {
        {":Goto", LoopFamily::Goto},
        {":LoopTimes", LoopFamily::Times},
        {":LoopEOF", LoopFamily::EndOfClips},
        {":LoopWindow", LoopFamily::Window},
        {":LoopFile", LoopFamily::File},
        {":LoopMenu", LoopFamily::Menu},
        {":LoopClipboard", LoopFamily::Clipboard},
        {":LoopControl", LoopFamily::Control},
    };
    for (const auto& f : kFamilies)
        if (StartsWith(keyword, f.prefix)) return f.family;
    return LoopFamily::None;
}

bool NamesCondition(LoopFamily family, std::string_view keyword) {
    switch (family) {
        case LoopFamily::Goto:
        case LoopFamily::Times:
        case LoopFamily::EndOfClips:
            return true;
        case LoopFamily::Window:
            return NamesAny(keyword, {"WindowActive", "WindowInactive"});
        case LoopFamily::File:
            return NamesAny(keyword, {"Exists", "NotFound"});
        case LoopFamily::Menu:
            return NamesAny(keyword, {"Enabled", "Disabled"});
        case LoopFamily::Clipboard:
            return NamesAny(keyword, {"Contains", "LT", "LE", "EQ", "GE", "GT"});
        case LoopFamily::Control:
            return NamesAny(keyword, {"ControlEnabled", "ControlDisabled"}) ||
                   ControlLoopByClipboard(keyword);
        case LoopFamily::None:
            break;
    }
    return false;
}

bool WindowLoopHolds(std::string_view keyword, bool visible) {
    return EveryNamedHolds(
        {{Contains(keyword, "WindowActive"), visible}, {Contains(keyword, "WindowInactive"), !visible}});
}

bool FileLoopHolds(std::string_view keyword, bool exists) {
    return EveryNamedHolds({{Contains(keyword, "Exists"), exists}, {Contains(keyword, "NotFound"), !exists}});
}

bool MenuLoopHolds(std::string_view keyword, bool enabled) {
    return EveryNamedHolds(
        {{Contains(keyword, "Enabled"), enabled}, {Contains(keyword, "Disabled"), !enabled}});
}

bool ClipboardLoopHolds(std::string_view keyword, const std::string& clip, const std::string& value) {
    if (Contains(keyword, "Contains")) {
        const bool held = !value.empty() && Contains(clip, value);
        return Contains(keyword, "NOT") ? !held : held;
    }
    const int c = clip.compare(value);
    return (Contains(keyword, "LT") && c < 0) || (Contains(keyword, "LE") && c <= 0) ||
           (Contains(keyword, "EQ") && c == 0) || (Contains(keyword, "GE") && c >= 0) ||
           (Contains(keyword, "GT") && c > 0);
}

bool ControlLoopByClipboard(std::string_view keyword) {
    return StartsWith(keyword, ":LoopControlEQ") || StartsWith(keyword, ":LoopControlNE");
}

bool ControlLoopHolds(std::string_view keyword, bool found, bool enabled) {
    return EveryNamedHolds({{Contains(keyword, "ControlEnabled"), found && enabled},
                            {Contains(keyword, "ControlDisabled"), !(found && enabled)},
                            {StartsWith(keyword, ":LoopControlEQ"), found},
                            {StartsWith(keyword, ":LoopControlNE"), !found}});
}

// --- the interpreter's loop lines ------------------------------------------

void Engine::jumpOrLoop(Run& run, const LineReading& r) {
    const std::string& s = r.scriptLine;
    const size_t blank = s.find(' ');
    const std::string keyword = blank == std::string::npos ? std::string() : s.substr(0, blank);
    const std::string& value = r.parameter;
    const size_t vb = value.find(' ');
    const std::string label = value.substr(0, vb);
    const std::string rest = vb == std::string::npos ? std::string() : value.substr(vb + 1);

    std::size_t labelIndex = 0;
    if (!findLabel(label, labelIndex)) {
        outcome([&] { return "label {." + label + "} not found"; });
        endWithMessage(run, "Undefined Label: \r{." + label + "}\rQuitting Script...");
        return;
    }
    const LoopFamily family = LoopFamilyOf(keyword);
    if (family == LoopFamily::None) {
        outcome([] { return "no such loop: nothing done"; });
        return;
    }
    if (family == LoopFamily::EndOfClips && !nextClipsLine(run)) return;
    const bool jump = !loopHolds(run, family, keyword, rest);
    outcome([&] { return jump ? "jump to line " + std::to_string(labelIndex + 1) : std::string("go on"); });
    // The label line runs next (it does nothing); for a label on the first
    // line the index wraps and the step to the next line brings it to 0.
    if (jump) run.index = labelIndex - 1;
}

// Whether the loop's condition holds: the loop jumps back while it does not.
bool Engine::loopHolds(Run& run, LoopFamily family, const std::string& keyword, const std::string& rest) {
    switch (family) {
        case LoopFamily::Times:
            return countedLoopDone(run, rest);
        case LoopFamily::Window:
            return windowLoopHolds(keyword, rest);
        case LoopFamily::File:
            return fileLoopHolds(keyword, rest);
        case LoopFamily::Menu:
            return menuLoopHolds(keyword, rest);
        case LoopFamily::Clipboard:
            return ClipboardLoopHolds(keyword, clipboardLine(), rest);
        case LoopFamily::Control:
            return controlLoopHolds(keyword, rest);
        default:  // ":Goto", and ":LoopEOF" once it has read a line
            return false;
    }
}

// Each ":LoopTimes" line counts its own rounds: the count is read when the
// line is reached afresh; once its jumps are used up, the counter is ready
// for the next time.
bool Engine::countedLoopDone(Run& run, const std::string& rest) {
    std::int32_t& counter = run.loopCounters.try_emplace(run.index, -1).first->second;
    if (counter == 1) {
        counter = -1;
        return true;
    }
    if (counter < 0) {
        const std::int32_t n = ReadCount(rest);
        if (n < 2) return true;
        counter = n;
    }
    --counter;
    return false;
}

// The next line of the clips file into the clips buffer; at the file's end
// (or with none open) the run ends.
bool Engine::nextClipsLine(Run& run) {
    if (!clipsFile_) {
        outcome([&] { return "no clips file is open"; });
        run.over = true;
        run.end = RunEnd::EndOfClips;
        return false;
    }
    clips_.clear();
    std::string line;
    readClipsLine(line);
    if (line.empty()) {
        outcome([&] { return "end of the clips file"; });
        run.over = true;
        run.end = RunEnd::EndOfClips;
        return false;
    }
    clips_.setLines(SplitCommaText(line));
    return true;
}

bool Engine::windowLoopHolds(const std::string& keyword, const std::string& title) {
    target_ = FindWindowByTitle(d_, title);
    const bool visible = target_ != 0 && d_.isVisible(target_);
    outcome(
        [&] { return std::string("window \"") + title + (visible ? "\" visible" : "\" missing or hidden"); });
    return WindowLoopHolds(keyword, visible);
}

bool Engine::fileLoopHolds(const std::string& keyword, const std::string& name) {
    const bool exists = FileExists(name);
    outcome([&] { return std::string("file \"") + name + (exists ? "\" exists" : "\" not found"); });
    return FileLoopHolds(keyword, exists);
}

bool Engine::menuLoopHolds(const std::string& keyword, const std::string& path) {
    const bool enabled = MenuPathEnabled(d_, target_, path.empty() ? path : path.substr(1));
    outcome([&] { return enabled ? "menu item enabled" : "menu item disabled or missing"; });
    return MenuLoopHolds(keyword, enabled);
}

bool Engine::controlLoopHolds(const std::string& keyword, const std::string& text) {
    const std::string wanted = ControlLoopByClipboard(keyword) ? clipboardLine() : text;
    const Wnd control = FindControl(d_, target_, wanted);
    const bool enabled = control && d_.isEnabled(control);
    outcome([&] {
        return "control \"" + wanted + (!control ? "\" not found" : enabled ? "\" enabled" : "\" disabled");
    });
    return ControlLoopHolds(keyword, control != 0, enabled);
}

}  // namespace taskloom
