// The composer's model: what the script list's buttons, the Popup page and
// the form's state rules do, as plain functions over strings and vectors.
// The Win32 form (composer/) reads its controls, calls one function here and
// writes the result back; every decision lives here, with a native test.
//
// The script list (`MacroBox`) is held by ScriptList. The window layer
// mirrors it in its list box: each change reports, as a ListChange, which
// entries to remove and which of the new lines to insert in their place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/desktop.h"
#include "engine/errors.h"
#include "engine/key_capture.h"

namespace taskloom {

// The pages of the composer in tab order; page-dependent rules compare the
// active page's caption. The third page's caption changes with its content.
inline constexpr std::array<const char*, 8> kPageCaptions{"Windows", "Menus", "Controls", "Commands",
                                                          "Keys",    "Popup", "Clips",    "Tessdeck"};
inline constexpr const char* kDosScreenCaption = "DOS Screen";
inline constexpr const char* kTextFileCaption = "TextFile";

constexpr int kFormHeight = 428;     // outer height on every page ...
constexpr int kPadFormHeight = 300;  // ... but the Tessdeck page

// Which list entries an edit touched: in the list box, delete `removed`
// entries at `at`, then insert lines()[at .. at + inserted) there. An edit
// that did nothing has both counts 0.
struct ListChange {
    std::size_t at = 0;
    std::size_t removed = 0;
    std::size_t inserted = 0;
    bool any() const { return removed != 0 || inserted != 0; }
    bool operator==(const ListChange&) const = default;
};

// Two changes made one after the other, as one change of the list that now
// holds `newSize` lines.
ListChange MergeChanges(ListChange first, ListChange second, std::size_t newSize);

// MacroBox: the script's lines, the selection and the modified flag (the
// enabled state of Save and Save As). Every change to the lines marks the
// script modified, the duplicate of a double-click included.
class ScriptList {
public:
    static constexpr int kNone = -1;

    const std::vector<std::string>& lines() const { return lines_; }
    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const std::string& line(std::size_t index) const { return lines_.at(index); }

    // Selected index, kNone for none. select() takes kNone or an index of the
    // list; anything else selects none.
    int selected() const { return selected_; }
    bool hasSelection() const { return selected_ != kNone; }
    void select(int index);
    // MacroBoxClick's first step: the first line is selected when none is
    // and the list is not empty.
    void selectFirstIfNone();

    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }  // New, Open and Save clear it

    // A number that changes with every change of the lines (Host::listGeneration).
    std::uint64_t generation() const { return generation_; }

    // Replaces the whole list (a script opened, New): no selection; the
    // modified flag is left to the caller.
    ListChange assign(std::vector<std::string> lines);

    // The list part of AddLine: `line` goes directly below the selected line,
    // or at the end when none is selected; the new line is selected; modified.
    ListChange insertLine(std::string line);

    // Double-click on the list (on pages that do not compose): a copy of the
    // selected line is appended at the end, the selection stays; modified.
    // Nothing without a selection.
    ListChange duplicateSelected();

    // Delete. A popup header ("{:PopUp ..." or a remark header "{:/ ...")
    // goes with its text lines (up to the first line holding "{:") and its
    // closing line "{:/}" when that comes next; a closing line "{:/}" alone,
    // and any other line, goes alone. Afterwards the line above the deleted
    // one is selected, or (deleted from the top) the new first line; none
    // when the list is empty. Modified. Nothing without a selection.
    ListChange deleteSelected();

    // Up and Down: the selected line changes place with its neighbour and
    // stays selected; modified. Nothing at the top (Up), the bottom (Down) or
    // without a selection.
    ListChange moveUp();
    ListChange moveDown();

private:
    ListChange changed(ListChange c);
    std::vector<std::string> lines_;
    int selected_ = kNone;
    bool modified_ = false;
    std::uint64_t generation_ = 0;
};

// A header line of a popup block (note or remark) and the closing line.
bool IsPopupHeader(std::string_view line);  // "{:PopUp..." or "{:/" but not "{:/}"
bool IsClosingLine(std::string_view line);  // begins "{:/}"

// AddLine: the composed ScriptLine finished and inserted. On the Keys page
// the key part comes first (KeyPartOfAddLine); a line beginning with "{"
// gets its closing "}" unless it was taken from KeyStrokes (key tokens carry
// their own braces); AutoText is appended; the line is inserted
// (ScriptList::insertLine); KeyStrokes and AutoText are emptied and Count
// set to 1.
ListChange AddLine(ScriptList& list, KeyFields& keys, std::string scriptLine, bool keysPage);

// A combination completed on the Keys page (KeyPressResult::line): inserted
// as it stands; AutoText and Count are left for the next line.
ListChange AddCombination(ScriptList& list, const std::string& line);

// What the Add button (or a double-click on MacroBox, TitleBox, KeyBox)
// does, by the active page's caption and whether the list has the focus.
enum class AddRoute {
    Command,    // "Commands": the command builder's AddCommandClick
    Menu,       // "Menus": AddMenuClick (window_picker.h)
    Popup,      // "Popup": AddPopupBlock, focus or not
    Duplicate,  // other pages, the list focused (double-click): duplicateSelected
    Switch,     // "Windows": SwitchBtnClick, then AddLine
    Plain,      // other pages: AddLine of an empty ScriptLine (Keys: the key line)
};
AddRoute AddBtnRoute(std::string_view pageCaption, bool listHasFocus);

