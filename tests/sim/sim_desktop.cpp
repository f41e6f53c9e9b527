#include "tests/sim/sim_desktop.h"

#include <algorithm>
#include <stdexcept>

#include "engine/errors.h"

namespace taskloom::sim {
namespace {

constexpr const char* kShiftedDigits = ")!@#$%^&*(";
struct OemKey {
    char plain, shifted;
    std::uint8_t vk, scan;
};
constexpr OemKey kOem[] = {
    {';', ':', 0xBA, 39},  {'=', '+', 0xBB, 13}, {',', '<', 0xBC, 51},  {'-', '_', 0xBD, 12},
    {'.', '>', 0xBE, 52},  {'/', '?', 0xBF, 53}, {'`', '~', 0xC0, 41},  {'[', '{', 0xDB, 26},
    {'\\', '|', 0xDC, 43}, {']', '}', 0xDD, 27}, {'\'', '"', 0xDE, 40},
};
constexpr const char* kLetterRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr unsigned kLetterRowStart[] = {16, 30, 44};

// The character a key gives on the US layout, 0 when it gives none.
char CharOfKey(std::uint8_t vk, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return shift ? static_cast<char>(vk) : static_cast<char>(vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<char>(vk);
    if (vk == kVkSpace) return ' ';
    for (const OemKey& k : kOem)
        if (k.vk == vk) return shift ? k.shifted : k.plain;
    return 0;
}

const char* NameOfKey(std::uint8_t vk) {
    switch (vk) {
        case kVkBack:
            return "Backspace";
        case kVkTab:
            return "Tab";
        case kVkReturn:
            return "Enter";
        case kVkShift:
            return "Shift";
        case kVkControl:
            return "Ctrl";
        case kVkMenu:
            return "Alt";
        case kVkEscape:
            return "Esc";
        case kVkSpace:
            return "Space";
        case kVkPrior:
            return "PgUp";
        case kVkNext:
            return "PgDn";
        case kVkEnd:
            return "End";
        case kVkHome:
            return "Home";
        case kVkLeft:
            return "Left";
        case kVkUp:
            return "Up";
        case kVkRight:
            return "Right";
        case kVkDown:
            return "Down";
        case kVkInsert:
            return "Ins";
        case kVkDelete:
            return "Del";
        default:
            return nullptr;
    }
}

}  // namespace

SimDesktop::SimDesktop() = default;

SimDesktop::Window* SimDesktop::find(Wnd w) {
    auto it = windows_.find(w);
    return it != windows_.end() && it->second.alive ? &it->second : nullptr;
}
const SimDesktop::Window* SimDesktop::find(Wnd w) const {
    auto it = windows_.find(w);
    return it != windows_.end() && it->second.alive ? &it->second : nullptr;
}

Wnd SimDesktop::addWindow(const std::string& title, WindowOptions o) {
    Wnd w = next_++;
    Window win;
    win.field.setText(title);
    win.visible = o.visible;
    win.enabled = o.enabled;
    win.minimized = o.minimized;
    windows_[w] = win;
    zOrder_.insert(zOrder_.begin(), w);
    creation_.push_back(w);
    return w;
}

Wnd SimDesktop::addChild(Wnd parent, const std::string& text, WindowOptions o) {
    if (!find(parent)) throw std::logic_error("addChild: no such parent");
    Wnd w = next_++;
    Window win;
    win.field.setText(text);
    win.parent = parent;
    win.visible = o.visible;
    win.enabled = o.enabled;
    windows_[w] = win;
    creation_.push_back(w);
    return w;
}

void SimDesktop::closeWindow(Wnd w) {
    if (Window* win = find(w)) win->alive = false;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), w), zOrder_.end());
    if (foreground_ == w) foreground_ = 0;
    if (focus_ == w) focus_ = 0;
}

void SimDesktop::setText(Wnd w, const std::string& text) {
    if (Window* win = find(w)) win->field.setText(text);
}
void SimDesktop::setVisible(Wnd w, bool visible) {
    if (Window* win = find(w)) win->visible = visible;
}
void SimDesktop::setEnabled(Wnd w, bool enabled) {
    if (Window* win = find(w)) win->enabled = enabled;
}
void SimDesktop::setMinimized(Wnd w, bool minimized) {
    if (Window* win = find(w)) win->minimized = minimized;
}
void SimDesktop::setForegroundDirect(Wnd w) {
    foreground_ = w;
    focus_ = w;
    auto it = std::find(zOrder_.begin(), zOrder_.end(), w);
    if (it != zOrder_.end()) std::rotate(zOrder_.begin(), it, it + 1);
}

