// The loop commands' conditions. A loop line names its label and what it
// waits for; it jumps back to the label while its condition does not hold,
// and the run goes on past it once it holds. ":Goto" always jumps, a counted
// loop jumps until its count is used up, ":LoopEOF" reads the clips file's
// next line (and ends the run at its end). The other families ask the
// desktop; the functions here decide from what it answered, so that the
// interpreter and the checker read a keyword in the same way.
#pragma once

#include <string>
#include <string_view>

namespace taskloom {

enum class LoopFamily { Goto, Times, EndOfClips, Window, File, Menu, Clipboard, Control, None };

// By the keyword's beginning: ":Goto", ":LoopTimes", ":LoopEOF",
// ":LoopWindow", ":LoopFile", ":LoopMenu", ":LoopClipboard", ":LoopControl".
LoopFamily LoopFamilyOf(std::string_view keyword);

// Whether the keyword names a condition of its family. A window, file, menu
// or control loop that names none waits for nothing (never jumps); a
// clipboard loop that names none never sees its condition hold (always
// jumps).
bool NamesCondition(LoopFamily family, std::string_view keyword);

// Each condition the keyword names must hold: "WindowActive" the window is
// visible, "WindowInactive" it is missing or hidden.
bool WindowLoopHolds(std::string_view keyword, bool visible);
// "Exists" the file exists, "NotFound" it does not.
bool FileLoopHolds(std::string_view keyword, bool exists);
// "Enabled" the menu item is enabled, "Disabled" it is not (or is missing).
bool MenuLoopHolds(std::string_view keyword, bool enabled);
// "Contains" the clipboard's first line holds the value, "ContainsNOT" it
// does not (an empty value is never held); otherwise one of the comparisons
// named ("LT", "LE", "EQ", "GE", "GT": the line against the value) holds.
bool ClipboardLoopHolds(std::string_view keyword, const std::string& clip, const std::string& value);
// ":LoopControlEQ" and ":LoopControlNE" look for a control whose text is
// the clipboard's first line, the others for the text they name.
bool ControlLoopByClipboard(std::string_view keyword);
// "ControlEnabled" the control is there and enabled, "ControlDisabled" it
// is not; ":LoopControlEQ" the control is there, ":LoopControlNE" it is not.
bool ControlLoopHolds(std::string_view keyword, bool found, bool enabled);

}  // namespace taskloom
