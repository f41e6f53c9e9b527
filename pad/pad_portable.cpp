// The portable pad: its settings kept in tessdeck.ini beside the program
// instead of the registry, and the settings exported to and imported from a
// file of the user's choice (in either kind of pad).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "pad/tdeck_form.h"  // first: the engine's KeyName before the shortcut text's

#include "engine/errors.h"
#include "engine/filestore.h"
#include "pad/model/settings_file.h"
#include "pad/pad_settings_store.h"
#include "resources/tessdeck_ids.h"
#include "wingui/controls.h"
#include "wingui/file_dialog.h"

namespace tessdeck {

namespace {

const char* const kAutoStartPortableHint =
    "A portable pad (tessdeck.ini beside tessdeck.exe) writes nothing into the registry, "
    "so it cannot start with Windows.";
const char* const kSettingsFilter = "Tessdeck Settings (*.ini)|*.ini|All Files (*.*)|*.*";
constexpr UINT_PTR kMenuTipId = 1;

// The export's and the import's dialog: settings files first.
wingui::FileDialog SettingsDialog(HWND owner, const char* title) {
    wingui::FileDialog d;
    d.owner = owner;
    d.filter = kSettingsFilter;
    d.title = title;
    d.defExt = "ini";
    return d;
}

}  // namespace

void TDeckForm::readPortableSettings() {
    // Nothing in the registry: no key, no ".tks" association, no logon
    // value, so "Auto Start" cannot be had.
    setChecked(IDM_AUTOSTART, false);
    EnableMenuItem(popup_, IDM_AUTOSTART, MF_BYCOMMAND | MF_GRAYED);
    const std::string file = PortableSettingsPath(programDir_);
    taskloom::SettingsFromFile read;
    try {
        read = taskloom::ReadStartSettings(taskloom::ReadTextFile(file), programDir_);
    } catch (const std::exception& e) {
        read.problem = e.what();
    }
    if (!read.problem.empty()) {
        // The defaults, said in the about box; the exit writes a sound file.
        settingsProblem_ = "the saved settings could not be read (" + file + ", " + read.problem +
                           "); the pad starts with its defaults";
        return;
    }
    openDialogFile_ = read.padFile;
    applySettings(read.settings);
}

void TDeckForm::keepSettings(const std::string& pad, const taskloom::PadSettings& s) {
    if (portable_) {
        WriteFileSafely(PortableSettingsPath(programDir_),
                        taskloom::FormatSettingsFile(taskloom::SettingsToKeep(pad, s, programDir_)));
        return;
    }
    if (!PadRegistry(start_.roots, kPadCaption).saveSettings(hive_, pad, taskloom::FormatSettings(s)))
        throw std::runtime_error("The settings could not be written into the registry key " +
                                 PadKeyPath(kPadCaption) + ".");
}

// --- Export and import ------------------------------------------------------

void TDeckForm::exportSettingsTo(const std::string& file) {
    WriteFileSafely(file, taskloom::FormatSettingsFile(
                              taskloom::SettingsToKeep(openDialogFile_, currentSettings(), programDir_)));
}

void TDeckForm::importSettingsFrom(const std::string& file) {
    const taskloom::SettingsFromFile read =
        taskloom::ReadImportedSettings(taskloom::ReadTextFile(file), programDir_);
    if (!read.problem.empty())
        throw std::runtime_error("The settings cannot be imported from " + file + ": " + read.problem +
                                 ".\nNothing was changed.");
    const taskloom::PadSettings s = taskloom::ParseSettings(read.settings).settings;
    // A file that names no pad keeps the pad in use.
    const std::string pad = read.padFile.empty() ? openDialogFile_ : read.padFile;
    // Kept first, so that nothing changes when the store refuses them.
    keepSettings(pad, s);

    // Then taken in as a start would take them: the marks, the delimiter and
    // the clips size, the pad, the icons shown and the place.
    settingsProblem_.clear();
    applySettings(taskloom::FormatSettings(s));
    settings_ = s;
    // A pad file that does not load is reported once the rest is in place.
    std::exception_ptr padFailure;
    if (!read.padFile.empty()) {
        openDialogFile_ = read.padFile;
        try {
            openPad(read.padFile, false);
        } catch (...) {
            padFailure = std::current_exception();
        }
    }
    if (placed_) {
        wingui::UpDown{moreOrLess_}.setValue(s.moreOrLess);
        SetWindowPos(hwnd(), HWND_TOPMOST, s.left, s.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        AdjustTheBar(position());
    }
    if (padFailure) std::rethrow_exception(padFailure);
}

void TDeckForm::ExportSettingsClick() {
    wingui::FileDialog d = SettingsDialog(hwnd(), "Export Settings");
    d.overwritePrompt = true;
    if (const auto file = wingui::AskSaveFile(d, std::string(taskloom::kSettingsFileName)))
        exportSettingsTo(*file);
}

void TDeckForm::ImportSettingsClick() {
    if (const auto file = wingui::AskOpenFile(SettingsDialog(hwnd(), "Import Settings")))
        importSettingsFrom(*file);
}

// --- The menu's hints -------------------------------------------------------

void TDeckForm::menuSelect(UINT item, UINT flags, HMENU menu) {
    const bool closed = flags == 0xFFFF && menu == nullptr;
    if (closed || (flags & MF_POPUP) || item != IDM_AUTOSTART || !portable_) {
        hideMenuHint();
        return;
    }
    if (!menuTip_) {
        menuTip_ = CreateWindowExA(
            WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!menuTip_) return;
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        ti.hwnd = hwnd();
        ti.uId = kMenuTipId;
        ti.lpszText = const_cast<char*>(kAutoStartPortableHint);
        SendMessageA(menuTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageA(menuTip_, TTM_SETMAXTIPWIDTH, 0, px(300));
    }
    menuHint_ = kAutoStartPortableHint;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = hwnd();
    ti.uId = kMenuTipId;
    // Beside the item, on the side of the screen that has room for it.
    RECT r{};
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(menu, i) == item) GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
    const LRESULT size = SendMessageA(menuTip_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&ti));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor);
    int x = r.right + px(4);
    if (x + LOWORD(size) > monitor.rcWork.right)
        x = std::max<int>(monitor.rcWork.left, r.left - px(4) - LOWORD(size));
    SendMessageA(menuTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, r.top));
    SendMessageA(menuTip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void TDeckForm::hideMenuHint() {
    menuHint_.clear();
    if (!menuTip_) return;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = hwnd();
    ti.uId = kMenuTipId;
    SendMessageA(menuTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace tessdeck