MenuHandle SimDesktop::newMenu(std::vector<SimMenuItem> items) {
    menus_.push_back(std::move(items));
    return static_cast<MenuHandle>(menus_.size());
}
void SimDesktop::setMenuBar(Wnd w, MenuHandle m) {
    if (Window* win = find(w)) win->menu = m;
}
SimMenuItem& SimDesktop::menuItem(MenuHandle m, int pos) { return menus_.at(m - 1).at(pos); }

std::string SimDesktop::text(Wnd w) const {
    const Window* win = find(w);
    return win ? win->field.text() : std::string();
}

std::vector<std::string> SimDesktop::keyWords() const {
    std::vector<std::string> words;
    bool shift = false;
    for (const KeyEvent& e : keys_) {
        if (e.vk == kVkShift || e.vk == kVkControl || e.vk == kVkMenu) {
            if (e.vk == kVkShift) shift = !e.up;
            words.push_back(std::string(NameOfKey(e.vk)) + (e.up ? " up" : " down"));
            continue;
        }
        if (e.up) continue;
        if (char c = CharOfKey(e.vk, shift); c && e.vk != kVkSpace)
            words.emplace_back(1, c);
        else if (const char* name = NameOfKey(e.vk))
            words.emplace_back(name);
        else if (e.vk >= kVkF1 && e.vk <= kVkF12)
            words.push_back("F" + std::to_string(e.vk - kVkF1 + 1));
        else
            words.push_back("vk" + std::to_string(e.vk));
    }
    return words;
}

void SimDesktop::keyEvent(const KeyEvent& e) {
    keys_.push_back(e);
    if (!e.up) applyKey(e);
    down_[e.vk] = !e.up;
    if (onKey) onKey(e);
}

void SimDesktop::applyKey(const KeyEvent& e) {
    Window* win = find(focus_);
    if (!win || e.vk == kVkShift || e.vk == kVkControl || e.vk == kVkMenu) return;
    if (down_[kVkMenu]) return;  // menu keys go to the menu, not the text
    const bool shift = down_[kVkShift];
    const std::string before = clipboard_;
    win->field.press(e.vk, CharOfKey(e.vk, shift), shift, down_[kVkControl], clipboard_);
    if (clipboard_ != before) ++clipboardSequence_;
}

std::int16_t SimDesktop::vkKeyScan(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') return static_cast<std::int16_t>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<std::int16_t>(0x100 | c);
    if (c >= '0' && c <= '9') return static_cast<std::int16_t>(c);
    if (c == ' ') return kVkSpace;
    for (int d = 0; d < 10; ++d)
        if (kShiftedDigits[d] == ch) return static_cast<std::int16_t>(0x100 | ('0' + d));
    for (const OemKey& k : kOem) {
        if (k.plain == ch) return k.vk;
        if (k.shifted == ch) return static_cast<std::int16_t>(0x100 | k.vk);
    }
    return -1;
}

unsigned SimDesktop::mapVirtualKey(unsigned vk) {
    if (vk >= 'A' && vk <= 'Z') {
        for (int row = 0; row < 3; ++row)
            for (const char* p = kLetterRows[row]; *p; ++p)
                if (static_cast<unsigned>(*p) == vk)
                    return kLetterRowStart[row] + static_cast<unsigned>(p - kLetterRows[row]);
    }
    if (vk >= '1' && vk <= '9') return vk - '1' + 2;
    if (vk == '0') return 11;
    if (vk >= kVkF1 && vk <= kVkF1 + 9) return vk - kVkF1 + 59;
    if (vk == kVkF1 + 10) return 87;
    if (vk == kVkF12) return 88;
    for (const OemKey& k : kOem)
        if (k.vk == vk) return k.scan;
    switch (vk) {
        case kVkEscape:
            return 1;
        case kVkBack:
            return 14;
        case kVkTab:
            return 15;
        case kVkReturn:
            return 28;
        case kVkControl:
            return 29;
        case kVkShift:
            return 42;
        case kVkMenu:
            return 56;
        case kVkSpace:
            return 57;
        case kVkHome:
            return 71;
        case kVkUp:
            return 72;
        case kVkPrior:
            return 73;
        case kVkLeft:
            return 75;
        case kVkRight:
            return 77;
        case kVkEnd:
            return 79;
        case kVkDown:
            return 80;
        case kVkNext:
            return 81;
        case kVkInsert:
            return 82;
        case kVkDelete:
            return 83;
        default:
            return 0;
    }
}

bool SimDesktop::isKeyDown(std::uint8_t vk) { return down_[vk]; }

