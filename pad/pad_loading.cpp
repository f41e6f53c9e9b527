// Loading a pad into the bar, its hot keys, and the bar's layout: how many
// icons show, their order, the bar's look, the window's size, moving and
// sizing it with the mouse.
#include <windows.h>

#include <algorithm>

#include "pad/tdeck_form.h"  // first: the engine's KeyName before the shortcut text's

#include "engine/filestore.h"
#include "pad/model/hot_key_check.h"
#include "pad/model/pad_text.h"
#include "engine/sendkey.h"
#include "pad/model/shortcut_text.h"
#include "win32/win32_desktop.h"
#include "resources/tessdeck_ids.h"
#include "wingui/controls.h"
#include "wingui/error_report.h"
#include "wingui/file_dialog.h"

namespace tessdeck {

namespace {
const char* const kOpenTitle = "Open New Tessdeck";
const char* const kOpenFilter = "Tessdeck Files (*.tkp)|*.tkp";
// The keystroke sender's codes of the arrow keys.
const char kLeftKey[] = "\xF4";
const char kDownRightKeys[] = "\xF3\xF5";
}  // namespace

bool TDeckForm::RegKeys(const std::string& keyText, int slot) {
    const taskloom::Shortcut key = taskloom::ParseShortcut(keyText, nullptr, taskloom::LayoutKeyName);
    if (key.key == 0) return false;
    const int id = taskloom::HotKeyId(key);
    // Thread-wide: the message comes through the thread's queue. A key that
    // another program holds is not available; the icon's hint and the hot
    // key report say so, and it is tried again later. Only an identifier
    // that this registration holds is kept for the slot, so emptying the bar
    // never releases a key that belongs to someone else (the show/hide key
    // among them).
    if (!RegisterHotKey(nullptr, id, key.mods, static_cast<UINT>(key.key))) return false;
    if (slot >= 0 && slot < static_cast<int>(storeTags_.size())) storeTags_[slot] = id;
    return true;
}

void TDeckForm::registerIconKeys() {
    // One registration per key: an icon repeating an earlier icon's key
    // shares it, and the show/hide key stays the pad's own.
    for (const std::size_t i : taskloom::SlotsToRegister(slots_, storeTags_))
        RegKeys(slots_[i].hotKey, static_cast<int>(i));
}

void TDeckForm::RetryHotKeys() {
    if (exited_) return;
    registerIconKeys();
    // The show/hide key once start-up has registered it (or failed to).
    if (placed_ && !showHideHeld_) showHideHeld_ = RegKeys(std::string(taskloom::kShowHideKeyText), -1);
    // The tooltips ask for the hints as they show; one showing now is redrawn.
    if (HWND tips = reinterpret_cast<HWND>(SendMessageA(toolBar1_, TB_GETTOOLTIPS, 0, 0)))
        SendMessageA(tips, TTM_UPDATE, 0, 0);
}

std::string TDeckForm::iconHint(std::size_t index) const {
    if (index >= bar_.size()) return {};
    const std::vector<taskloom::IconKeyState> states =
        taskloom::JudgeHotKeys(taskloom::BarKeys(bar_, slots_), storeTags_);
    return taskloom::ShownHint(bar_[index].hint, states[index].state);
}

std::string TDeckForm::hotKeyReport() const {
    const std::vector<taskloom::IconKey> keys = taskloom::BarKeys(bar_, slots_);
    return taskloom::HotKeyReport(keys, taskloom::JudgeHotKeys(keys, storeTags_), showHideHeld_);
}

void TDeckForm::HotKeyReportClick() {
    MessageBoxA(hwnd(), hotKeyReport().c_str(), "Hot Key Report", MB_OK | MB_ICONINFORMATION);
}

bool TDeckForm::askPadFile(std::string& name) {
    wingui::FileDialog d;
    d.owner = hwnd();
    d.filter = kOpenFilter;
    d.folder = taskloom::FolderOf(name);
    d.title = kOpenTitle;
    d.defExt = "tkp";
    const std::optional<std::string> chosen = wingui::AskOpenFile(d, name);
    if (!chosen) return false;
    name = *chosen;
    return true;
}

void TDeckForm::emptyBar() {
    // Last icon first, each icon's hot key released.
    for (std::size_t c = bar_.size(); c > 0; --c) {
        if (c - 1 < storeTags_.size() && storeTags_[c - 1] != 0) UnregisterHotKey(nullptr, storeTags_[c - 1]);
        bar_.pop_back();
    }
    slots_.clear();
    storeTags_.clear();
    if (toolBar1_) refreshBar();
}

void TDeckForm::OpenPadClick(bool fromMenu) {
    std::string name = taskloom::ProposedPadName(openDialogFile_);
    if (!start_.args.empty()) name = start_.args[0];
    openPad(name, fromMenu);
}

void TDeckForm::openPad(std::string name, bool ask) {
    if (ask || !taskloom::FileExists(name)) {
        if (!askPadFile(name)) return;
    }
    openDialogFile_ = name;
    emptyBar();
    taskloom::PadLoad load;
    try {
        load = taskloom::ParsePadText(taskloom::ReadTextFile(name), taskloom::PadReader::Pad);
    } catch (...) {
        // Nothing of the old pad stays: the bar, the up-down and the window
        // are an empty pad's.
        showPad({});
        throw;
    }
    showPad(taskloom::PlaceLoadedPad(load, taskloom::LayoutKeyName));
    if (!load.error.empty()) throw taskloom::PadTextError(name + ": " + load.error);
}

void TDeckForm::showPad(const taskloom::PlacedPad& placed) {
    bar_ = placed.bar;
    slots_ = placed.slots;
    storeTags_.assign(slots_.size(), 0);
    EnableCheck();
    registerIconKeys();
    const int n = static_cast<int>(bar_.size());
    maximum_ = n - 1;
    wingui::UpDown{moreOrLess_}.setRange(-1, maximum_);
    wingui::UpDown{moreOrLess_}.setValue(n - 1);
    AdjustTheBar(n - 1);
}

void TDeckForm::EnableCheck() {
    // Every bar button a grouped check button showing its hint, none down.
    refreshBar();
}

void TDeckForm::refreshBar() {
    while (SendMessageA(toolBar1_, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(toolBar1_, TB_DELETEBUTTON, 0, 0);
    std::vector<TBBUTTON> buttons(bar_.size());
    for (std::size_t i = 0; i < bar_.size(); ++i) {
        buttons[i].iBitmap = bar_[i].image;
        buttons[i].idCommand = kBarButtonFirstId + static_cast<int>(i);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_CHECKGROUP;
        buttons[i].dwData = static_cast<DWORD_PTR>(bar_[i].slot);
    }
    if (!buttons.empty())
        SendMessageA(toolBar1_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(toolBar1_, TB_SETBUTTONSIZE, 0, MAKELPARAM(px(23), px(22)));
    InvalidateRect(toolBar1_, nullptr, TRUE);
}

void TDeckForm::AdjustTheBar(int p) {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const taskloom::PadSize now{unscale(r.right - r.left), unscale(r.bottom - r.top)};
    const taskloom::BarLayout l =
        taskloom::AdjustTheBar(p, {position(), maximum_}, now, viewClips_, checked(IDM_AUTOHIDE));
    SetWindowPos(toolBar1_, nullptr, 0, 0, px(l.barWidth), px(23),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd(), nullptr, 0, 0, px(l.window.width), px(l.window.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    setHint(l.hint);
    if (l.position != position()) wingui::UpDown{moreOrLess_}.setValue(l.position);
    if (l.hide) {
        shown_ = true;
        ShowOrHide();
    }
}

void TDeckForm::MoreOrLessClick() { AdjustTheBar(position()); }

void TDeckForm::ExpandClick() {
    if (position() < maximum_) AdjustTheBar(position() + 1);
}

void TDeckForm::ShrinkClick() { AdjustTheBar(taskloom::ShrinkPosition({position(), maximum_})); }

void TDeckForm::BarLeftClick() {
    taskloom::BarLeft(bar_);
    refreshBar();
}

void TDeckForm::BarRightClick() {
    taskloom::BarRight(bar_);
    refreshBar();
}

void TDeckForm::SwapIcons12() {
    taskloom::SwapIcons12(bar_);
    refreshBar();
}

void TDeckForm::FlatClick() {
    flat_ = !flat_;
    setChecked(IDM_FLATSTYLE, flat_);
    LONG_PTR style = GetWindowLongPtrA(toolBar1_, GWL_STYLE);
    style = flat_ ? (style | TBSTYLE_FLAT) : (style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
    SetWindowLongPtrA(toolBar1_, GWL_STYLE, style);
    RedrawWindow(toolBar1_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TDeckForm::MoveTBarClick() {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    SetCursorPos(r.left + 4, r.top + 4);
    PostMessageA(hwnd(), WM_SYSCOMMAND, SC_MOVE, 0);
    taskloom::SendKeyString(desktop_, kLeftKey);
}

void TDeckForm::RunDblClick() {
    MoveTBarClick();
    PostMessageA(hwnd(), WM_SYSCOMMAND, SC_MOVE, 0);
    taskloom::SendKeyString(desktop_, kLeftKey);
}

void TDeckForm::SizeClick() {
    if (!viewClips_) return;
    PostMessageA(hwnd(), WM_SYSCOMMAND, SC_SIZE, 0);
    taskloom::SendKeyString(desktop_, kDownRightKeys);
}

void TDeckForm::ResizeClick() {
    if (!clips_) return;
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const taskloom::PadSize now{unscale(r.right - r.left), unscale(r.bottom - r.top)};
    // The pane's own visible style: IsWindowVisible also asks about the pad,
    // and a hidden pad must keep its pane for when it shows again.
    const bool paneShown = (GetWindowLongPtrA(clips_, GWL_STYLE) & WS_VISIBLE) != 0;
    const taskloom::ResizeResult fit = taskloom::ResizeClick(now, paneShown);
    if (!fit.paneVisible) ShowWindow(clips_, SW_HIDE);
    if (fit.window != now)
        SetWindowPos(hwnd(), nullptr, 0, 0, px(fit.window.width), px(fit.window.height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (fit.paneVisible)
        SetWindowPos(clips_, nullptr, 0, 0, px(fit.pane.width), px(fit.pane.height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TDeckForm::AutoHideClick() { setChecked(IDM_AUTOHIDE, !checked(IDM_AUTOHIDE)); }

void TDeckForm::ShowOrHide() {
    shown_ = !shown_;
    ShowWindow(hwnd(), shown_ ? SW_SHOWNOACTIVATE : SW_HIDE);
}

}  // namespace tessdeck
