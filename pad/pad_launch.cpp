// Launching: an icon's program text goes to the shell, or, naming a script,
// is run by the pad's own engine. The global hot keys reach the pad through
// the thread's message queue and launch the icon whose key was pressed (or
// show and hide the pad); the tray icon stands in for a task bar button.
// Auto-start, auto-dial's check mark and the maker's two addresses.
#include <windows.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>

#include "pad/tdeck_form.h"  // first: the engine's KeyName before the shortcut text's

#include "engine/filestore.h"
#include "pad/model/pad_settings.h"
#include "pad/model/pad_text.h"
#include "pad/model/shortcut_text.h"
#include "engine/starter.h"
#include "win32/system_library.h"
#include "win32/win32_desktop.h"
#include "resources/tessdeck_ids.h"
#include "wingui/file_dialog.h"

namespace tessdeck {

namespace {

const char* const kLocateFilter = "Taskloom Files (*.tks)|*.tks";
// The pad's own show/hide key as the hot key's text reads.
const char* const kShowHideText = "Shift+Ctrl+F9";

// The form whose hot keys this thread receives. Hot keys are registered for
// the thread, not for a window: their WM_HOTKEY comes without a window, and
// would be lost in every message loop that merely dispatches it (the
// engine's while a script runs, a dialog's, a menu's). The hook sees the
// message wherever it is taken from the queue and hands it to the pad's
// window.
thread_local TDeckForm* hotKeyForm = nullptr;

LRESULT CALLBACK HotKeyHook(int code, WPARAM removing, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && removing == PM_REMOVE && msg && msg->message == WM_HOTKEY && !msg->hwnd &&
        hotKeyForm && hotKeyForm->hwnd()) {
        PostMessageA(hotKeyForm->hwnd(), WM_HOTKEY, msg->wParam, msg->lParam);
        msg->message = WM_NULL;  // handled
    }
    return CallNextHookEx(nullptr, code, removing, lp);
}

// The name part of a path: after its last backslash, slash or colon.
std::string NameOf(const std::string& path) {
    const std::size_t sep = path.find_last_of("\\/:");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

}  // namespace

// --- Launching --------------------------------------------------------------

void TDeckForm::IconBtnClick() {
    if (exited_) return;
    // The first button down, in bar order; it comes up again.
    for (std::size_t i = 0; i < bar_.size(); ++i) {
        const int id = kBarButtonFirstId + static_cast<int>(i);
        if (!SendMessageA(toolBar1_, TB_ISBUTTONCHECKED, id, 0)) continue;
        SendMessageA(toolBar1_, TB_CHECKBUTTON, id, FALSE);
        const int slot = bar_[i].slot;
        if (slot < 0 || slot >= static_cast<int>(slots_.size())) return;
        RunIt(slots_[slot].program);
        return;
    }
}

bool TDeckForm::locateScript(std::string& path) {
    const std::string name = NameOf(path);
    const std::string title = "Locate " + name;
    wingui::FileDialog d;
    d.owner = hwnd();
    d.filter = kLocateFilter;
    d.folder = taskloom::FolderOf(path);
    d.title = title.c_str();
    const std::optional<std::string> chosen = wingui::AskOpenFile(d, name);
    if (!chosen) return false;
    path = *chosen;
    return true;
}

void TDeckForm::RunIt(const std::string& text) {
    const taskloom::Launch launch = taskloom::LaunchOf(text);
    if (launch == taskloom::Launch::Nothing) return;
    if (launch == taskloom::Launch::Shell) {
        ExecProgram(text);
        return;
    }
    // One run at a time: a script launched while another runs would have
    // the running one's lines replaced under it.
    if (engine_->running()) return;
    macroBox_.clear();
    std::string path = text;
    if (!taskloom::FileExists(path)) {
        if (!locateScript(path)) return;
        // The dialog now holds the script's path, kept as "Pad" at exit.
        openDialogFile_ = path;
    }
    // Every launch reads the file afresh, so edits count at the next one.
    macroBox_ = taskloom::ReadScriptFile(path);
    engine_->RunScript();
    // The run may have set the clips delimiter; the menu shows the one in use.
    followDelimiter();
    // An exit chosen during the run left the note for now: its wait is over.
    if (exited_ && note_ && !note_->waiting()) note_.reset();
}

bool TDeckForm::ExecProgram(const std::string& text) {
    const taskloom::ShellStart s = taskloom::ExecProgram(text, taskloom::FileExists);
    return desktop_.shellExecute(reinterpret_cast<taskloom::Wnd>(hwnd()), s.file, s.params, s.dir,
                                 SW_SHOWNORMAL);
}

// --- Hot keys ---------------------------------------------------------------

void TDeckForm::installHotKeyHook() {
    if (hotKeyHook_) return;
    hotKeyHook_.reset(SetWindowsHookExA(WH_GETMESSAGE, HotKeyHook, nullptr, GetCurrentThreadId()));
    if (hotKeyHook_) hotKeyForm = this;
}

void TDeckForm::removeHotKeyHook() {
    if (!hotKeyHook_) return;
    hotKeyHook_.reset();
    if (hotKeyForm == this) hotKeyForm = nullptr;
}

std::optional<LRESULT> TDeckForm::onLaunchMessage(UINT msg, WPARAM wp, LPARAM /*lp*/) {
    switch (msg) {
        case WM_HOTKEY:
            HotKeyMessage(static_cast<int>(wp));
            return 0;
        case kLaunchMessage:
            IconBtnClick();
            return 0;
        case WM_WTSSESSION_CHANGE:
            if (wp == WTS_SESSION_UNLOCK) RetryHotKeys();
            return 0;
        case WM_POWERBROADCAST:
            if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) RetryHotKeys();
            return TRUE;
        default:
            return std::nullopt;
    }
}

