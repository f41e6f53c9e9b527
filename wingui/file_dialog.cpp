#include "wingui/file_dialog.h"

#include <commdlg.h>

#include <stdexcept>

#include "engine/text.h"
#include "win32/system_library.h"

namespace wingui {

namespace {

std::optional<std::string> Ask(const FileDialog& d, const std::string& proposed, bool save) {
    const std::string filter = taskloom::DialogFilter(d.filter);
    // Room for any path the dialog can give.
    std::string file(32768, '\0');
    if (proposed.size() < file.size()) proposed.copy(file.data(), proposed.size());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = d.owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = d.folder.empty() ? nullptr : d.folder.c_str();
    ofn.lpstrTitle = d.title;
    ofn.lpstrDefExt = d.defExt;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                (save ? (d.overwritePrompt ? OFN_OVERWRITEPROMPT : 0) : OFN_FILEMUSTEXIST);
    taskloom::SystemLibrary& dialogs = taskloom::CommonDialogsLibrary();
    using AskFile = decltype(GetOpenFileNameA);
    AskFile* ask;
    try {
        ask = dialogs.function<AskFile>(save ? "GetSaveFileNameA" : "GetOpenFileNameA");
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("the file dialog cannot be shown: ") + e.what());
    }
    if (!ask(&ofn)) {
        if (const DWORD error = CommonDialogError(); error != 0)
            throw std::runtime_error("the file dialog failed (error " + std::to_string(error) + ")");
        return std::nullopt;  // cancelled
    }
    file.resize(file.find('\0'));
    return file;
}

}  // namespace

DWORD CommonDialogError() {
    auto extendedError =
        taskloom::CommonDialogsLibrary().find<decltype(CommDlgExtendedError)>("CommDlgExtendedError");
    return extendedError ? extendedError() : 0;
}

std::optional<std::string> AskOpenFile(const FileDialog& d, const std::string& proposed) {
    return Ask(d, proposed, false);
}

std::optional<std::string> AskSaveFile(const FileDialog& d, const std::string& proposed) {
    return Ask(d, proposed, true);
}

}  // namespace wingui
