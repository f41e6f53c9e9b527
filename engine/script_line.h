// Reading one script line into the keys it types and the command it holds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// --- the parts of a line, for readers that need more than its keys ----------
//
// ReadScriptLine is built from these; the checker reads lines with them too,
// so that both take a line apart in the same way.

// Escaped braces reduced as the line reader does: every "{{{" to "{", then
// every "}}}" to "}". With `fromEscape`, each character of the result is
// marked when it stands for three braces.
std::string ReduceEscapedBraces(std::string_view stored, std::vector<bool>* fromEscape = nullptr);

struct LineToken {
    enum Kind { Key, Command, Label, Unclosed } kind = Key;
    std::string_view text;  // between the braces; Unclosed: all after the "{"
    std::size_t open = 0;   // where its "{" stands in the reduced text
};

// The tokens of a reduced line in the order the line reader takes them.
// Tokens are read from the start of the line and right after one another;
// the reading ends at literal text (a "literal line" is all literal text),
// after a command token (the rest of the line is not read), and after a "{"
// without "}" (the rest of the line is dropped).
class LineTokens {
public:
    LineTokens(std::string_view text, bool literalLine) : text_(text), literalLine_(literalLine) {}
    // The next token; false when there is none.
    bool next(LineToken& token);
    // Where the literal text begins; npos when the line holds none.
    std::size_t literalFrom() const { return literalFrom_; }
    // Just after the last token read.
    std::size_t position() const { return pos_; }

private:
    std::string_view text_;
    bool literalLine_;
    bool over_ = false;
    std::size_t pos_ = 0;
    std::size_t literalFrom_ = std::string_view::npos;
};

// A key token's name and repeat count: "Tab 3" is Tab three times, a token
// without a blank counts 1.
struct KeyToken {
    std::string_view name;
    std::int32_t count = 1;
};
KeyToken ReadKeyToken(std::string_view token);

// A command token's text into `r`: command, scriptLine and parameter.
void ReadCommandToken(std::string_view token, LineReading& r);

// The command a line holds, as the interpreter tells commands apart: by the
// first of these rows that fits the command token's text.
enum class CommandKind {
    Remark,        // ":/"...: the lines up to the next one holding "{:" are skipped
    Pause,         // ":Pause"...
    ClipsAdd,      // ":ClipsAdd"...: the captures
    ClipsClear,    // ":ClipsClear" alone
    ClipsCopy,     // ":ClipsCopy" as the first word
    ClipsPaste,    // ":ClipsPaste" as the first word
    ClipsDelimit,  // ":ClipsDelimit"...
    WindowSwitch,  // ":TO"..., ":To"... in any case
    Run,           // ":Run"... with something after it
    Load,          // ":Load"...
    Menu,          // ":Menu"...
    PopUp,         // ":PopUp"...: the note
    ClipsSave,     // ":ClipsSave"...
    ClipsLoad,     // ":ClipsLoad"...
    Mouse,         // ":Mouse"...
    Loop,          // ":Loop"... and ":Goto"...
    Nothing,       // none of them: the line's command does nothing
};
CommandKind ClassifyCommand(const LineReading& r);

}  // namespace taskloom
