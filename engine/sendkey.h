// Keystroke sender: turns key strings into keyboard events, and the three
// small window operations every script needs.
//
// A key string is a byte sequence: 0..31 virtual-key codes sent as they are,
// 32..227 characters of the keyboard layout, 228..239 F1..F12, 240..249 the
// navigation keys, 250..255 Shift/Ctrl/Alt pressed and released.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/desktop.h"

namespace taskloom {

enum : unsigned char {
    kKeyF1 = 228,
    kKeyF12 = 239,
    kKeyHome = 240,
    kKeyEnd = 241,
    kKeyUp = 242,
    kKeyDown = 243,
    kKeyLeft = 244,
    kKeyRight = 245,
    kKeyPgUp = 246,
    kKeyPgDn = 247,
    kKeyIns = 248,
    kKeyDel = 249,
    kShiftDown = 250,
    kShiftUp = 251,
    kCtrlDown = 252,
    kCtrlUp = 253,
    kAltDown = 254,
    kAltUp = 255,
};

// Alt up, Ctrl up, Shift up: sent after every script line.
inline const std::string kReleaseString{"\xFF\xFD\xFB"};

// The virtual key a key-string code stands for when it is not a character
// (codes 0..31 and 228..255); 0 for character codes 32..227.
std::uint8_t VirtualKeyOfCode(unsigned char code);

// Types the key string into whatever window has the focus. Before about one
// byte in four it waits 1 ms; after every key it lets the program's pending
// messages run once. An empty string sends nothing and runs no messages.
void SendKeyString(Desktop& desktop, std::string_view keys);

// Seeds the generator behind the 1 ms waits (tests make them repeatable).
void SeedKeyPacing(std::uint32_t seed);

// The top-level window whose title equals `title` exactly (case-sensitive);
// 0 when there is none. Titles longer than 255 characters are cut to 255.
Wnd FindWindowByTitle(Desktop& desktop, const std::string& title);
Wnd ForegroundWindow(Desktop& desktop);
// Restores a minimized window, otherwise brings it to the foreground; then
// gives it the focus. Nothing is checked: a gone window passes through.
void ActivateWindow(Desktop& desktop, Wnd w);

char BoolToDigit(bool flag);
bool DigitToBool(std::string_view text);

}  // namespace taskloom
