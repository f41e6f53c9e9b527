#include "composer/model/command_builder.h"

#include <algorithm>

#include "composer/model/command_tree.h"
#include "engine/text.h"

namespace taskloom {
namespace {

using Kind = CommandOutcome::Kind;

// The text of a field sorts at or below a single blank: empty, one blank, or
// beginning with a control character. Bytes compare unsigned.
bool SortsAtOrBelowBlank(std::string_view text) { return text.compare(" ") <= 0; }

CommandOutcome Refuse(std::string line, std::string message, CommandFocus focus, bool refill = false) {
    CommandOutcome out;
    out.kind = Kind::Refused;
    out.scriptLine = std::move(line);
    out.message = std::move(message);
    out.focus = focus;
    out.refillControls = refill;
    return out;
}

CommandOutcome Add(std::string line) {
    CommandOutcome out;
    out.kind = Kind::Add;
    out.scriptLine = std::move(line);
    return out;
}

std::string Decimal(int n) { return std::to_string(n); }

// The spin holds 0 to 999; a value from anywhere else is held at its ends.
int SpinValue(int count) { return std::clamp(count, 0, 999); }

// Mouse commands and the control loops take the control list's caret line.
CommandOutcome WithControlLine(std::string line, const CommandSources& s) {
    const auto& lines = s.controlLines;
    if (s.thirdPageCaption == "Controls" && !lines.empty() && s.caretLine >= 1 &&
        static_cast<std::size_t>(s.caretLine) <= lines.size())
        return Add(line + " " + lines[static_cast<std::size_t>(s.caretLine) - 1]);
    return Refuse(std::move(line), "Please select a Control item", CommandFocus::ThirdPage,
                  s.haveTargetWindow);
}

// Delimiter "Other" and the file and clipboard loops take the value as typed.
CommandOutcome WithValue(std::string line, const CommandFields& f) {
    if (SortsAtOrBelowBlank(f.value))
        return Refuse(std::move(line), "Undefined <Value>", CommandFocus::ValueField);
    return Add(line + " " + f.value);
}

}  // namespace

bool HasLabel(const std::vector<std::string>& script, std::string_view name) {
    const std::string label = "{." + std::string(name) + "}";
    return std::any_of(script.begin(), script.end(),
                       [&](const std::string& l) { return EqualsNoCase(l, label); });
}

CommandOutcome ComposeCommand(std::string_view keyword, const CommandFields& f,
                              const std::vector<std::string>& script, const CommandSources& s) {
    std::string line(keyword);
    const bool loop = StartsWith(keyword, "{:Loop");
    const std::string name = TrimBlanks(f.name);

    // Commands that carry a name. A name of blanks only would write a
    // command without one, so it counts as no name at all.
    if (keyword == "{:Run" || keyword == "{:Load" || keyword == "{:ClipsLoad" || keyword == "{:ClipsSave" ||
        loop) {
        if (SortsAtOrBelowBlank(f.name) || name.empty())
            return Refuse(std::move(line), "Undefined <Name>", CommandFocus::NameField);
        line += " " + name;
        if (keyword == "{:Run") line += " " + TrimBlanks(f.value);
    }

    // Counts.
    if (StartsWith(keyword, "{:Pause") || keyword == "{:ClipsPaste" || keyword == "{:ClipsCopy")
        return Add(line + " " + Decimal(SpinValue(f.count)));

    // A label line. A name holding "}" would end the label's brace early:
    // no jump could ever find it, so it is refused as invalid.
    if (keyword == "{:LabelDefine") {
        if (name.empty() || Contains(name, " ") || Contains(name, "}"))
            return Refuse(std::move(line), "Undefined or Invalid <Name>\n" + name, CommandFocus::NameField);
        if (HasLabel(script, name))
            return Refuse(std::move(line), "Duplicate Label\n" + name, CommandFocus::NameField);
        return Add("{." + name);
    }

    // A jump.
    if (keyword == "{:LabelGoto") {
        if (!HasLabel(script, name))
            return Refuse(std::move(line), "Invalid Label\n" + name, CommandFocus::NameField);
        return Add("{:Goto " + name);
    }

    // The delimiter "Other".
    if (Contains(keyword, ":ClipsDelimiterOther")) return WithValue(std::move(line), f);

    // Loops: the name must be a label of the script.
    if (Contains(keyword, ":Loop")) {
        if (!HasLabel(script, name))
            return Refuse(std::move(line), "Invalid Label\n" + name, CommandFocus::NameField);
        if (Contains(keyword, ":LoopTimes")) return Add(line + " " + Decimal(SpinValue(f.count)));
        if (Contains(keyword, ":LoopMenu")) {
            if (s.menuItemCount > 1 && s.menuPath) return Add(line + " " + *s.menuPath);
            return Refuse(std::move(line), "Please select a Menu item", CommandFocus::MenusPage);
        }
        if (Contains(keyword, ":LoopWindow")) {
            if (s.windowTitle) return Add(line + " " + *s.windowTitle);
            return Refuse(std::move(line), "Please select a Window title", CommandFocus::WindowsPage);
        }
        if (Contains(keyword, ":LoopControlEQ") || Contains(keyword, ":LoopControlNE")) return Add(line);
        if (Contains(keyword, ":LoopControl")) return WithControlLine(std::move(line), s);
        if (Contains(keyword, ":LoopClipboard") || Contains(keyword, ":LoopFile"))
            return WithValue(std::move(line), f);
        return Add(line);  // ":LoopEOF"
    }

    // Mouse clicks on a control.
    if (Contains(keyword, ":Mouse")) return WithControlLine(std::move(line), s);

    // Captures of a field.
    if (keyword == "{:ClipsAddDOS" || keyword == "{:ClipsAddControls" || keyword == "{:ClipsAddFile") {
        if (s.selectionLength <= 0)
            return Refuse(std::move(line), "Please select a field", CommandFocus::ThirdPage);
        return Add(line + " " + Decimal(s.caretLine) + " " + Decimal(s.caretColumn) + " " +
                   Decimal(s.selectionLength));
    }

    // Everything else as it is.
    return Add(line);
}

CommandOutcome AddCommandClick(std::size_t item, const CommandFields& fields,
                               const std::vector<std::string>& script, const CommandSources& sources) {
    if (item >= CommandTree().size()) return {};
    const std::optional<std::string> keyword = CommandKeyword(item);
    if (!keyword) return {};
    return ComposeCommand(*keyword, fields, script, sources);
}

BrowseTarget BrowseAllClick(BrowseButton pressed) {
    return pressed == BrowseButton::Name ? BrowseTarget::NameField : BrowseTarget::ValueField;
}

}  // namespace taskloom
