#include "composer/model/window_picker.h"

#include <algorithm>
#include <cstdio>

#include "engine/lookup.h"
#include "engine/sendkey.h"
#include "engine/text.h"

namespace taskloom {

namespace {

std::string ScriptForm(std::string_view title) {
    return TripleBraces(TripleBraces(title, '{', BraceMode::Escape), '}', BraceMode::Escape);
}

}  // namespace

int MatchCount(int trackPos) { return std::clamp(trackPos, 2, kTrackMax); }

std::string MatchBoxCaption(int trackPos) {
    return "&Match only first " + std::to_string(MatchCount(trackPos)) + " characters";
}

std::string SwitchBtnClick(WindowChoice& choice, KeyFields& keys, Wnd& target) {
    keys.autoText.clear();
    std::string line;
    const int n = choice.trackPos;
    if (choice.matchFirst && n > 1) {
        choice.matchFirst = false;
        // The first N characters of the title as the user sees it on the
        // ruler, escaped afterwards: cutting the escaped form could split a
        // tripled brace.
        line = "{:To " + ScriptForm(std::string_view(choice.title).substr(0, static_cast<std::size_t>(n)));
    } else {
        line = "{:TO " + ScriptForm(choice.title);
    }
    target = choice.picked;
    return line;
}

ListChange AddMenuClick(ScriptList& list, KeyFields& keys, WindowChoice& choice, Wnd& target,
                        const std::string& menuPath) {
    ListChange c;
    if (target != choice.picked) c = AddLine(list, keys, SwitchBtnClick(choice, keys, target), false);
    if (!menuPath.empty()) c = MergeChanges(c, AddLine(list, keys, "{:Menu " + menuPath, false), list.size());
    return c;
}

MenusPick GetMenusClick(Desktop& desktop, const std::string& title, KeyFields& keys) {
    keys.autoText.clear();
    MenusPick pick;
    // No title chosen is no window: a search for the empty title would find
    // some untitled one.
    pick.picked = title.empty() ? 0 : FindWindowByTitle(desktop, title);
    pick.tree = WalkMenu(desktop, pick.picked, title);
    // Without a window, asking for the children of handle 0 would list the
    // desktop's top-level windows as if they were controls.
    if (pick.picked) pick.controls = GetControls(desktop, pick.picked);
    return pick;
}

std::string CaretHomeKeys() {
    return {static_cast<char>(kCtrlDown), static_cast<char>(kKeyHome), static_cast<char>(kCtrlUp)};
}

std::string LineColText(long long line, long long col, long long len) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Line: %3lld  Col: %3lld  Len: %3lld", line, col, len);
    return buf;
}

std::string UpdateLineCol(int lineIndex, int selStart, int lineStart, int selLength) {
    return LineColText(static_cast<long long>(lineIndex) + 1,
                       static_cast<long long>(selStart) - lineStart + 1, selLength);
}

}  // namespace taskloom
