#include "pad/model/shortcut_text.h"

#include "engine/text.h"

namespace taskloom {
namespace {

constexpr int kLastKeyCode = 255;

// Names of the keys 32 to 40, in code order.
constexpr std::string_view kNavigationNames[] = {"Space", "PgUp", "PgDn",  "End", "Home",
                                                 "Left",  "Up",   "Right", "Down"};

// Takes `prefix` off the front of `rest` when it is there (without case).
bool TakePrefix(std::string_view& rest, std::string_view prefix) {
    if (rest.size() < prefix.size() || !EqualsNoCase(rest.substr(0, prefix.size()), prefix)) return false;
    rest.remove_prefix(prefix.size());
    return true;
}

}  // namespace

std::string ShortcutKeyName(int key, const LayoutKeyNameFn& layout) {
    switch (key) {
        case 8:
            return "BkSp";
        case 9:
            return "Tab";
        case 13:
            return "Enter";
        case 27:
            return "Esc";
        case 45:
            return "Ins";
        case 46:
            return "Del";
        default:
            break;
    }
    if (key >= 32 && key <= 40) return std::string(kNavigationNames[key - 32]);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= 96 && key <= 105) return std::string(1, static_cast<char>('0' + key - 96));
    if (key >= 112 && key <= 135) return "F" + std::to_string(key - 111);
    if (layout && key > 0 && key <= kLastKeyCode) return layout(key);
    return "";
}

std::string FormatShortcut(const Shortcut& s, const LayoutKeyNameFn& layout) {
    std::string name = ShortcutKeyName(s.key, layout);
    if (name.empty()) return "";
    std::string text;
    if (s.mods & kModShift) text += "Shift+";
    if (s.mods & kModCtrl) text += "Ctrl+";
    if (s.mods & kModAlt) text += "Alt+";
    return text + name;
}

Shortcut ParseShortcut(std::string_view text, std::string* error, const LayoutKeyNameFn& layout) {
    Shortcut s;
    std::string_view rest = text;
    for (;;) {
        if (TakePrefix(rest, "Shift+"))
            s.mods |= kModShift;
        else if (TakePrefix(rest, "Ctrl+") || (rest.size() > 1 && TakePrefix(rest, "^")))
            s.mods |= kModCtrl;
        else if (TakePrefix(rest, "Alt+"))
            s.mods |= kModAlt;
        else
            break;
    }
    if (!rest.empty())
        for (int key = 8; key <= kLastKeyCode; ++key) {
            const std::string name = ShortcutKeyName(key, layout);
            if (!name.empty() && EqualsNoCase(name, rest)) {
                s.key = key;
                return s;
            }
        }
    if (error)
        *error = rest.empty() ? "the hot key \"" + std::string(text) + "\" names no key"
                              : "the hot key \"" + std::string(text) + "\" has the unknown key name \"" +
                                    std::string(rest) + "\"";
    return Shortcut{};
}

std::string NormaliseShortcut(std::string_view text, const LayoutKeyNameFn& layout) {
    return FormatShortcut(ParseShortcut(text, nullptr, layout), layout);
}

int HotKeyId(const Shortcut& s) { return s.key == 0 ? 0 : static_cast<int>(s.mods & 7u) * 1000 + s.key; }

Shortcut ShortcutFromId(int id) {
    if (id <= 0 || id % 1000 == 0 || id % 1000 > kLastKeyCode || id / 1000 > 7) return Shortcut{};
    return Shortcut{id % 1000, static_cast<unsigned>(id / 1000)};
}

int FindHotKeyIcon(const std::vector<std::string>& barHints, std::string_view keyText) {
    if (keyText.empty()) return -1;
    for (std::size_t i = 0; i < barHints.size(); ++i) {
        const std::string& hint = barHints[i];
        const std::size_t tab = hint.find('\t');
        if (tab == std::string::npos) continue;
        std::string_view key = std::string_view(hint).substr(tab + 1);
        key = key.substr(0, key.find('\t'));
        if (key == keyText) return static_cast<int>(i);
    }
    return -1;
}

std::string ComposerHotKeyText(int key, char mapped, unsigned mods, const std::string& current,
                               const LayoutKeyNameFn& layout) {
    std::string prefix;
    if (mods & kModCtrl) prefix += "Ctrl+";
    if (mods & kModShift) prefix += "Shift+";
    if (mods & kModAlt) prefix += "Alt+";
    const unsigned char c = static_cast<unsigned char>(mapped);
    const unsigned char upper = (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
    const bool keyChar = upper == '/' || (upper >= '0' && upper <= '9') || (upper >= 'A' && upper <= 'Z');
    if (!prefix.empty() && keyChar) {
        const std::string text = prefix + static_cast<char>(upper);
        // The pad reads the text back with the layout's names: a "/" that the
        // layout gives to another key (or to none) is written with this key's
        // own name, and a key that has no name there is not taken.
        if (!layout || upper != '/' || ParseShortcut(text, nullptr, layout).key == key) return text;
        const std::string named = prefix + ShortcutKeyName(key, layout);
        return ParseShortcut(named, nullptr, layout).key == key ? named : current;
    }
    if (c != 0) return "";
    if (key >= 112 && key <= 123 && !prefix.empty()) return prefix + "F" + std::to_string(key - 111);
    return current;
}

}  // namespace taskloom
