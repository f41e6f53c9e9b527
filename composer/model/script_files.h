// The composer's script files: names, dialog filters, the caption, what New
// and Open reset, opening and saving through the file store, Paste script and
// the script check. The Win32 menu handlers keep the state (the script name,
// whether Save is enabled) and call these for every decision.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "composer/model/composer_model.h"
#include "engine/errors.h"

namespace taskloom {

// The script name while the script has no file.
inline constexpr const char* kNewScriptName = "New";

// Filters of the file dialogs, in the "text|pattern" form.
inline constexpr const char* kOpenScriptFilter = "All Files (*.tks)|*.tks";
inline constexpr const char* kSaveScriptFilter = "Files (*.tks)|*.tks";
inline constexpr const char* kTextFileFilter = "Text Files (*.txt,*.prt,*.prn,*.lst)|*.txt;*.prt;*.prn;*.lst";

// The question asked before New, Open and closing discard unsaved changes.
inline constexpr const char* kSaveQuestion = "Save current script?";

// A name counts as a script file name when it holds ".tks" anywhere,
// compared with case ("a.tks.bak" counts, "a.TKS" does not).
bool IsScriptName(std::string_view name);

// What Save does with the script name: a script name is saved in place; any
// other name ("New" among them) is offered in the Save dialog first.
struct SavePlan {
    bool askName = false;  // show the Save dialog with the script filter
    std::string proposed;  // the name put into the dialog
};
SavePlan PlanSave(std::string_view scriptName);

// The name a save writes to: the name itself when it counts as a script
// name, otherwise the name with ".tks" appended.
std::string SaveFileName(std::string_view chosen);

// The name Save As offers: the script name cut at its first ".tks", so that
// the dialog always shows.
std::string SaveAsProposal(std::string_view scriptName);

// The caption: its product part (the text before the first " -", the whole
// caption when it has none), " - " and the script name.
std::string CaptionProduct(std::string_view caption);
std::string ScriptCaption(std::string_view caption, std::string_view scriptName);

// What New and Open reset (NewMacro): the first key of the key list
// selected, the title list read again with its first entry selected, the
// caption rebuilt, the Windows page shown (then SetButtons), Save and Save
// As disabled.
struct NewMacroEffect {
    std::size_t keyIndex = 0;
    bool refillTitles = true;
    std::size_t titleIndex = 0;
    std::string caption;
    std::string page = "Windows";
    bool saveEnabled = false;
};
NewMacroEffect NewMacro(std::string_view caption, std::string_view scriptName);

// Open reads the whole file first; the Win32 side replaces the list and the
// script name only when `error` is empty. A file that cannot be read leaves
// the script as it was, and the error names the file and the reason.
struct OpenedScript {
    std::vector<std::string> lines;
    std::optional<FileError> error;
};
OpenedScript OpenScript(const std::string& fileName);

// Writes the lines as one comma text through the file store (a temporary
// file takes the old one's place, so a failed save leaves it whole). Throws
// FileError.
void SaveScript(const std::string& fileName, const std::vector<std::string>& lines);

// The Save dialog, asked with the proposed name: the chosen name, or none
// when the user cancels.
using AskSaveName = std::function<std::optional<std::string>(const std::string& proposed)>;

// File, Save: a script name is written in place; any other name is first
// offered in the Save dialog, and the chosen name gets ".tks" when it holds
// none. Returns the name written to, which becomes the script name and goes
// into the caption; none when the dialog was cancelled (nothing written).
// Throws FileError when the file cannot be written.
std::optional<std::string> SaveMenuClick(std::string_view scriptName, const std::vector<std::string>& lines,
                                         const AskSaveName& askName);
// File, Save As: the same with the name cut at its first ".tks", so that the
// dialog always shows.
std::optional<std::string> SaveAsMenuClick(std::string_view scriptName, const std::vector<std::string>& lines,
                                           const AskSaveName& askName);

// Before New, Open or closing the window drop a modified script, the user is
// asked kSaveQuestion with Yes, No and Cancel. Yes saves first (Save, or
// Save As where the caller says so); the script is dropped only when that
// save wrote the file, so a cancelled Save dialog keeps the work as Cancel
// does. An unmodified script is dropped without a question.
enum class SaveAnswer { Yes, No, Cancel };
struct DiscardDecision {
    bool proceed = true;                 // go on with New, Open or closing
    std::optional<std::string> savedAs;  // the name the script was saved under
};
DiscardDecision SaveBeforeDiscard(bool modified, std::string_view scriptName,
                                  const std::vector<std::string>& lines,
                                  const std::function<SaveAnswer()>& ask, const AskSaveName& askName,
                                  bool saveAs = false);

// Load Text: the third page's caption while it shows a text file is
// kTextFileCaption (composer_model.h).

// Paste script. The question (asked only when the clips buffer holds a
// line) in its two lines; on Yes every clips line is appended unchanged, and
// the script counts as modified: Save is enabled so that the pasted lines
// are not lost by a later New, Open or Exit.
inline constexpr const char* kPasteQuestionFirst = "The script statements you are about to enter";
inline constexpr const char* kPasteQuestionSecond = "from the Clips pad are NOT verified... Proceed?";
std::string PasteQuestion();  // both lines, a line break between them
bool PasteAsks(const std::vector<std::string>& clips);
// Appends the clips lines; returns whether anything was appended, which is
// whether the script is now modified.
bool PasteScript(std::vector<std::string>& script, const std::vector<std::string>& clips);

// File, Check: the checker's findings over the script list, one row of a
// list view each. A row's line is the script line (counted from 1) to select
// when the row is chosen; a clean script gives one row with line 0 that says
// so. `scriptName` locates the files that notes name ("New": none).
struct CheckRow {
    std::size_t line = 0;
    std::string text;  // "Line 3: error: ..." or the clean message
};
inline constexpr const char* kCheckClean = "No problems found: the script is clean.";
std::vector<CheckRow> CheckScriptRows(const std::vector<std::string>& script, std::string_view scriptName);

}  // namespace taskloom
