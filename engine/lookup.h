// Window, menu and control lookups: listing window texts, the title prefix
// search, the control search and the menu path test.
#pragma once

#include <string>
#include <vector>

#include "engine/desktop.h"

namespace taskloom {

constexpr char kEsc = '\x1b';
constexpr size_t kWindowTextMax = 99;  // window texts are read into 100 bytes
constexpr size_t kMenuTextMax = 29;    // menu item texts into 30 bytes

// A window's text as the lookups see it: at most 99 characters.
std::string WindowText(Desktop& d, Wnd w);

// One step of a window enumeration. The accumulator selects the mode and
// collects the result:
//  ":" + prefix  search: on the first visible window whose text begins with
//                the prefix, the accumulator becomes that text and the
//                enumeration stops (returns false);
//  ESC...        list, hidden windows included;
//  anything else list of visible windows.
// In list mode each text is appended followed by ESC; a text that repeats an
// earlier entry exactly is dropped, as is a text holding CR LF "Controls".
bool EnumTitlesProc(Desktop& d, Wnd w, std::string& accumulator);

// One step of the control search: when the window's text equals the
// accumulator, the accumulator becomes the handle in decimal and the
// enumeration stops. Hidden controls are found too.
bool FindControlProc(Desktop& d, Wnd w, std::string& accumulator);

// The full title of the first visible top-level window (stacking order)
// whose title begins with `prefix`; ":" + prefix when none does.
std::string TitlePrefixSearch(Desktop& d, const std::string& prefix);

// Visible top-level window titles, exact repeats dropped, enumeration order.
std::vector<std::string> GetTitles(Desktop& d);

// The control list of a window: texts of its visible and hidden child
// windows, exact repeats dropped, in enumeration order. Both programs build
// it this way, so a field address names the same line in either.
std::vector<std::string> GetControls(Desktop& d, Wnd w);

// The child control of `parent` whose text equals `text`; 0 when none.
Wnd FindControl(Desktop& d, Wnd parent, const std::string& text);

// Whether the menu path (item texts from the bar down, separated by ESC)
// leads through plain items (state 0) of the window's menu bar. A question
// only: the other program's menu is left exactly as it was.
bool MenuPathEnabled(Desktop& d, Wnd w, const std::string& path);

}  // namespace taskloom