// --- the Popup page ------------------------------------------------------

struct PopupPage {
    int barH = 3;                   // PopBarH, 1..5
    int barV = 3;                   // PopBarV, 1..5
    std::string title = "Notes:";   // PopTitle
    std::vector<std::string> memo;  // PopMemo, one entry per line
    bool remarkOnly = false;        // RemarkBox "&Script remark only"
    bool operator==(const PopupPage&) const = default;
};

constexpr int kPopBarMin = 1, kPopBarMax = 5;

// The note position of a slider position: (position - 1) * 100, the
// position held within 1..5 first.
int PopupPosition(int bar);

// The ScriptLine values Add writes on the Popup page, each before its
// AddLine: the header ("{:PopUp H V title" or "{:/ Remark", AddLine closes
// it), the memo lines as typed, the closing "{:/".
std::vector<std::string> PopupBlockLines(const PopupPage& page);

// Add on the Popup page: every line of PopupBlockLines through AddLine, the
// closing line included; RemarkBox unchecked.
ListChange AddPopupBlock(ScriptList& list, KeyFields& keys, PopupPage& page);

// A "{:PopUp" header whose numbers do not convert.
class PopupHeaderError : public ScriptError {
public:
    PopupHeaderError(std::size_t lineNumber, const std::string& badText);
    std::size_t lineNumber() const { return lineNumber_; }  // counted from 1
    const std::string& badText() const { return badText_; }

private:
    std::size_t lineNumber_;
    std::string badText_;
};

// MacroBoxClick's read-back of the line at `index` into the Popup page. A
// header ("{:PopUp" or "{:/ Remark") fills the memo with the lines after it
// up to the first line holding "{:"; RemarkBox is checked for a remark
// header and unchecked for a note header; a "{:PopUp H V title}" header sets
// the sliders to H div 100 + 1 and V div 100 + 1 (held within 1..5) and the
// title (up to its closing brace).
// Returns whether the line was a header; other lines leave the page as it
// is. Numbers that do not convert throw PopupHeaderError and leave the page
// exactly as it was.
bool ReadPopupBlock(const std::vector<std::string>& lines, std::size_t index, PopupPage& page);

// The note the Test Popup button shows (PopTestClick).
struct NotePreview {
    std::string title;
    std::vector<std::string> lines;
    int x = 0, y = 0;
};
// PopTestClick: the memo's lines in order, where a line "@file" replaces all
// lines so far with the file's lines, or adds "??? @file" when no such file
// exists; the title; x = (PopBarH - 1) * 100 and y = (PopBarV - 1) * 100,
// minus 50 at PopBarV 5. Throws FileError for a file that exists but cannot
// be read.
NotePreview PopTestClick(const PopupPage& page);

// --- form state ------------------------------------------------------------

// What SetButtons derives from the list and the active page.
enum class PageRefresh { None, PadCheck, ControlList, CommandTree };
struct ButtonStates {
    bool deleteEnabled = false;
    bool upEnabled = false;
    bool downEnabled = false;
    bool testEnabled = false;  // the Test button and File, Test
    bool statusBarVisible = true;
    int formHeight = kFormHeight;
    bool clearTarget = false;  // no line selected: TargetWnd := -1
    PageRefresh refresh = PageRefresh::None;
};
ButtonStates SetButtons(const ScriptList& list, std::string_view pageCaption);

// Status panel 0: "Empty" for an empty list, "Line: n" for the selected
// line n (from 1), empty when lines stand but none is selected.
std::string LinePanelText(const ScriptList& list);
// Status panel 1: the chosen title, " {Menu: ", the menu path, "}"; empty
// when no title is chosen.
std::string WindowPanelText(const std::string& title, const std::string& menuPath);

// The form's caption: "Taskloom - " and the script's name ("New").
std::string FormCaption(const std::string& scriptName);

// File, Exit asks "Save current script?" only for unsaved lines.
bool AskToSaveOnQuit(const ScriptList& list);

// The pad on the Tessdeck page is asked about as the script is: before
// Exit, the close box or Open Pad drop icons that were changed since the
// pad was last opened or saved. An empty preview has nothing to lose.
inline constexpr const char* kSavePadQuestion = "Save current pad?";
bool AskToSavePad(bool padModified, std::size_t icons);

// The hints of the File and Edit menu items that have one, shown in the
// status bar while the item is chosen in the open menu.
inline constexpr const char* kLoadTextHint = "Text File";
inline constexpr const char* kPasteScriptHint = "From Clips pad";

// A number field typed into by the user ("Send Count", "<Count / Line>")
// that the program cannot take: empty, or no whole number.
class FieldError : public TaskloomError {
public:
    using TaskloomError::TaskloomError;
};

// The number a spin field's text stands for. Blanks around it are ignored;
// a number outside lo..hi is held to that range (never replaced by an
// earlier value). An empty field, or text that is no whole number, throws
// FieldError naming the field and the range.
int SpinFieldValue(std::string_view field, std::string_view text, int lo, int hi);

// The error box's text when the shell could not open a file the program
// starts itself (its help page, the pad program): it names the file.
std::string ShellStartFailedText(const std::string& file);

}  // namespace taskloom
