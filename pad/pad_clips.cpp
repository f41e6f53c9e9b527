// The clips pane: adding a clip within the size limit, the line position
// hint, Auto Copy's copy and paste (NewClipLine), the pane's menu
// (ClipsMenu) and shortcut keys, showing and hiding the pane, the clips
// items of the pad's menu, the two saves, Run, and auto dial.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <climits>
#include <vector>

#include "engine/errors.h"
#include "engine/filestore.h"
#include "pad/model/pad_layout.h"
#include "pad/model/phone.h"
#include "engine/sendkey.h"
#include "engine/starter.h"
#include "pad/tdeck_form.h"
#include "resources/tessdeck_ids.h"
#include "wingui/file_dialog.h"
#include "wingui/handles.h"

namespace tessdeck {

namespace {

taskloom::Wnd W(HWND h) { return reinterpret_cast<taskloom::Wnd>(h); }

// The saves' dialog, question box and files on this system.
class Win32ClipsSaveSystem final : public taskloom::ClipsSaveSystem {
public:
    explicit Win32ClipsSaveSystem(HWND owner) : owner_(owner) {}

    std::optional<std::string> chooseFile(const std::string& proposed) override {
        // A file that is there is asked about by the save itself.
        wingui::FileDialog d;
        d.owner = owner_;
        return wingui::AskSaveFile(d, proposed);
    }
    bool exists(const std::string& name) override { return taskloom::FileExists(name); }
    bool confirm(const std::string& question) override {
        return MessageBoxA(owner_, question.c_str(), "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    void replace(const std::string& name, std::string_view text) override {
        taskloom::WriteTextFile(name, text);
    }
    void append(const std::string& name, std::string_view text) override {
        const wingui::ScopedHandle f(CreateFileA(name.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (f.get() == INVALID_HANDLE_VALUE) throw taskloom::FileError(name, SystemReason(), "cannot write");
        DWORD written = 0;
        const BOOL ok = WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        const std::string reason = ok ? std::string() : SystemReason();
        if (!ok || written != text.size())
            throw taskloom::FileError(name, ok ? "the disk is full" : reason, "cannot write");
    }

private:
    static std::string SystemReason() {
        char text[512] = {};
        const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                       GetLastError(), 0, text, sizeof text, nullptr);
        std::string reason(text, n);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
            reason.pop_back();
        return reason.empty() ? "error " + std::to_string(GetLastError()) : reason;
    }
    HWND owner_;
};

// Where the pane's caret and selection are, in the pane's own characters
// (a line break is one).
CHARRANGE Selection(HWND pane) {
    CHARRANGE r{};
    SendMessageA(pane, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

void Select(HWND pane, LONG from, LONG to) {
    CHARRANGE r{from, to};
    SendMessageA(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
    if (IsWindowVisible(pane)) SendMessageA(pane, EM_SCROLLCARET, 0, 0);
}

LONG PaneEnd(HWND pane) {
    GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    return static_cast<LONG>(SendMessageA(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0));
}

}  // namespace

namespace {

// The pane's length in bytes with CR LF line breaks.
std::size_t CrLfLength(HWND pane) {
    GETTEXTLENGTHEX len{GTL_USECRLF | GTL_PRECISE | GTL_NUMBYTES, CP_ACP};
    const LRESULT n = SendMessageA(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace

std::string TDeckForm::clipsText() const {
    // The text with CR LF line breaks.
    const std::size_t n = CrLfLength(clips_);
    if (n == 0) return {};
    std::string text(n + 1, '\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size());
    get.flags = GT_USECRLF;
    get.codepage = CP_ACP;
    const LRESULT got = SendMessageA(clips_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? std::min(static_cast<std::size_t>(got), text.size()) : 0);
    return text;
}

void TDeckForm::setClipsHint(const std::string& hint) {
    if (hint == clipsHint_) return;
    clipsHint_ = hint;
    // The image's text carries the hint too, for screen readers and other
    // programs.
    // The tooltip asks for it when it shows (TTN_GETDISPINFO).
    SetWindowTextA(padImage_, hint.c_str());
}

void TDeckForm::addClipText(const std::string& clip) {
    // AddClips from the clipboard: the clip and its delimiter at the end, or
    // nothing at all when they do not fit the size limit.
    // Only the pad changes the pane: the copy it keeps of the text holds
    // while the length agrees, and saves reading a long pane for every clip.
    if (CrLfLength(clips_) != paneText_.size()) paneText_ = clipsText();
    const std::string& pane = paneText_;
    const taskloom::PaneAdd add = taskloom::AddClipToPane(pane, clip, static_cast<char>(engine_->delimiter()),
                                                          taskloom::ClipsSizeLimit(settings_.clipsSize));
    clipsFull_ = !add.added;
    if (add.added) {
        // Read-only keeps the user from typing; the program's own changes
        // go in all the same. The caret's moves on the way are one change
        // of the line position, shown once at the end.
        const std::string added = add.text.substr(pane.size());
        const LRESULT events = SendMessageA(clips_, EM_SETEVENTMASK, 0, 0);
        const LONG end = PaneEnd(clips_);
        Select(clips_, end, end);
        SendMessageA(clips_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
        SendMessageA(clips_, EM_SETEVENTMASK, 0, events);
        paneText_ = add.text;
    }
    updateLinePos(paneText_);
}

void TDeckForm::UpdateLinePos() {
    paneText_ = clipsText();
    updateLinePos(paneText_);
}

void TDeckForm::updateLinePos(const std::string& pane) {
    const CHARRANGE sel = Selection(clips_);
    const int line = static_cast<int>(SendMessageA(clips_, EM_EXLINEFROMCHAR, 0, sel.cpMin));
    // In the CR LF text every line break before the caret is one more.
    setClipsHint(taskloom::ClipsHintAt(pane, static_cast<std::size_t>(sel.cpMin) + line, clipsFull_));
    const taskloom::ClipsItemsState items = taskloom::ClipsItems(pane);
    const UINT on = MF_BYCOMMAND | MF_ENABLED, off = MF_BYCOMMAND | MF_GRAYED;
    EnableMenuItem(clipsMenu_, IDM_CLIPSCOPY, items.copyAndRun ? on : off);
    EnableMenuItem(clipsMenu_, IDM_CLIPSRUN, items.copyAndRun ? on : off);
    EnableMenuItem(clipsMenu_, IDM_CLIPSLAST, items.last ? on : off);
    NewClipLine();
}

void TDeckForm::NewClipLine() {
    const CHARRANGE sel = Selection(clips_);
    if (sel.cpMax <= sel.cpMin || !checked(IDM_AUTOCOPY)) return;
    // The pad's own copy is not collected.
    watch_.ownCopy();
    SendMessageA(clips_, WM_COPY, 0, 0);
    const HWND target = pasteTarget_;
    if (!target || target == hwnd() || !IsWindow(target)) return;  // the selection stays
    taskloom::ActivateWindow(desktop_, W(target));
    if (IsWindowEnabled(target)) {
        const std::string shiftInsert{static_cast<char>(taskloom::kShiftDown),
                                      static_cast<char>(taskloom::kKeyIns),
                                      static_cast<char>(taskloom::kShiftUp)};
        taskloom::SendKeyString(desktop_, shiftInsert);
    }
    Select(clips_, sel.cpMax, sel.cpMax);
}

// --- Showing the pane -------------------------------------------------------

void TDeckForm::ViewClipsClick() {
    viewClips_ = !viewClips_;
    setChecked(IDM_VIEWCLIPS, viewClips_);
    SetViewClips();
    AdjustTheBar(position());
    if (!shown_) {
        shown_ = true;
        ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    }
}

void TDeckForm::SetViewClips() {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const taskloom::PadSize now{unscale(r.right - r.left), unscale(r.bottom - r.top)};
    const taskloom::PadSize size = taskloom::ViewClipsSize(now, position(), viewClips_);
    if (!viewClips_) {
        ShowWindow(clips_, SW_HIDE);
        SetWindowPos(hwnd(), nullptr, 0, 0, px(size.width), px(size.height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    ShowWindow(clips_, SW_SHOW);
    SetWindowPos(hwnd(), nullptr, 0, 0, px(size.width), px(size.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(clips_, nullptr, 0, 0, px(size.width - 4), px(size.height - 26),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const LONG end = PaneEnd(clips_);
    Select(clips_, end, end);
    SetFocus(clips_);
}

// --- The pane's menu and keys -----------------------------------------------

void TDeckForm::openClipsMenu(POINT screen) {
    SetForegroundWindow(hwnd());
    const int id = TrackPopupMenu(clipsMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                  screen.x, screen.y, 0, hwnd(), nullptr);
    PostMessageA(hwnd(), WM_NULL, 0, 0);
    if (id) clipsCommand(id);
}

void TDeckForm::clipsCommand(int id) {
    if (exited_) return;
    const UINT state = GetMenuState(clipsMenu_, static_cast<UINT>(id), MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || (state & (MF_GRAYED | MF_DISABLED))) return;
    switch (id) {
        case IDM_CLIPSADD:
            ClipsAdd();
            break;
        case IDM_CLIPSCOPY:
            ClipsCopyItemClick();
            break;
        case IDM_CLIPSRUN:
            RunItemClick();
            break;
        case IDM_CLIPSFIRST:
            ClipsFirstClick();
            break;
        case IDM_CLIPSLAST:
            ClipsLastClick();
            break;
        case IDM_ASTEXT:
            SaveTextClick();
            break;
        case IDM_ASCOMMA:
            SaveCommaClick();
            break;
        case IDM_CLIPSCLEARALL:
            ClipsClearAllClick();
            break;
        case IDM_CLIPSSELECTALL:
            ClipsSelectAll();
            break;
        case IDM_CLIPSSIZE:
            SizeClick();
            break;
        case IDM_CLIPSCLOSE:
            ViewClipsClick();
            break;
        default:
            break;
    }
}

std::optional<LRESULT> TDeckForm::onClipsMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!clipsStarted_) return std::nullopt;
    if (msg == WM_NOTIFY) {
        const auto* n = reinterpret_cast<const NMHDR*>(lp);
        if (n->hwndFrom == clips_ && n->code == EN_SELCHANGE) {
            if (!exited_) UpdateLinePos();
            return 0;
        }
        if (n->code == TTN_GETDISPINFOA && n->idFrom == reinterpret_cast<UINT_PTR>(padImage_)) {
            reinterpret_cast<NMTTDISPINFOA*>(lp)->lpszText = clipsHint_.data();
            return 0;
        }
    }
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lp) == padImage_ && HIWORD(wp) == STN_CLICKED) {
        if (!exited_) ViewClipsClick();
        return 0;
    }
    return std::nullopt;
}

bool TDeckForm::onPaneMessage(UINT msg, WPARAM wp, LPARAM lp) {
    int id = 0;
    switch (msg) {
        case WM_CONTEXTMENU: {
            POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (pt.x == -1 && pt.y == -1) {
                RECT r{};
                GetWindowRect(clips_, &r);
                pt = {r.left, r.top};
            }
            openClipsMenu(pt);
            return true;
        }
        case WM_COMMAND:
            // The menu's commands, also when another program sends them.
            if (lp != 0) return false;
            clipsCommand(LOWORD(wp));
            return true;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0,
                       shift = GetKeyState(VK_SHIFT) < 0;
            if (ctrl && !alt && !shift && wp == 'V') id = IDM_CLIPSADD;
            if (!ctrl && !alt && !shift) {
                if (wp == VK_F4) id = IDM_CLIPSFIRST;
                if (wp == VK_F5) id = IDM_CLIPSLAST;
                if (wp == VK_F8) id = IDM_CLIPSSIZE;
                if (wp == VK_F10) id = IDM_CLIPSRUN;
            }
            if (!id) return false;
            clipsCommand(id);
            return true;
        }
        default:
            return false;
    }
}

void TDeckForm::ClipsClearAllClick() {
    SetWindowTextA(clips_, "");
    clipsFull_ = false;
    Select(clips_, 0, 0);
    UpdateLinePos();
}

void TDeckForm::ClipsSelectAll() { Select(clips_, 0, -1); }
void TDeckForm::ClipsFirstClick() { Select(clips_, 0, 0); }
void TDeckForm::ClipsLastClick() {
    const LONG end = PaneEnd(clips_);
    Select(clips_, end, end);
}
void TDeckForm::ClipsCopyItemClick() { NewClipLine(); }

void TDeckForm::RunItemClick() {
    CHARRANGE sel = Selection(clips_);
    if (sel.cpMax <= sel.cpMin) {
        Select(clips_, sel.cpMin, sel.cpMin + 1);
        sel = Selection(clips_);
    }
    // The selected text is what runs, whether or not Auto Copy put it on
    // the clipboard as well.
    std::string text(static_cast<std::size_t>(sel.cpMax - sel.cpMin) * 2 + 2, '\0');
    const LRESULT n = SendMessageA(clips_, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(n > 0 ? std::min(static_cast<std::size_t>(n), text.size()) : 0);
    NewClipLine();
    SetWindowTextA(pgmName_, text.c_str());
    if (!text.empty()) ExecProgram(text);
    SetWindowTextA(pgmName_, "");
}

// --- The pad menu's clips items ---------------------------------------------

void TDeckForm::AutoAddClick() { setChecked(IDM_AUTOADD, !checked(IDM_AUTOADD)); }
void TDeckForm::AutoCopyClick() { setChecked(IDM_AUTOCOPY, !checked(IDM_AUTOCOPY)); }

void TDeckForm::ClipsSizeClick(int id) {
    CheckMenuRadioItem(popup_, IDM_K4, IDM_K50, static_cast<UINT>(id), MF_BYCOMMAND);
    ClipsSize();
}

void TDeckForm::ClipsSize() {
    settings_.clipsSize = checked(IDM_K4)    ? taskloom::ClipsSize::K4
                          : checked(IDM_K20) ? taskloom::ClipsSize::K20
                                             : taskloom::ClipsSize::K50;
    SendMessageA(clips_, EM_EXLIMITTEXT, 0,
                 static_cast<LPARAM>(taskloom::ClipsSizeLimit(settings_.clipsSize)));
}

void TDeckForm::DelimiterClick(int id) {
    CheckMenuRadioItem(popup_, IDM_DELNEWLINE, IDM_DELNONE, static_cast<UINT>(id), MF_BYCOMMAND);
    char d = '\r';
    switch (id) {
        case IDM_DELCOMMA:
            d = ',';
            break;
        case IDM_DELTAB:
            d = '\t';
            break;
        case IDM_DELSPACE:
            d = ' ';
            break;
        case IDM_DELNONE:
            d = 27;
            break;
        default:
            break;
    }
    settings_.delimiter = d;
    engine_->setDelimiter(static_cast<unsigned char>(d));
}

// --- Saving -----------------------------------------------------------------

void TDeckForm::saveClips(taskloom::ClipsSaveMode mode) {
    CheckMenuItem(clipsMenu_, IDM_ASTEXT,
                  MF_BYCOMMAND | (mode == taskloom::ClipsSaveMode::Text ? MF_CHECKED : MF_UNCHECKED));
    if (!saveSystem_) {
        if (!ownSaveSystem_) ownSaveSystem_ = std::make_unique<Win32ClipsSaveSystem>(hwnd());
        saveSystem_ = ownSaveSystem_.get();
    }
    taskloom::SaveClips(mode, clipsText(), lastClipsFile_, *saveSystem_);
}

void TDeckForm::SaveTextClick() { saveClips(taskloom::ClipsSaveMode::Text); }
void TDeckForm::SaveCommaClick() { saveClips(taskloom::ClipsSaveMode::Comma); }

// --- Auto dial --------------------------------------------------------------

void TDeckForm::AutoDial(const std::string& clip) {
    SetWindowTextA(pgmName_, clip.c_str());
    if (!taskloom::IsPhoneNumber(clip)) return;
    // The shell finds the dialer where the system registers it (its App
    // Paths), which a search of the path does not read. Only when it cannot
    // start one does the shell's handler of "tel:" addresses get the number.
    if (!ExecProgram(std::string(taskloom::kDialerProgram))) {
        ExecProgram(taskloom::TelAddress(clip));
        return;
    }
    desktop_.processMessages();
    for (int look = 0; look < taskloom::kDialerLooks; ++look) {
        Sleep(taskloom::kDialerLookPauseMs);
        const HWND dialer = FindWindowA(nullptr, std::string(taskloom::kDialerTitle).c_str());
        if (dialer && IsWindowVisible(dialer)) {
            SetForegroundWindow(dialer);
            taskloom::SendKeyString(desktop_, clip);
            return;
        }
    }
}

}  // namespace tessdeck
