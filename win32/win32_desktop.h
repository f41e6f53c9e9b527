// The real desktop: the core's Desktop interface over user32, shell32 and
// winmm. This layer decides nothing; it only says how each request is done on
// Windows. <windows.h> stays out of this header so that code which only needs
// a Desktop does not pull it in.
//
// Handles travel as numbers: a window or menu handle is its pointer value
// ((std::int64_t)(intptr_t)handle). Handles of other programs are never owned.
//
// One Win32Desktop serves one user-interface thread: the clipboard owner
// window it creates belongs to the thread that first sets the clipboard, and
// that thread must keep letting messages run (as the programs' loops and the
// engine's processMessages do). Another program that takes the clipboard
// over sends the owner a message and waits for the answer.
#pragma once

#include <memory>

#include "engine/desktop.h"
#include "engine/errors.h"

namespace taskloom {

// The text of a clipboard data block (CF_TEXT): up to its first NUL, never
// beyond the block, whatever its writer left out. "" for no block.
std::string ClipboardBlockText(void* data);

// The keyboard layout's name of a virtual key (GetKeyNameTextA of its scan
// code): "/" for the slash key of a US layout, "" for a key the layout does
// not name. This is the LayoutKeyNameFn of pad/model/shortcut_text.h on
// Windows; both programs pass it, so that a hot key text either writes
// names the key the other registers. A one-character name belongs only to
// the key that types that character, so that a text such as "Ctrl+/" never
// names another key that the layout also calls "/" (the keypad's, read
// without its extended bit).
std::string LayoutKeyName(int vk);

class Win32Desktop final : public Desktop {
public:
    Win32Desktop();
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    void keyEvent(const KeyEvent& e) override;
    std::int16_t vkKeyScan(char c) override;
    unsigned mapVirtualKey(unsigned vk) override;
    bool isKeyDown(std::uint8_t vk) override;

    void processMessages() override;
    void sleep(unsigned ms) override;
    std::uint64_t tickMs() override;
    void fineTimer(bool on) override;

    // FindWindowA, but the title must match with case: the window manager's
    // own comparison ignores it.
    Wnd findWindow(const std::string& exactTitle) override;
    Wnd foregroundWindow() override;
    std::vector<Wnd> topLevelWindows() override;
    // Empty for a handle that is not a window (0 included): the window
    // manager would list the top-level windows for 0.
    std::vector<Wnd> childWindows(Wnd parent) override;
    std::string windowText(Wnd w) override;
    std::string titleText(Wnd w) override;
    bool isWindow(Wnd w) override;
    bool isVisible(Wnd w) override;
    bool isIconic(Wnd w) override;
    bool isEnabled(Wnd w) override;
    void restoreWindow(Wnd w) override;
    void setForeground(Wnd w) override;
    void setFocus(Wnd w) override;
    bool hasTakenForeground(Wnd w) override;
    // No call tells one program whether another has taken in the input
    // queued for it: GetQueueStatus sees only the caller's own queue, and
    // WaitForInputIdle reports idle while keys wait. A marker key read back
    // through the joined key state (AttachThreadInput) cannot be trusted
    // either: joining resets the key state while the receiver may still be
    // translating keys (a held Shift is lost), and under Wine the joined key
    // state is set back to the desktop's own whenever the receiver has no
    // key queued, which undoes the marker's toggle every other time.
    //
    // inputProgress uses the order in which a thread takes its messages
    // instead: sent, posted, input, and only when no input is left, paint.
    // It marks the window for repainting (with its children) and answers
    // drained once that repaint has happened: by then the thread has taken
    // in every key queued before the mark, whichever window has the
    // foreground now. Until then, `taken` counts the answers to WM_NULL
    // messages sent one after another (SendMessageCallback): a thread that
    // answers is still taking messages; a hung one does not. Limits: a
    // window with nothing on the screen to repaint (hidden, minimized) cannot
    // be marked and is answered drained; a program that repaints the marked
    // window from inside its key handling (UpdateWindow) ends the wait early.
    InputProgress inputProgress(Wnd w) override;
    void endInputWait() override;

    MenuHandle getMenu(Wnd w) override;
    int menuItemCount(MenuHandle m) override;
    std::string menuString(MenuHandle m, int pos) override;
    std::optional<unsigned> menuItemState(MenuHandle m, int pos) override;
    MenuHandle subMenu(MenuHandle m, int pos) override;

    void postMessage(Wnd w, unsigned msg, std::uint64_t wparam, std::int64_t lparam) override;

    // These three throw ClipboardError when another program keeps the
    // clipboard open.
    std::string clipboardText() override;
    void setClipboardText(const std::string& text) override;
    std::uint64_t clipboardSequence() override;
    void emptyClipboard(Wnd owner) override;

    bool shellExecute(Wnd owner, const std::string& file, const std::string& params, const std::string& dir,
                      int show) override;

private:
    Wnd clipboardOwner();

    bool fineTimerOn_ = false;
    // Key events sent, and the count at the last drain that was seen, with
    // the thread it was seen for: a second wait with no keys in between
    // costs nothing.
    std::uint64_t keysSent_ = 0;
    std::uint64_t drainedAt_ = 0;
    unsigned long drainedThread_ = 0;
    // The window marked for repainting, and the receiver's answers.
    struct InputProbe;
    std::unique_ptr<InputProbe> probe_;
    // A message-only window of ours that owns the clipboard after
    // setClipboardText; created on first use, destroyed with the desktop.
    Wnd clipboardOwner_ = 0;
};

std::unique_ptr<Desktop> MakeWin32Desktop();

}  // namespace taskloom
