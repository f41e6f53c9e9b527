// A simulated desktop for the core's tests: top-level windows and child
// controls with texts, visibility and enabled state, a stacking order, a
// foreground window and focus, menus with item states, a clipboard, a US
// keyboard layout, a clock, and a log of everything the core did to it.
//
// Keys typed while a window has the focus are applied to that window's text
// as a plain edit field would (tests/sim/edit_field.h). Alt combinations are
// logged only.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/desktop.h"
#include "tests/sim/edit_field.h"

namespace taskloom::sim {

struct SimMenuItem {
    std::string text;
    unsigned state = 0;
    MenuHandle submenu = 0;
};

struct PostedMessage {
    Wnd wnd;
    unsigned msg;
    bool operator==(const PostedMessage&) const = default;
};

struct ShellCall {
    Wnd owner;
    std::string file, params, dir;
    int show;
};

class SimDesktop : public Desktop {
public:
    SimDesktop();

    // --- building the desktop -------------------------------------------
    struct WindowOptions {
        bool visible = true;
        bool enabled = true;
        bool minimized = false;
    };
    // A new top-level window, placed at the top of the stacking order.
    Wnd addWindow(const std::string& title, WindowOptions o);
    Wnd addWindow(const std::string& title) { return addWindow(title, WindowOptions{}); }
    Wnd addChild(Wnd parent, const std::string& text, WindowOptions o);
    Wnd addChild(Wnd parent, const std::string& text) { return addChild(parent, text, WindowOptions{}); }
    void closeWindow(Wnd w);
    void setText(Wnd w, const std::string& text);
    void setVisible(Wnd w, bool visible);
    void setEnabled(Wnd w, bool enabled);
    void setMinimized(Wnd w, bool minimized);
    void setForegroundDirect(Wnd w);  // as if the user clicked it

    MenuHandle newMenu(std::vector<SimMenuItem> items);
    void setMenuBar(Wnd w, MenuHandle m);
    SimMenuItem& menuItem(MenuHandle m, int pos);
    void setMenuUnreadable(MenuHandle m) { unreadable_.push_back(m); }

    // --- what tests look at ----------------------------------------------
    const std::vector<KeyEvent>& keyLog() const { return keys_; }
    void clearKeyLog() { keys_.clear(); }
    // The key log as words: "Shift down", "a", "Enter", "Ctrl up", ...
    std::vector<std::string> keyWords() const;
    std::string text(Wnd w) const;
    Wnd focus() const { return focus_; }
    const std::vector<PostedMessage>& posted() const { return posted_; }
    const std::vector<ShellCall>& shellCalls() const { return shell_; }
    const std::vector<unsigned>& sleeps() const { return sleeps_; }
    unsigned long processMessageCount() const { return pumps_; }
    int activations() const { return activations_; }
    std::uint64_t now() const { return clock_; }

    // Runs inside processMessages (after the count is raised): a test's stand-in
    // for the program's own handlers, or for other programs changing the
    // desktop while the script runs.
    std::function<void()> onProcessMessages;
    // Runs inside sleep, after the clock has moved.
    std::function<void(unsigned ms)> onSleep;
    // Runs for every key event after it has been applied.
    std::function<void(const KeyEvent&)> onKey;
    // Answers inputProgress (a receiver that takes its keys slowly, or
    // hangs); without it every window has taken in all its input.
    std::function<InputProgress(Wnd)> onInputProgress;
    int inputWaitsEnded = 0;
    // Rounds of processMessages before a window brought forward (and the
    // focus given to it) takes the foreground, as another program's thread
    // takes its activation a while after the call; 0: at once. Until then
    // keys go to the window that had the focus.
    int foregroundLag = 0;
    // Another program holds the clipboard open until this time on the
    // clock; the clipboard calls wait for it as the real desktop does.
    std::uint64_t clipboardHeldUntil = 0;

    // --- Desktop ------------------------------------------------------------
    void keyEvent(const KeyEvent& e) override;
    std::int16_t vkKeyScan(char c) override;
    unsigned mapVirtualKey(unsigned vk) override;
    bool isKeyDown(std::uint8_t vk) override;
    void processMessages() override;
    void sleep(unsigned ms) override;
    std::uint64_t tickMs() override { return clock_; }
    Wnd findWindow(const std::string& exactTitle) override;
    Wnd foregroundWindow() override { return foreground_; }
    std::vector<Wnd> topLevelWindows() override;
    std::vector<Wnd> childWindows(Wnd parent) override;
    std::string windowText(Wnd w) override { return text(w); }
    bool isWindow(Wnd w) override;
    bool isVisible(Wnd w) override;
    bool isIconic(Wnd w) override;
    bool isEnabled(Wnd w) override;
    void restoreWindow(Wnd w) override;
    void setForeground(Wnd w) override;
    void setFocus(Wnd w) override;
    InputProgress inputProgress(Wnd w) override {
        return onInputProgress ? onInputProgress(w) : InputProgress{};
    }
    void endInputWait() override { ++inputWaitsEnded; }
    MenuHandle getMenu(Wnd w) override;
    int menuItemCount(MenuHandle m) override;
    std::string menuString(MenuHandle m, int pos) override;
    std::optional<unsigned> menuItemState(MenuHandle m, int pos) override;
    MenuHandle subMenu(MenuHandle m, int pos) override;
    void postMessage(Wnd w, unsigned msg, std::uint64_t wparam, std::int64_t lparam) override;
    std::string clipboardText() override;
    void setClipboardText(const std::string& text) override;
    std::uint64_t clipboardSequence() override { return clipboardSequence_; }
    void emptyClipboard(Wnd owner) override;
    // Every start is recorded; it succeeds unless shellFails says otherwise.
    bool shellExecute(Wnd owner, const std::string& file, const std::string& params, const std::string& dir,
                      int show) override;
    std::function<bool(const std::string& file)> shellFails;

private:
    struct Window {
        EditField field;  // the window's text, edited by the keys it takes
        Wnd parent = 0;
        bool visible = true, enabled = true, minimized = false, alive = true;
        MenuHandle menu = 0;
    };
    Window* find(Wnd w);
    const Window* find(Wnd w) const;
    void applyKey(const KeyEvent& e);
    void collectChildren(Wnd parent, std::vector<Wnd>& out) const;
    void openClipboard();

    std::map<Wnd, Window> windows_;
    std::vector<Wnd> zOrder_;                      // top-level windows, top first
    std::vector<Wnd> creation_;                    // all windows in creation order
    std::vector<std::vector<SimMenuItem>> menus_;  // handle = index + 1
    std::vector<MenuHandle> unreadable_;
    Wnd next_ = 0x100;
    Wnd foreground_ = 0, focus_ = 0;
    Wnd pendingForeground_ = 0;
    int pendingRounds_ = 0;
    bool down_[256] = {};
    std::vector<KeyEvent> keys_;
    std::vector<PostedMessage> posted_;
    std::vector<ShellCall> shell_;
    std::vector<unsigned> sleeps_;
    std::string clipboard_;
    std::uint64_t clipboardSequence_ = 1;
    std::uint64_t clock_ = 1000;
    unsigned long pumps_ = 0;
    int activations_ = 0;
};

}  // namespace taskloom::sim
