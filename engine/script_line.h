// Reading one script line into the keys it types and the command it holds.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace taskloom {

struct KeyName {
    const char* name;
    unsigned char code;
};

// The key names in the order of the hidden key list; "{None}" first, which
// no token can name (a token ends at its first "}").
extern const std::array<KeyName, 31> KeyBox;

// The code of a key name, compared without regard to case.
std::optional<unsigned char> LookupKeyName(std::string_view name);

// The most keys one line may expand to; "{x 2000000000}" is refused rather
// than filling the memory.
constexpr std::size_t kMaxLineKeys = 1u << 20;

struct LineReading {
    std::string keys;                               // key string of the line's key tokens and literal text
    bool command = false;                           // the line holds a command token
    std::string scriptLine;                         // the command token's text inside the braces
    std::string parameter;                          // after its first blank; the whole token without one
    bool alt = false, ctrl = false, shift = false;  // modifier pressed by a token
    bool literalLine = false;                       // the stored line began with "{{{"
};

// Reads a line as stored in the script: escaped braces reduced first (when
// the line holds "{{{" or "}}}"), then key tokens, literal text, command and
// label tokens. Throws ScriptError when the keys would exceed kMaxLineKeys.
LineReading ReadScriptLine(std::string_view stored);

}  // namespace taskloom
