// Shortcut text: the written form of a global hot key ("Shift+Ctrl+P",
// "Alt+F5"), as icon records and the show/hide key use it, and the hot key
// identifier under which the pad registers a key.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace taskloom {

// Modifier bits, the platform's hot key mask: Alt 1, Ctrl 2, Shift 4.
constexpr unsigned kModAlt = 1;
constexpr unsigned kModCtrl = 2;
constexpr unsigned kModShift = 4;

// The pad's own show/hide key, as written and as registered.
constexpr std::string_view kShowHideKeyText = "Ctrl+Shift+F9";
constexpr int kShowHideHotKeyId = 6120;

// Names of keys that have no fixed name here (punctuation keys and the like):
// the keyboard layout's name for a virtual key code, or "" for none. The
// Win32 layer supplies one; without it such keys have no name.
using LayoutKeyNameFn = std::function<std::string(int key)>;

struct Shortcut {
    int key = 0;        // virtual key code; 0: no hot key
    unsigned mods = 0;  // kModAlt | kModCtrl | kModShift
    bool operator==(const Shortcut&) const = default;
};

// The name of one key: "BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn",
// "End", "Home", "Left", "Up", "Right", "Down", "Ins", "Del", the digit or
// capital letter, the digit for keypad 0..9, "F1".."F24"; other keys the
// layout's name. "" for a key without a name.
std::string ShortcutKeyName(int key, const LayoutKeyNameFn& layout = {});

// "Shift+", "Ctrl+", "Alt+" (always in this order) and the key name. A key
// without a name gives "", whatever the modifiers.
std::string FormatShortcut(const Shortcut& s, const LayoutKeyNameFn& layout = {});

// Takes off the prefixes "Shift+", "Ctrl+" (or "^", when a key name follows:
// a layout may call a key "^") and "Alt+" in any order,
// without regard to case, then finds the first key code from 8 upwards whose
// name equals the rest (without case). An empty rest or an unknown name
// gives key 0 (no hot key); `error`, when given, then says why.
Shortcut ParseShortcut(std::string_view text, std::string* error = nullptr,
                       const LayoutKeyNameFn& layout = {});

// Parsed and formatted again: "Ctrl+Shift+P" becomes "Shift+Ctrl+P". A text
// that names no key gives "".
std::string NormaliseShortcut(std::string_view text, const LayoutKeyNameFn& layout = {});

// Modifier mask × 1000 + key code ("Shift+Ctrl+P" is 6080); 0 for no key.
int HotKeyId(const Shortcut& s);
// The reverse; key 0 for an identifier that no hot key has.
Shortcut ShortcutFromId(int id);

// The bar's icon that a pressed hot key launches: the first whose hint
// ("description", or "description TAB hot key text") carries exactly that
// key text as its hot key. A key that merely begins another icon's key text
// (Ctrl+A against Ctrl+Alt+X) does not match it. -1 when none.
int FindHotKeyIcon(const std::vector<std::string>& barHints, std::string_view keyText);

// The composer's hot key field on a key release: prefix "Ctrl+", "Shift+",
// "Alt+" (in this order) from the modifiers held; `mapped` is the key's
// character from the platform's key-to-character mapping (0 for none). With
// a modifier held, "/", "0".."9" and "A".."Z" give prefix + character, F1..F12
// give prefix + "F" + number; any other character clears the field; other
// keys leave `current` as it is. With the keyboard layout's names given, a
// "/" is kept only when the layout reads it back as this key; otherwise the
// field takes the key's layout name, or stays as it was when it has none.
std::string ComposerHotKeyText(int key, char mapped, unsigned mods, const std::string& current,
                               const LayoutKeyNameFn& layout = {});

}  // namespace taskloom
