// The common open and save dialogs, set up as both programs use them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wingui {

struct FileDialog {
    HWND owner = nullptr;
    // "text|patterns" pairs, each part ended by "|" but the last.
    std::string filter = "All Files (*.*)|*.*";
    std::string folder;            // where it opens; "" where the system chooses
    const char* title = nullptr;   // nullptr: the dialog's own
    const char* defExt = nullptr;  // added to a name typed without one
    bool overwritePrompt = false;  // a save asks before it replaces a file
};

// The chosen full name, with `proposed` offered first (a proposal longer than
// any path the dialog takes is not offered); none when the user cancels. The
// open dialog takes existing files only. Throws std::runtime_error when the
// dialog itself fails.
std::optional<std::string> AskOpenFile(const FileDialog& d, const std::string& proposed = {});
std::optional<std::string> AskSaveFile(const FileDialog& d, const std::string& proposed = {});

// After a common dialog (open, save, print) answered no: the reason it
// failed, 0 when the user cancelled it (or the reason cannot be asked).
DWORD CommonDialogError();

}  // namespace wingui