void SimDesktop::processMessages() {
    ++pumps_;
    if (pendingForeground_ && --pendingRounds_ <= 0) {
        const Wnd w = pendingForeground_;
        pendingForeground_ = 0;
        if (find(w)) setForegroundDirect(w);
    }
    if (onProcessMessages) onProcessMessages();
}

void SimDesktop::sleep(unsigned ms) {
    sleeps_.push_back(ms);
    clock_ += ms;
    if (onSleep) onSleep(ms);
}

Wnd SimDesktop::findWindow(const std::string& exactTitle) {
    for (Wnd w : zOrder_) {
        const Window* win = find(w);
        if (win && win->field.text() == exactTitle) return w;
    }
    return 0;
}

std::vector<Wnd> SimDesktop::topLevelWindows() {
    std::vector<Wnd> out;
    for (Wnd w : zOrder_)
        if (find(w)) out.push_back(w);
    return out;
}

void SimDesktop::collectChildren(Wnd parent, std::vector<Wnd>& out) const {
    for (Wnd w : creation_) {
        const Window* win = find(w);
        if (win && win->parent == parent) {
            out.push_back(w);
            collectChildren(w, out);
        }
    }
}

std::vector<Wnd> SimDesktop::childWindows(Wnd parent) {
    std::vector<Wnd> out;
    if (find(parent)) collectChildren(parent, out);
    return out;
}

bool SimDesktop::isWindow(Wnd w) { return find(w) != nullptr; }

bool SimDesktop::isVisible(Wnd w) {
    for (const Window* win = find(w); win; win = win->parent ? find(win->parent) : nullptr)
        if (!win->visible) return false;
    return find(w) != nullptr;
}

bool SimDesktop::isIconic(Wnd w) {
    const Window* win = find(w);
    return win && win->minimized;
}

bool SimDesktop::isEnabled(Wnd w) {
    const Window* win = find(w);
    return win && win->enabled;
}

void SimDesktop::restoreWindow(Wnd w) {
    if (Window* win = find(w)) {
        win->minimized = false;
        win->visible = true;
        ++activations_;
        setForegroundDirect(w);
    }
}

void SimDesktop::setForeground(Wnd w) {
    Window* win = find(w);
    if (!win || win->parent) return;
    ++activations_;
    if (foregroundLag > 0) {
        pendingForeground_ = w;
        pendingRounds_ = foregroundLag;
        return;
    }
    setForegroundDirect(w);
}

void SimDesktop::setFocus(Wnd w) {
    // The focus lands with the activation still on its way.
    if (pendingForeground_ && pendingForeground_ == w) return;
    if (find(w)) focus_ = w;
}

MenuHandle SimDesktop::getMenu(Wnd w) {
    const Window* win = find(w);
    return win ? win->menu : 0;
}

int SimDesktop::menuItemCount(MenuHandle m) {
    if (m < 1 || m > static_cast<MenuHandle>(menus_.size())) return -1;
    if (std::find(unreadable_.begin(), unreadable_.end(), m) != unreadable_.end()) return -1;
    return static_cast<int>(menus_[m - 1].size());
}

std::string SimDesktop::menuString(MenuHandle m, int pos) {
    if (menuItemCount(m) <= pos || pos < 0) return {};
    return menus_[m - 1][pos].text;
}

std::optional<unsigned> SimDesktop::menuItemState(MenuHandle m, int pos) {
    if (menuItemCount(m) <= pos || pos < 0) return std::nullopt;
    return menus_[m - 1][pos].state;
}

MenuHandle SimDesktop::subMenu(MenuHandle m, int pos) {
    if (menuItemCount(m) <= pos || pos < 0) return 0;
    return menus_[m - 1][pos].submenu;
}

void SimDesktop::postMessage(Wnd w, unsigned msg, std::uint64_t, std::int64_t) {
    if (find(w)) posted_.push_back({w, msg});
}

// As the real desktop: 100 tries 10 ms apart.
void SimDesktop::openClipboard() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (clock_ >= clipboardHeldUntil) return;
        sleep(10);
    }
    throw ClipboardError("Cannot open clipboard");
}

std::string SimDesktop::clipboardText() {
    openClipboard();
    return clipboard_;
}

void SimDesktop::setClipboardText(const std::string& text) {
    openClipboard();
    clipboard_ = text;
    ++clipboardSequence_;
}

void SimDesktop::emptyClipboard(Wnd) {
    openClipboard();
    clipboard_.clear();
    ++clipboardSequence_;
}

bool SimDesktop::shellExecute(Wnd owner, const std::string& file, const std::string& params,
                              const std::string& dir, int show) {
    shell_.push_back({owner, file, params, dir, show});
    return !(shellFails && shellFails(file));
}

}  // namespace taskloom::sim
