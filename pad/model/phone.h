// Auto dial: which clips are telephone numbers, and how a number reaches a
// dialer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace taskloom {

// The dialer program and the window that takes the number.
constexpr std::string_view kDialerProgram = "dialer.exe";
constexpr std::string_view kDialerTitle = "Phone Dialer";
constexpr int kDialerLooks = 4;          // looks for the dialer's window
constexpr int kDialerLookPauseMs = 100;  // pause before each look

// A clip is a telephone number when it has at least 8 characters, holds "-"
// but does not begin with it, has only digits, blanks, "," and "-", and at
// least 6 digits ("555-1234" is one; "555-123", "-5551234", "555 123 4567"
// and "555-1234x" are not).
constexpr std::size_t kPhoneMinLength = 8;
bool IsPhoneNumber(std::string_view clip);

// Where no dialer program exists the number goes to the shell as a "tel:"
// address; blanks are left out (the shell start splits at the first blank).
std::string TelAddress(std::string_view number);

}  // namespace taskloom
