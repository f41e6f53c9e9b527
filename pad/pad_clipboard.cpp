// Clipboard watching: the pad in the clipboard viewer chain, what a change
// adds to the clips pane (ClipboardChanged with its suppress mark), the
// private copies it leaves alone, and the idle work that keeps the paste
// target (PadIdle).
//
// The chain: the pad passes every WM_DRAWCLIPBOARD and every
// WM_CHANGECBCHAIN that is not about its own next viewer on down the chain,
// so every viewer after it keeps being told, and it leaves the chain at exit
// handing on its next viewer.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cstring>
#include <optional>
#include <stdexcept>

#include "engine/errors.h"
#include "pad/model/pad_layout.h"
#include "engine/text.h"
#include "win32/clipboard_guard.h"
#include "win32/win32_desktop.h"
#include "pad/tdeck_form.h"
#include "resources/tessdeck_ids.h"
#include "wingui/window.h"

namespace tessdeck {

namespace {

taskloom::Wnd W(HWND h) { return reinterpret_cast<taskloom::Wnd>(h); }
// A viewer further down that hangs holds the pad no longer than this.
constexpr UINT kPassOnTimeoutMs = 2000;
// How long the pad waits for another program to close the clipboard: it is
// held in a clipboard notice meanwhile, frozen to the user.
constexpr unsigned kOpenWaitMs = 500;

// What one look at the clipboard found.
struct ClipboardRead {
    bool opened = false;
    bool hasText = false;
    std::string text;
    bool isPrivate = false;
    DWORD sequence = 0;  // the clipboard's sequence number as read
};

std::optional<std::uint32_t> GlobalNumber(HANDLE data) {
    if (!data || GlobalSize(data) < sizeof(DWORD)) return std::nullopt;
    const void* p = GlobalLock(data);
    if (!p) return std::nullopt;
    DWORD v = 0;
    std::memcpy(&v, p, sizeof v);
    GlobalUnlock(data);
    return v;
}

// The clipboard's text and whether the copy is marked private, read in one
// opening so that both belong to the same copy.
ClipboardRead ReadClipboard(HWND owner, bool withFormats) {
    ClipboardRead r;
    // No sent message is answered while waiting: a clipboard notice taken
    // in the middle of this one would read the same copy twice.
    const taskloom::ClipboardGuard open(owner, kOpenWaitMs, false);
    r.opened = open.opened();
    if (!r.opened) return r;
    if (withFormats) {
        std::vector<taskloom::ClipboardFormat> formats;
        for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
            taskloom::ClipboardFormat format;
            if (f >= 0xC000) {
                char name[256] = {};
                const int n = GetClipboardFormatNameA(f, name, sizeof name);
                if (n > 0) format.name.assign(name, static_cast<std::size_t>(n));
                if (taskloom::EqualsNoCase(format.name, taskloom::kHistoryFormat))
                    format.value = GlobalNumber(GetClipboardData(f));
            }
            formats.push_back(std::move(format));
        }
        r.isPrivate = taskloom::IsPrivateClip(formats);
    }
    r.hasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    if (r.hasText) r.text = taskloom::ClipboardBlockText(GetClipboardData(CF_TEXT));
    // Taken while the clipboard is still open, after any format the reading
    // made the system render: nobody else can have changed it since.
    r.sequence = GetClipboardSequenceNumber();
    return r;
}

}  // namespace

