// The checks of the commands other than notes, remarks and loops: pauses,
// captures, delimiters, window switches, program starts, menus, mouse
// clicks, and keywords that match no command.
#include "engine/checker_parts.h"

#include "engine/text.h"

namespace taskloom::check {

void Checker::checkCommand(std::size_t i) {
    const LineReading& r = *readings_[i];
    const std::string& s = r.scriptLine;
    const std::string keyword = FirstWord(s);
    const std::string shown = Braced(s);
    switch (ClassifyCommand(r)) {
        case CommandKind::Pause:
            if (keyword != ":Pause" && keyword != ":PauseSeconds" && s.find("1/10", 5) == npos)
                warning(i, shown + " waits whole seconds: the pause forms are \":PauseSeconds n\" and " +
                               "\":Pause1/10 n\" (tenths)");
            break;
        case CommandKind::ClipsAdd:
            checkCapture(i, r, keyword);
            break;
        case CommandKind::ClipsDelimit:
            checkDelimiter(i, r, keyword);
            break;
        case CommandKind::WindowSwitch:
            if (s.find(' ') == npos)
                warning(i, shown + " names no window: it looks for a window titled " + Quote(s) +
                               ", and without one the run ends with \"Inactive Window\"; write " +
                               Braced(keyword + " title"));
            break;
        case CommandKind::Run:
            if (s.find(' ') == npos)
                warning(i, shown + " names no program: it starts a program named " + Quote(s) +
                               ", which fails without a word; write " + Braced(keyword + " program"));
            break;
        case CommandKind::Menu:
            if (!Contains(r.parameter, "&"))
                warning(i, shown + " holds no \"&\": it only presses Alt (the menu keys are the letters " +
                               "after \"&\" in each level)");
            break;
        case CommandKind::PopUp:
            checkNote(i, r);
            break;
        case CommandKind::Mouse:
            checkMouse(i, keyword);
            break;
        case CommandKind::Loop:
            checkLoop(i, r);
            break;
        case CommandKind::Nothing:
            checkNothing(i, r, keyword);
            break;
        default:
            break;
    }
}

void Checker::checkCapture(std::size_t i, const LineReading& r, const std::string& keyword) {
    const std::string& s = r.scriptLine;
    if (s == ":ClipsAddClipboard" || s == ":ClipsAddText" || s == ":ClipsAddForm" ||
        StartsWith(s, ":ClipsAddDOS") || StartsWith(s, ":ClipsAddControls") || StartsWith(s, ":ClipsAddFile"))
        return;
    const bool known =
        keyword == ":ClipsAddClipboard" || keyword == ":ClipsAddText" || keyword == ":ClipsAddForm";
    std::string message = Braced(s) + " copies the focused field's line but adds nothing to the clips";
    if (known) {
        message += ": " + Quote(keyword) + " takes nothing after it";
    } else {
        message += ": no capture has the keyword " + Quote(keyword);
        if (auto meant = MeantKeyword(keyword, FormsBeginning(":ClipsAdd"), budget_))
            message += "; did you mean " + Quote(*meant) + "?";
    }
    warning(i, message);
}

void Checker::checkDelimiter(std::size_t i, const LineReading& r, const std::string& keyword) {
    const std::string& s = r.scriptLine;
    if (Contains(s, "Line") || Contains(s, "None") || keyword == ":ClipsDelimiterTab") return;
    const std::string set = r.parameter.empty() ? " " : r.parameter.substr(0, 1);
    if (keyword == ":ClipsDelimiterOther" && s.find(' ') != npos) return;
    warning(i,
            Braced(s) + " sets the clips delimiter to " + Quote(set) +
                (s.find(' ') == npos ? " (the first character of its own text)" : "") +
                "; the forms are \":ClipsDelimiterLine\", \":ClipsDelimiterTab\", \":ClipsDelimiterNone\" " +
                "and \":ClipsDelimiterOther c\"");
}

// A mouse command whose keyword is none of the clicks.
void Checker::checkMouse(std::size_t i, const std::string& keyword) {
    if (StartsWith(keyword, ":MouseClick") || StartsWith(keyword, ":MouseDblClick") ||
        StartsWith(keyword, ":MouseRightClick"))
        return;
    std::string message = Quote(keyword) + " is taken as a right click";
    if (auto meant = MeantKeyword(keyword, FormsBeginning(":Mouse"), budget_))
        message += "; did you mean " + Quote(*meant) + "?";
    warning(i, message);
}

void Checker::checkNothing(std::size_t i, const LineReading& r, const std::string& keyword) {
    const std::string& s = r.scriptLine;
    const std::string shown = Braced(s);
    if (StartsWith(s, ":Run")) {
        warning(i, shown + " names no program: the line does nothing; write " + Braced(":Run program"));
    } else if (keyword == ":ClipsClear") {
        warning(i, shown + " does nothing: \":ClipsClear\" must stand alone in its braces");
    } else if (keyword == ":LabelGoto") {
        warning(i, shown + " does nothing: a jump is written " + Braced(":Goto" + s.substr(keyword.size())));
    } else if (keyword == ":LabelDefine") {
        warning(i, shown + " does nothing: a label is written " + Braced("." + TrimBlanks(r.parameter)));
    } else {
        std::string message = "no command has the keyword " + Quote(keyword) + ": the line does nothing";
        if (auto meant = MeantKeyword(keyword, CommandForms(), budget_))
            message += "; did you mean " + Quote(*meant) + "?";
        warning(i, message);
    }
}

}  // namespace taskloom::check
