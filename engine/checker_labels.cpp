// The checks of labels and of the loops and jumps that go to them.
#include "engine/checker_parts.h"

#include <algorithm>

#include "engine/loops.h"
#include "engine/text.h"

namespace taskloom::check {

void Checker::findLabels() {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = LabelOfLine(lines_[i])) {
            const std::string key = UpperCase(*name);
            if (auto first = labels_.find(key); first != labels_.end()) {
                error(i, "the label " + Quote(lines_[i]) + " is defined again (first on " +
                             LineWord(first->second) + "; labels compare without case): every jump goes to " +
                             LineWord(first->second) + " and none can reach this line");
            } else {
                labels_.emplace(key, i);
            }
            continue;
        }
        if (!blockOf_[i]) findStrayLabels(i);
    }
}

// A label token on a line that holds more than the label, and a label line
// with blanks before it, are not found by a jump.
void Checker::findStrayLabels(std::size_t i) {
    const LineScan& s = scans_[i];
    for (const Token& t : s.tokens) {
        if (t.kind != LineToken::Label) continue;
        const std::string name = t.text.substr(1);
        warning(i, "the label " + Braced(t.text) + " cannot be found by a jump: its line holds more than " +
                       "the label (a label line holds nothing but " + Braced(t.text) + ")");
        strayLabels_.emplace(UpperCase(name), i);
    }
    const std::string& line = lines_[i];
    if (!line.empty() && static_cast<unsigned char>(line[0]) <= 32 && s.literalFrom == 0) {
        const std::string trimmed = TrimBlanks(line);
        const std::size_t close = trimmed.find('}');
        if (StartsWith(trimmed, "{.") && close != npos) {
            const std::string token = trimmed.substr(1, close - 1);
            warning(i, "the label " + Braced(token) + " cannot be found by a jump: blanks stand before " +
                           "it, and the line is typed as text (a label line holds nothing but " +
                           Braced(token) + ")");
            strayLabels_.emplace(UpperCase(token.substr(1)), i);
        }
    }
}

void Checker::checkLoop(std::size_t i, const LineReading& r) {
    const std::string& s = r.scriptLine;
    const std::string& value = r.parameter;
    const std::string label = value.substr(0, value.find(' '));
    if (s.find(' ') == npos) {
        error(i, Braced(s) + " names no label: the run would end with \"Undefined Label: {." + label +
                     "}\"; write " + Braced(s + " label"));
        return;
    }
    checkLoopLabel(i, r, label);
    checkLoopKind(i, r, label);
}

// Whether some line defines the label the loop jumps to; if none does, a
// label a jump cannot find or a label of a like name.
void Checker::checkLoopLabel(std::size_t i, const LineReading& r, const std::string& label) {
    if (labels_.count(UpperCase(label))) return;
    const std::string wanted = "{." + label + "}";
    std::string message = "no line defines the label " + Quote(label) + " that " + Braced(r.scriptLine) +
                          " jumps to: the run would end with \"Undefined Label: " + wanted + "\"";
    if (auto stray = strayLabels_.find(UpperCase(label)); stray != strayLabels_.end()) {
        message += "; " + LineWord(stray->second) + " holds " + Quote(wanted) +
                   " with more on its line, so a jump cannot find it";
    } else {
        if (labelNames_.empty())
            for (const auto& [key, where] : labels_) labelNames_.push_back(*LabelOfLine(lines_[where]));
        if (auto meant = Nearest(label, labelNames_, std::max<std::size_t>(1, label.size() / 3), budget_))
            message +=
                "; did you mean " + Quote(*meant) + " (" + LineWord(labels_.at(UpperCase(*meant))) + ")?";
    }
    error(i, message);
}

// The loop's keyword: a counted loop's count and where its label stands, a
// keyword of no loop, a condition no loop of its family has.
void Checker::checkLoopKind(std::size_t i, const LineReading& r, const std::string& label) {
    const std::string& s = r.scriptLine;
    const std::string& value = r.parameter;
    const std::size_t vb = value.find(' ');
    const std::string rest = vb == npos ? std::string() : value.substr(vb + 1);
    const std::string wanted = "{." + label + "}";
    const auto found = labels_.find(UpperCase(label));
    const std::string keyword = s.substr(0, s.find(' '));
    const LoopFamily family = LoopFamilyOf(keyword);
    if (family == LoopFamily::Times) {
        const std::int32_t n = ReadCount(rest);
        if (n < 1) {
            warning(i, Braced(s) +
                           (IsBlankText(rest)
                                ? " has no count"
                                : " has the count " + Quote(rest) + ", which reads as " + std::to_string(n)) +
                           ": the loop does not repeat; write " + Braced(keyword + " " + label + " n"));
        } else if (n >= 2 && found != labels_.end() && found->second > i) {
            warning(i, "the label " + Quote(wanted) + " of the counted loop " + Braced(s) +
                           " stands after it (" + LineWord(found->second) +
                           "): the loop jumps forward once and repeats nothing; put " +
                           "the label before the lines to repeat");
        }
    } else if (family == LoopFamily::None) {
        std::string message = "no loop has the keyword " + Quote(keyword) + ": the line does nothing";
        if (auto meant = MeantKeyword(keyword, FormsBeginning(":Loop"), budget_))
            message += "; did you mean " + Quote(*meant) + "?";
        warning(i, message);
    } else if (!NamesCondition(family, keyword)) {
        static const std::map<LoopFamily, const char*> kPrefix{
            {LoopFamily::Window, ":LoopWindow"},   {LoopFamily::File, ":LoopFile"},
            {LoopFamily::Menu, ":LoopMenu"},       {LoopFamily::Clipboard, ":LoopClipboard"},
            {LoopFamily::Control, ":LoopControl"},
        };
        const char* prefix = kPrefix.at(family);
        std::string message = Quote(keyword) + " names no condition of the " + Quote(std::string(prefix)) +
                              " loops: the loop " +
                              (family == LoopFamily::Clipboard ? "always jumps" : "never jumps");
        if (auto meant = MeantKeyword(keyword, FormsBeginning(prefix), budget_))
            message += "; did you mean " + Quote(*meant) + "?";
        warning(i, message);
    }
}

}  // namespace taskloom::check
