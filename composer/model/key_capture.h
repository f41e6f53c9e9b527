// The composer's Keys page: key presses turned into key tokens, the three
// buttons, and the key part of AddLine. Plain functions over the page's three
// fields; the window layer reads the fields into a KeyFields, calls one
// function and writes the fields back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace taskloom {

constexpr int kCountMin = 1;    // the Count spin's limits
constexpr int kCountMax = 100;  // (start value 1)

// The Keys page's fields, as they stand on the page.
struct KeyFields {
    std::string keyStrokes;  // KeyStrokes: collected key tokens
    std::string autoText;    // AutoText: plain text, sent as typed
    int count = 1;           // Count, 1..100
    bool operator==(const KeyFields&) const = default;
};

// The name of a key by its virtual-key code ("Bksp", "Tab", "Enter",
// "Shift", "Ctrl", "Alt", "Esc", "Space", "PgUp", "PgDn", "End", "Home",
// "Left", "Up", "Right", "Down", "Ins", "Del"); nullopt for every other key,
// the function keys included (they have their own token form).
std::optional<std::string_view> KeyNameOf(std::uint8_t vk);

// What one key press in KeyStrokes did.
struct KeyPressResult {
    // Alt was pressed: send one "." keystroke (SendKeyString(desktop, "."))
    // while the user still holds Alt, so that letting Alt go does not open
    // the composer's own menu bar.
    bool sendDot = false;
    // The press completed a combination ("{Ctrl}" then A): the line to add at
    // once, KeyStrokes already emptied. The window layer adds it with
    // AddCombination (composer_model.h) and should not let the key's own
    // character into the emptied field.
    std::optional<std::string> line;
};

// KeyStrokesKeyUp: a key went down in KeyStrokes. `vk` is its virtual-key
// code, `unshifted` the key's unshifted character (MapVirtualKeyA(vk,
// MAPVK_VK_TO_CHAR): letters give 'A'..'Z'; 0 when the key has none).
//  - KeyStrokes holds text and the character is "/", "0".."9" or "A".."Z":
//    the combination is complete (result.line = KeyStrokes + character).
//  - F1..F12: "{F1}".."{F12}" appended; the count is not used.
//  - a named key: "{name}" appended when Count is below 2, else
//    "{name n}" and Count back to 1; Alt also asks for the "." keystroke.
//  - any other key: nothing.
KeyPressResult KeyStrokesKeyUp(KeyFields& fields, std::uint8_t vk, char unshifted);

// TabBtnClick: "{Tab}" appended, or "{Tab n}" with Count back to 1 when
// Count is 2 or more.
void TabBtnClick(KeyFields& fields);
// AltBtnClick: "{Alt}" appended (no count).
void AltBtnClick(KeyFields& fields);
// ClearKeysClick: both fields emptied, Count 1.
void ClearKeysClick(KeyFields& fields);

// The key part of AddLine (Keys page only), run on the ScriptLine composed so
// far (empty when Add was pressed): AutoText's braces escaped ("{" -> "{{{",
// "}" -> "}}}") and written back; KeyStrokes, when it holds text, becomes the
// line; a count of 2 or more is appended as " n" to a non-empty line, or
// makes blank-free text "{text n" (AutoText then emptied). Returns the new
// ScriptLine; the general steps of AddLine follow (composer_model.h).
std::string KeyPartOfAddLine(std::string scriptLine, KeyFields& fields);

}  // namespace taskloom
