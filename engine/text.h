// Text helpers of the script language: comma text, escaped braces, numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taskloom {

// Joins lines into one comma text: items joined by ","; an item holding a
// character 1..32, a double quote or a comma is quoted, inner quotes doubled.
// A list of exactly one empty line is written as two double quotes.
std::string JoinCommaText(const std::vector<std::string>& lines);

// Splits a comma text back into lines. Characters 1..32 around items are
// skipped; empty items at the end of the text are not read back.
std::vector<std::string> SplitCommaText(std::string_view text);

enum class BraceMode { Escape, Reduce };

// Escape: every `brace` becomes three of it. Reduce: scanning from the left,
// every run of three braces becomes one and the scan goes on after it.
std::string TripleBraces(std::string_view text, char brace, BraceMode mode);

// Reads a whole number the way repeat counts are read: leading blanks
// skipped, an optional sign, "$" for hexadecimal digits, reading stops at the
// first character that is not a digit. Text that does not begin with a
// number reads as 0. Values beyond the 32-bit range are held at its ends.
std::int32_t ReadCount(std::string_view text);

// Strict whole-number conversion: the whole text (leading and trailing
// blanks aside) must be a decimal number (or "$" hex) within 32 bits.
std::optional<std::int32_t> ToInteger(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);
bool Contains(std::string_view text, std::string_view part);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view text);
std::string TrimBlanks(std::string_view text);  // characters 0..32 at both ends

// A list of file dialog filters, "text|patterns" pairs separated by "|",
// as the Win32 file dialogs take it: every "|" a NUL, the list ended by two.
std::string DialogFilter(std::string_view filter);

}  // namespace taskloom
