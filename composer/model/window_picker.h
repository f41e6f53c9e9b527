// The Windows, Menus and Controls pages' decisions: the window switch line,
// the match length, the menu line, and the Controls page's caret read-out.
#pragma once

#include <string>
#include <vector>

#include "composer/model/composer_model.h"
#include "engine/desktop.h"
#include "composer/model/key_capture.h"
#include "composer/model/menu_walk.h"

namespace taskloom {

constexpr int kTrackMin = 1, kTrackMax = 40, kTrackStart = 2;  // TrackBar1

// The Windows page as the switch line needs it.
struct WindowChoice {
    std::string title;           // the entry selected in TitleBox, as shown
    Wnd picked = -1;             // PickedWnd (GetMenusClick sets it)
    int trackPos = kTrackStart;  // TrackBar1
    bool matchFirst = false;     // MatchBox "Match only first"
};

// MatchCount: the track bar position kept within 2..40.
int MatchCount(int trackPos);
// MatchBox's caption for a position: "&Match only first N characters".
std::string MatchBoxCaption(int trackPos);

// SwitchBtnClick: the window switch line without its closing brace (AddLine
// adds it). "{:TO " and the whole title in script form; with "Match only
// first" checked and the position N above 1, "{:To " and the title's first N
// characters in script form, and the box unchecked (it applies to one line).
// AutoText is emptied; `target` (TargetWnd) becomes the picked window.
std::string SwitchBtnClick(WindowChoice& choice, KeyFields& keys, Wnd& target);

// AddMenuClick: when the script is not yet directed at the picked window,
// the switch line first (and `target` follows); then "{:Menu " + menuPath
// (GetMenuText), added only when a menu item (not the root) is selected.
ListChange AddMenuClick(ScriptList& list, KeyFields& keys, WindowChoice& choice, Wnd& target,
                        const std::string& menuPath);

// GetMenusClick's findings for the title selected on the Windows page: the
// window with exactly that title (0 when there is none or no title is
// chosen), its menu tree and its control list (empty without a window).
// AutoText is emptied.
struct MenusPick {
    Wnd picked = 0;  // PickedWnd
    MenuTree tree;
    std::vector<std::string> controls;
};
MenusPick GetMenusClick(Desktop& desktop, const std::string& title, KeyFields& keys);

// Sent to the composer afterwards: Ctrl+Home.
std::string CaretHomeKeys();

// The Controls page's read-out, "Line: %3d  Col: %3d  Len: %3d".
std::string LineColText(long long line, long long col, long long len);
// UpdateLineCol from the rich edit's answers: the line index of the
// selection start (EM_EXLINEFROMCHAR), the selection start, the first
// character offset of that line (EM_LINEINDEX) and the selection length.
std::string UpdateLineCol(int lineIndex, int selStart, int lineStart, int selLength);

}  // namespace taskloom