void TDeckForm::bringToFront() {
    if (IsIconic(hwnd()))
        ShowWindow(hwnd(), SW_RESTORE);
    else
        SetForegroundWindow(hwnd());
    SetFocus(hwnd());
}

void TDeckForm::HotKeyMessage(int id) {
    if (exited_) return;
    const std::string keyText =
        taskloom::FormatShortcut(taskloom::ShortcutFromId(id), taskloom::LayoutKeyName);
    if (keyText == kShowHideText) {
        bringToFront();
        ShowOrHide();
        return;
    }
    // The icon whose hot key is exactly the key pressed.
    std::vector<std::string> hints;
    hints.reserve(bar_.size());
    for (const taskloom::BarButton& b : bar_) hints.push_back(b.hint);
    const int icon = taskloom::FindHotKeyIcon(hints, keyText);
    if (icon < 0) return;
    SendMessageA(toolBar1_, TB_CHECKBUTTON, kBarButtonFirstId + icon, TRUE);
    IconBtnClick();
}

// --- Tray icon and the menu image -------------------------------------------

void TDeckForm::SetTrayIcon() {
    if (trayIcon_) return;
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = hwnd();
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = programIcon_;
    lstrcpynA(data.szTip, kPadCaption, sizeof data.szTip);
    // Loaded only now, after the bar shows: the shell is not needed before.
    auto notifyIcon = taskloom::Shell32Library().find<decltype(Shell_NotifyIconA)>("Shell_NotifyIconA");
    trayIcon_ = notifyIcon && notifyIcon(NIM_ADD, &data) != FALSE;
}

void TDeckForm::removeTrayIcon() {
    if (!trayIcon_) return;
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = hwnd();
    data.uID = kTrayIconId;
    if (auto notifyIcon = taskloom::Shell32Library().find<decltype(Shell_NotifyIconA)>("Shell_NotifyIconA"))
        notifyIcon(NIM_DELETE, &data);
    trayIcon_ = false;
}

std::optional<LRESULT> TDeckForm::onTrayMessage(UINT msg, WPARAM /*wp*/, LPARAM lp) {
    // The tray's mouse messages go on to the default handling as well.
    if (msg == kTrayMessage) TrayIconMessage(lp);
    return std::nullopt;
}

void TDeckForm::TrayIconMessage(LPARAM mouse) {
    if (exited_) return;
    switch (static_cast<UINT>(mouse)) {
        case WM_LBUTTONUP:
            if (shown_) bringToFront();
            ShowOrHide();
            break;
        case WM_RBUTTONDOWN: {
            POINT at{};
            GetCursorPos(&at);
            openPopupMenu(at);
            break;
        }
        default:
            break;
    }
}

void TDeckForm::RunIconClick() {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    openPopupMenu({r.left + 22, r.top + 12});
}

// --- Auto-start, auto-dial, the maker's addresses ---------------------------

void TDeckForm::AutoStartClick() {
    // A portable pad writes no logon value (the item is grayed).
    if (portable_) return;
    const bool on = !checked(IDM_AUTOSTART);
    setChecked(IDM_AUTOSTART, on);
    // A registry that refuses is not reported; the mark changes all the same.
    PadRegistry(start_.roots, kPadCaption).setAutoStart(on, taskloom::AutoStartValue(start_.programPath));
}

void TDeckForm::AutoDialClick() {
    const bool on = !checked(IDM_AUTODIAL);
    setChecked(IDM_AUTODIAL, on);
    // Auto dial only sees the clips that are added.
    if (on) setChecked(IDM_AUTOADD, true);
}

void TDeckForm::VisitUs() { ExecProgram(kWebSite); }

void TDeckForm::MailUs() { ExecProgram(kMailAddress); }

}  // namespace tessdeck
