// The one door from the portable core to the operating system.
//
// Implemented by the real Win32 desktop (win32/win32_desktop.*) and by
// the simulated desktop of the tests (tests/sim). The core never includes
// <windows.h>; everything it needs from the window manager, the keyboard, the
// clipboard and the shell is asked for here, in the core's own terms.
//
// Contract:
//  - Handles are plain numbers. 0 is "no window"; negative values are never
//    handed out. A handle of another program is never owned: nothing here
//    destroys or frees it.
//  - Texts are 8-bit and uncut: the core applies the visible cuts (window
//    texts at 99 characters, menu texts at 29) itself.
//  - Lists come back in the window manager's enumeration order (top-level
//    windows from the top of the stacking order; children depth first, the
//    children of a child right after it).
//  - Calls that act on a window that is gone do nothing and report nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace taskloom {

using Wnd = std::int64_t;
using MenuHandle = std::int64_t;

// Window messages the core posts (mouse commands).
enum : unsigned {
    kWmLButtonDown = 0x0201,
    kWmLButtonUp = 0x0202,
    kWmLButtonDblClk = 0x0203,
    kWmRButtonDown = 0x0204,
    kWmRButtonUp = 0x0205,
};

// Virtual-key codes the core names.
enum : std::uint8_t {
    kVkBack = 8,
    kVkTab = 9,
    kVkReturn = 13,
    kVkShift = 16,
    kVkControl = 17,
    kVkMenu = 18,
    kVkEscape = 27,
    kVkSpace = 32,
    kVkPrior = 33,
    kVkNext = 34,
    kVkEnd = 35,
    kVkHome = 36,
    kVkLeft = 37,
    kVkUp = 38,
    kVkRight = 39,
    kVkDown = 40,
    kVkInsert = 45,
    kVkDelete = 46,
    kVkF1 = 112,
    kVkF12 = 123,
};

// Menu item state bits as the window manager reports them.
enum : unsigned {
    kMfsGrayed = 0x0003,
    kMfsChecked = 0x0008,
    kMfsHilite = 0x0080,
    kMfsDefault = 0x1000,
};

// One synthesized keyboard event, as keybd_event takes it.
struct KeyEvent {
    std::uint8_t vk = 0;
    std::uint8_t scan = 0;
    bool up = false;
    bool extended = false;
    bool operator==(const KeyEvent&) const = default;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // --- keyboard -------------------------------------------------------
    // keybd_event: one key down or up, to whatever window has the focus.
    virtual void keyEvent(const KeyEvent& e) = 0;
    // VkKeyScanA: low byte virtual key, high byte shift state; -1 when the
    // layout has no key for the character.
    virtual std::int16_t vkKeyScan(char c) = 0;
    // MapVirtualKeyA(vk, 0): the scan code of a virtual key.
    virtual unsigned mapVirtualKey(unsigned vk) = 0;
    // Whether a key is down as far as our own synthesized input goes
    // (GetAsyncKeyState's high bit). Used to release what a run pressed.
    virtual bool isKeyDown(std::uint8_t vk) = 0;

    // --- the program's own message loop and time -----------------------
    // Lets pending window messages of the program run once.
    virtual void processMessages() = 0;
    // A plain sleep: no messages run.
    virtual void sleep(unsigned ms) = 0;
    // Milliseconds on a monotonic clock.
    virtual std::uint64_t tickMs() = 0;
    // Asks for a fine timer resolution while keys are typed (1 ms waits
    // must last 1 ms); off again when `on` is false. Default: nothing.
    virtual void fineTimer(bool /*on*/) {}

    // --- top-level windows ---------------------------------------------
    virtual Wnd findWindow(const std::string& exactTitle) = 0;  // FindWindowA(NULL, title)
    virtual Wnd foregroundWindow() = 0;
    virtual std::vector<Wnd> topLevelWindows() = 0;         // EnumWindows order
    virtual std::vector<Wnd> childWindows(Wnd parent) = 0;  // EnumChildWindows order
    virtual std::string windowText(Wnd w) = 0;              // GetWindowTextA, uncut
    // A top-level window's title as the window system keeps it, without
    // asking the window (InternalGetWindowText): a window that does not
    // answer its messages cannot hold the caller up. Default: windowText.
    virtual std::string titleText(Wnd w) { return windowText(w); }
    virtual bool isWindow(Wnd w) = 0;
    virtual bool isVisible(Wnd w) = 0;
    virtual bool isIconic(Wnd w) = 0;
    virtual bool isEnabled(Wnd w) = 0;
    virtual void restoreWindow(Wnd w) = 0;  // ShowWindow(SW_RESTORE)
    virtual void setForeground(Wnd w) = 0;  // SetForegroundWindow
    virtual void setFocus(Wnd w) = 0;       // SetFocus
    // Whether `w` has become the foreground window: not only the window
    // manager's word, but its own thread has taken the activation, so that
    // keys sent now reach it. A window brought forward takes a while for
    // that; keys sent before go to the window that had the foreground.
    virtual bool hasTakenForeground(Wnd w) { return foregroundWindow() == w; }
    // How far the thread that owns the window has got with the keyboard
    // input sent to it: `drained` once it has taken in all of it, and never
    // while keys are still queued for it; until then `taken` grows while the
    // thread keeps taking in its messages (a caller that waits can tell a
    // slow receiver from one that takes nothing). Asked over and over while
    // the caller waits, letting messages run between the calls; a desktop
    // may prepare the answer at the first call of a wait (mark the
    // receiver) and keep what it prepared until it answers drained or
    // endInputWait is called. Desktops that cannot tell answer drained.
    struct InputProgress {
        bool drained = true;
        std::uint64_t taken = 0;
    };
    virtual InputProgress inputProgress(Wnd /*w*/) { return {}; }
    // The caller has stopped waiting (answered or gave up): whatever
    // inputProgress prepared is let go.
    virtual void endInputWait() {}

    // --- menus, read by position ---------------------------------------
    virtual MenuHandle getMenu(Wnd w) = 0;                      // 0: no menu bar
    virtual int menuItemCount(MenuHandle m) = 0;                // -1 when unreadable
    virtual std::string menuString(MenuHandle m, int pos) = 0;  // uncut; separators empty
    virtual std::optional<unsigned> menuItemState(MenuHandle m, int pos) = 0;
    virtual MenuHandle subMenu(MenuHandle m, int pos) = 0;  // 0: none

    // --- messages ------------------------------------------------------
    virtual void postMessage(Wnd w, unsigned msg, std::uint64_t wparam, std::int64_t lparam) = 0;

    // --- clipboard -----------------------------------------------------
    // Another program may hold the clipboard open. These calls then wait
    // for it a bounded time (about a second) and throw ClipboardError
    // (engine/errors.h) if it is still held: the line that asked is
    // abandoned with that message, and nothing waits without end.
    // The clipboard's text, whole (all its lines); empty when it holds none.
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // Open with `owner` as owner, empty, close.
    virtual void emptyClipboard(Wnd owner) = 0;
    // A number that changes whenever anyone changes the clipboard
    // (GetClipboardSequenceNumber). Desktops that cannot tell answer 0
    // always.
    virtual std::uint64_t clipboardSequence() { return 0; }

    // --- shell ---------------------------------------------------------
    // ShellExecuteA(owner, NULL, file, params, dir, show). Answers whether
    // the shell started it; a file that is missing, or that no program
    // opens, gives false and shows nothing, so the caller says so.
    virtual bool shellExecute(Wnd owner, const std::string& file, const std::string& params,
                              const std::string& dir, int show) = 0;
};

}  // namespace taskloom
