#include "engine/loops.h"

#include <initializer_list>

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
        {":Goto", LoopFamily::Goto},           {":LoopTimes", LoopFamily::Times},
        {":LoopEOF", LoopFamily::EndOfClips},  {":LoopWindow", LoopFamily::Window},
        {":LoopFile", LoopFamily::File},       {":LoopMenu", LoopFamily::Menu},
        {":LoopClipboard", LoopFamily::Clipboard}, {":LoopControl", LoopFamily::Control},
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
            return NamesAny(keyword, {"ControlEnabled", "ControlDisabled"}) || ControlLoopByClipboard(keyword);
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

}  // namespace taskloom