void TDeckForm::startClips() {
    // The pane: plain text, navy, in a small font; its selection changes
    // reach the form.
    if (richEdit_) {
        SendMessageA(clips_, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
        CHARFORMATA cf{};
        cf.cbSize = sizeof cf;
        cf.dwMask = CFM_COLOR | CFM_SIZE | CFM_FACE;
        cf.crTextColor = RGB(0, 0, 128);
        cf.yHeight = 7 * 20;  // 7 points
        lstrcpynA(cf.szFaceName, "Arial", LF_FACESIZE);
        SendMessageA(clips_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
        SendMessageA(clips_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
        SendMessageA(clips_, EM_SETEVENTMASK, 0, ENM_SELCHANGE);
    }
    if (!clipsMenuRoot_) {
        clipsMenuRoot_.reset(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CLIPSMENU)));
        if (!clipsMenuRoot_) throw std::runtime_error("the clips pane's menu is missing from its resources");
        clipsMenu_ = GetSubMenu(clipsMenuRoot_.get(), 0);
    }
    // The form's dispatch hands the clipboard's and the pane's messages on
    // from now until endClips().
    clipsStarted_ = true;
    if (!paneSubclassed_) {
        wingui::Subclass(clips_, [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
            result = 0;
            return clipsStarted_ && onPaneMessage(msg, wp, lp);
        });
        paneSubclassed_ = true;
    }
    // The clips image's hint comes from clipsHint_ whenever it shows (the
    // hints made later ask for it from the start).
    if (tips_) {
        TOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = hwnd();
        ti.uId = reinterpret_cast<UINT_PTR>(padImage_);
        ti.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(tips_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    setClipsHint(taskloom::ClipsHint(0, 0));
    // Joining the chain may tell the new viewer at once (not every system
    // does). That notice brings no new copy: the clipboard's sequence number
    // is the one taken here, so it is passed over, and the suppress mark is
    // free for the first real copy.
    pasteTarget_ = hwnd();
    watch_ = taskloom::ClipboardWatch(W(hwnd()));
    watch_.joined(GetClipboardSequenceNumber());
    HWND next = SetClipboardViewer(hwnd());
    nextViewer_ = next == hwnd() ? nullptr : next;
    inChain_ = true;
}

void TDeckForm::endClips() {
    if (inChain_) {
        inChain_ = false;
        ChangeClipboardChain(hwnd(), nextViewer_);
        nextViewer_ = nullptr;
    }
    clipsStarted_ = false;
}

std::optional<LRESULT> TDeckForm::onClipboardMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!clipsStarted_) return std::nullopt;
    switch (msg) {
        case WM_CHANGECBCHAIN:
            // WMChangeCBChain: mend the chain around a viewer that leaves.
            if (reinterpret_cast<HWND>(wp) == nextViewer_)
                nextViewer_ = reinterpret_cast<HWND>(lp) == hwnd() ? nullptr : reinterpret_cast<HWND>(lp);
            else if (nextViewer_)
                SendMessageTimeoutA(nextViewer_, msg, wp, lp, SMTO_ABORTIFHUNG, kPassOnTimeoutMs, nullptr);
            return 0;
        case WM_DRAWCLIPBOARD:
            // WMDrawClipboard: the next viewer is told first.
            if (nextViewer_)
                SendMessageTimeoutA(nextViewer_, WM_DRAWCLIPBOARD, 0, 0, SMTO_ABORTIFHUNG, kPassOnTimeoutMs,
                                    nullptr);
            if (inChain_ && !exited_) ClipboardChanged();
            return std::nullopt;  // then the default handling
        case WM_DESTROY:
            endClips();
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

void TDeckForm::ClipboardChanged() {
    // A notice that brings no change since the pad last looked adds nothing:
    // two notices can arrive for one copy (the next copy came before the
    // first notice was read), and reading the clipboard can itself make the
    // system tell the viewers again.
    if (!watch_.notice(GetClipboardSequenceNumber(), W(GetForegroundWindow()), checked(IDM_AUTOADD))) return;
    const ClipboardRead clip = ReadClipboard(hwnd(), true);
    if (!watch_.read(clip.opened ? clip.sequence : 0, clip.hasText, clip.isPrivate)) return;
    addClipText(clip.text);
    if (checked(IDM_AUTODIAL)) AutoDial(clip.text);
    SetWindowTextA(pgmName_, "");
}

void TDeckForm::ClipsAdd() {
    // Even with "Auto &Add Clips" off: the user asked for it.
    const ClipboardRead clip = ReadClipboard(hwnd(), false);
    if (!clip.opened) throw taskloom::ClipboardError("The clipboard is held by another program.");
    watch_.taken(clip.sequence);
    if (clip.hasText) addClipText(clip.text);
}

// --- Idle -------------------------------------------------------------------

void TDeckForm::PadIdle() {
    if (exited_ || !shown_ || !IsWindowVisible(hwnd())) return;
    // The paste target is another program's window: never the pad, its
    // note, or one of its dialogs and menus (gone by the time of a paste).
    const HWND front = GetForegroundWindow();
    DWORD owner = 0;
    if (front) GetWindowThreadProcessId(front, &owner);
    if (front && owner != GetCurrentProcessId()) pasteTarget_ = front;
    if (viewClips_) return;
    // The menu image moves by one pixel now and then while the pad is in
    // use. Only an actual move repaints, and the few idle runs that follow
    // it move nothing, so this never keeps the queue busy by itself.
    ++idleCounter_;
    if (const std::optional<int> left = taskloom::MenuImageWobble(idleCounter_)) {
        RECT r{};
        GetWindowRect(vexaImage_, &r);
        POINT at{r.left, r.top};
        ScreenToClient(hwnd(), &at);
        if (at.x != *left)
            SetWindowPos(vexaImage_, nullptr, *left, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace tessdeck
