#include "engine/composer_model.h"

#include <algorithm>
#include <utility>

#include "engine/filestore.h"
#include "engine/text.h"

namespace taskloom {

namespace {

constexpr std::string_view kPopupPrefix = "{:PopUp";
constexpr std::string_view kRemarkPrefix = "{:/ Remark";

}  // namespace

// Two edits one after the other reported as one: insertions that follow on
// from each other as one insertion, anything else as the whole stretch from
// the first entry touched to the end of the list.
ListChange MergeChanges(ListChange a, ListChange b, std::size_t newSize) {
    if (!a.any()) return b;
    if (!b.any()) return a;
    if (a.removed == 0 && b.removed == 0 && b.at >= a.at && b.at <= a.at + a.inserted)
        return {a.at, 0, a.inserted + b.inserted};
    const std::size_t begin = std::min(a.at, b.at);
    const std::size_t oldSize = newSize + a.removed + b.removed - a.inserted - b.inserted;
    return {begin, oldSize - begin, newSize - begin};
}

// --- ScriptList ---------------------------------------------------------------

void ScriptList::select(int index) {
    selected_ = index >= 0 && static_cast<std::size_t>(index) < lines_.size() ? index : kNone;
}

void ScriptList::selectFirstIfNone() {
    if (selected_ == kNone && !lines_.empty()) selected_ = 0;
}

ListChange ScriptList::changed(ListChange c) {
    if (c.any()) {
        ++generation_;
        modified_ = true;
    }
    return c;
}

ListChange ScriptList::assign(std::vector<std::string> lines) {
    const ListChange c{0, lines_.size(), lines.size()};
    lines_ = std::move(lines);
    selected_ = kNone;
    ++generation_;
    return c;
}

ListChange ScriptList::insertLine(std::string line) {
    // Below the selected line; at the end without one. The new line is
    // selected in both cases, so the next line goes below it.
    const std::size_t at = hasSelection() ? static_cast<std::size_t>(selected_) + 1 : lines_.size();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    selected_ = static_cast<int>(at);
    return changed({at, 0, 1});
}

ListChange ScriptList::duplicateSelected() {
    if (!hasSelection()) return {};
    lines_.push_back(lines_[static_cast<std::size_t>(selected_)]);
    return changed({lines_.size() - 1, 0, 1});
}

ListChange ScriptList::deleteSelected() {
    if (!hasSelection()) return {};
    const auto first = static_cast<std::size_t>(selected_);
    std::size_t end = first + 1;
    if (IsPopupHeader(lines_[first])) {
        while (end < lines_.size() && !Contains(lines_[end], "{:")) ++end;
        if (end < lines_.size() && IsClosingLine(lines_[end])) ++end;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
    selected_ = first > 0 ? static_cast<int>(first) - 1 : kNone;
    selectFirstIfNone();
    return changed({first, end - first, 0});
}

ListChange ScriptList::moveUp() {
    if (selected_ < 1 || static_cast<std::size_t>(selected_) >= lines_.size()) return {};
    const auto at = static_cast<std::size_t>(selected_) - 1;
    std::swap(lines_[at], lines_[at + 1]);
    selected_ = static_cast<int>(at);
    return changed({at, 2, 2});
}

ListChange ScriptList::moveDown() {
    if (!hasSelection() || static_cast<std::size_t>(selected_) + 1 >= lines_.size()) return {};
    const auto at = static_cast<std::size_t>(selected_);
    std::swap(lines_[at], lines_[at + 1]);
    selected_ = static_cast<int>(at) + 1;
    return changed({at, 2, 2});
}

// --- lines ------------------------------------------------------------------

bool IsClosingLine(std::string_view line) { return StartsWith(line, "{:/}"); }

bool IsPopupHeader(std::string_view line) {
    return StartsWith(line, kPopupPrefix) || (StartsWith(line, "{:/") && !IsClosingLine(line));
}

ListChange AddLine(ScriptList& list, KeyFields& keys, std::string scriptLine, bool keysPage) {
    // The brace closes a composed command. A line taken from KeyStrokes is a
    // row of key tokens that carry their own braces; on the other pages
    // KeyStrokes is not part of the line, so what it holds does not matter.
    bool fromKeyStrokes = false;
    if (keysPage) {
        scriptLine = KeyPartOfAddLine(std::move(scriptLine), keys);
        fromKeyStrokes = !keys.keyStrokes.empty();
    }
    if (StartsWith(scriptLine, "{") && !fromKeyStrokes) scriptLine += "}";
    scriptLine += keys.autoText;
    const ListChange c = list.insertLine(std::move(scriptLine));
    keys.keyStrokes.clear();
    keys.autoText.clear();
    keys.count = 1;
    return c;
}

ListChange AddCombination(ScriptList& list, const std::string& line) { return list.insertLine(line); }

AddRoute AddBtnRoute(std::string_view pageCaption, bool listHasFocus) {
    if (pageCaption == "Commands") return AddRoute::Command;
    if (pageCaption == "Menus") return AddRoute::Menu;
    if (pageCaption == "Popup") return AddRoute::Popup;
    if (listHasFocus) return AddRoute::Duplicate;
    if (pageCaption == "Windows") return AddRoute::Switch;
    return AddRoute::Plain;
}

// --- the Popup page -------------------------------------------------------------

int PopupPosition(int bar) { return (std::clamp(bar, kPopBarMin, kPopBarMax) - 1) * 100; }

std::vector<std::string> PopupBlockLines(const PopupPage& page) {
    std::vector<std::string> out;
    out.reserve(page.memo.size() + 2);
    if (page.remarkOnly)
        out.emplace_back(kRemarkPrefix);
    else
        out.push_back(std::string(kPopupPrefix) + " " + std::to_string(PopupPosition(page.barH)) + " " +
                      std::to_string(PopupPosition(page.barV)) + " " + page.title);
    out.insert(out.end(), page.memo.begin(), page.memo.end());
    out.emplace_back("{:/");
    return out;
}

ListChange AddPopupBlock(ScriptList& list, KeyFields& keys, PopupPage& page) {
    const std::vector<std::string> block = PopupBlockLines(page);
    ListChange c;
    for (std::size_t i = 0; i < block.size(); ++i) {
        c = MergeChanges(c, AddLine(list, keys, block[i], false), list.size());
        if (i == 0) page.remarkOnly = false;
    }
    return c;
}

namespace {

std::string PopupHeaderMessage(std::size_t lineNumber, const std::string& badText) {
    const std::string where = "line " + std::to_string(lineNumber) + ": the popup header ";
    if (badText.empty()) return where + "lacks a position (\"{:PopUp H V title}\")";
    constexpr std::size_t kShown = 60;
    const std::string shown = badText.size() <= kShown ? badText : badText.substr(0, kShown) + "...";
    return where + "position \"" + shown + "\" is not a whole number";
}

int BarOf(std::int32_t position) { return std::clamp(position / 100 + 1, kPopBarMin, kPopBarMax); }

}  // namespace

PopupHeaderError::PopupHeaderError(std::size_t lineNumber, const std::string& badText)
    : ScriptError(PopupHeaderMessage(lineNumber, badText)), lineNumber_(lineNumber), badText_(badText) {}

bool ReadPopupBlock(const std::vector<std::string>& lines, std::size_t index, PopupPage& page) {
    if (index >= lines.size()) return false;
    const std::string& text = lines[index];
    const bool popup = StartsWith(text, kPopupPrefix);
    const bool remark = StartsWith(text, kRemarkPrefix);
    if (!popup && !remark) return false;

    // Everything is worked out first: a header that does not read leaves
    // the page exactly as it was.
    PopupPage next = page;
    next.memo.clear();
    for (std::size_t i = index + 1; i < lines.size() && !Contains(lines[i], "{:"); ++i)
        next.memo.push_back(lines[i]);
    // The page shows the block as it is: a note header unchecks "Script
    // remark only", or the next Add would write the note as a remark.
    next.remarkOnly = remark;
    if (popup) {
        const std::size_t blank = text.find(' ');
        const std::string_view rest =
            blank == std::string::npos ? std::string_view{} : std::string_view(text).substr(blank + 1);
        const std::size_t b1 = rest.find(' ');
        const std::string_view hText = rest.substr(0, b1);
        const std::string_view afterH =
            b1 == std::string_view::npos ? std::string_view{} : rest.substr(b1 + 1);
        const std::size_t b2 = afterH.find(' ');
        const std::string_view vText = afterH.substr(0, b2);
        const std::string_view title =
            b2 == std::string_view::npos ? std::string_view{} : afterH.substr(b2 + 1);
        const std::optional<std::int32_t> h = ToInteger(hText);
        if (!h) throw PopupHeaderError(index + 1, std::string(hText));
        const std::optional<std::int32_t> v = ToInteger(vText);
        if (!v) throw PopupHeaderError(index + 1, std::string(vText));
        next.barH = BarOf(*h);
        next.barV = BarOf(*v);
        // The title ends at the closing brace, where the running note's
        // title ends too; text after the brace is typed, not shown.
        next.title = std::string(title.substr(0, title.find('}')));
    }
    page = std::move(next);
    return true;
}

NotePreview PopTestClick(const PopupPage& page) {
    NotePreview note;
    for (const std::string& m : page.memo) {
        if (!StartsWith(m, "@")) {
            note.lines.push_back(m);
            continue;
        }
        const std::string name = m.substr(1);
        if (FileExists(name))
            note.lines = ReadTextLines(name);
        else
            note.lines.push_back("??? @" + name);
    }
    note.title = page.title;
    note.x = PopupPosition(page.barH);
    note.y = PopupPosition(page.barV);
    if (std::clamp(page.barV, kPopBarMin, kPopBarMax) == kPopBarMax) note.y -= 50;
    return note;
}

// --- form state ------------------------------------------------------------------

ButtonStates SetButtons(const ScriptList& list, std::string_view pageCaption) {
    ButtonStates s;
    const int sel = list.selected();
    s.deleteEnabled = list.hasSelection();
    s.clearTarget = !list.hasSelection();
    s.upEnabled = sel > 0;
    s.downEnabled = list.hasSelection() && static_cast<std::size_t>(sel) + 1 < list.size();
    s.testEnabled = !list.empty();
    const bool pad = pageCaption == "Tessdeck";
    s.statusBarVisible = !pad;
    s.formHeight = pad ? kPadFormHeight : kFormHeight;
    if (pad)
        s.refresh = PageRefresh::PadCheck;
    else if (pageCaption == "Controls")
        s.refresh = PageRefresh::ControlList;
    else if (pageCaption == "Commands")
        s.refresh = PageRefresh::CommandTree;
    return s;
}

std::string LinePanelText(const ScriptList& list) {
    if (list.empty()) return "Empty";
    if (!list.hasSelection()) return "";
    return "Line: " + std::to_string(list.selected() + 1);
}

std::string WindowPanelText(const std::string& title, const std::string& menuPath) {
    if (title.empty()) return "";
    return title + " {Menu: " + menuPath + "}";
}

std::string FormCaption(const std::string& scriptName) { return "Taskloom - " + scriptName; }

bool AskToSaveOnQuit(const ScriptList& list) { return list.modified() && !list.empty(); }

bool AskToSavePad(bool padModified, std::size_t icons) { return padModified && icons > 0; }

int SpinFieldValue(std::string_view field, std::string_view text, int lo, int hi) {
    const auto refused = [&](const std::string& what) {
        return FieldError("\"" + std::string(field) + "\" " + what + ": type a whole number from " +
                          std::to_string(lo) + " to " + std::to_string(hi) + ".");
    };
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    const std::string_view t = text.substr(b, e - b);
    if (t.empty()) throw refused("is empty");
    std::size_t i = 0;
    const bool negative = t[0] == '-';
    if (t[0] == '-' || t[0] == '+') ++i;
    if (i == t.size()) throw refused("holds \"" + std::string(t) + "\"");
    // Held at the range's ends as the digits are read: any number of digits
    // stays within an int.
    long long n = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') throw refused("holds \"" + std::string(t) + "\"");
        if (n <= hi) n = n * 10 + (t[i] - '0');
    }
    if (negative) n = -n;
    if (n < lo) return lo;
    if (n > hi) return hi;
    return static_cast<int>(n);
}

std::string ShellStartFailedText(const std::string& file) {
    return "\"" + file + "\" could not be opened: the file is missing, or no program opens it.";
}

}  // namespace taskloom
