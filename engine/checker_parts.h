// The checker's parts, shared by its files (not for use outside them): a line
// read the way the interpreter reads it, the texts its messages are made of,
// and the checker itself, whose checks stand in a file for each kind of thing
// checked (tokens and typed text, remark and note blocks, labels and loops,
// the other commands).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/checker.h"
#include "engine/script_line.h"
#include "engine/suggestions.h"

namespace taskloom::check {

constexpr std::size_t npos = std::string::npos;

// --- reading a line the way the interpreter does --------------------------
//
// LineScan keeps what the checker needs besides the command: the tokens,
// which braces were escaped, where the literal text begins, and how many
// keys the line types (counted, not built: a line of a million keys costs no
// more to check than a short one).

struct Token {
    LineToken::Kind kind = LineToken::Key;
    std::string text;          // between the braces (Unclosed: all after the "{")
    bool escapedOpen = false;  // its "{" was written "{{{"
};

struct LineScan {
    bool literalLine = false;
    std::string text;              // escaped braces reduced
    std::vector<bool> fromEscape;  // per character of text: reduced from a triple
    std::vector<Token> tokens;
    std::size_t literalFrom = npos;  // where the literal text begins
    std::string afterCommand;        // what follows the command token's "}"
    std::uint64_t keyCount = 0;      // keys typed before the command, if any
    LineReading reading;             // command, scriptLine and parameter (no keys)
};

LineScan ScanLine(const std::string& stored);

// --- message text -------------------------------------------------------------

std::string FirstWord(const std::string& s);
// A piece of a line quoted for a message: control characters shown, long
// texts cut.
std::string Quote(std::string_view text);
// "{" inner "}", quoted.
std::string Braced(const std::string& inner);
// A file or folder name, quoted whole.
std::string QuoteName(std::string_view name);
// "line N", counted from 1.
std::string LineWord(std::size_t index);
bool IsBlankText(std::string_view text);
// Whether a repeat count's text begins with a number (else it reads as 0).
bool BeginsWithNumber(std::string_view text);
// A line that a jump can find: "{." name "}" and nothing else.
std::optional<std::string> LabelOfLine(const std::string& line);

// --- the checker ------------------------------------------------------------------

struct Block {
    std::size_t head;  // the remark or note line
    bool note;
    bool closing;  // the head is a bare "{:/}"
    bool final;    // no later line holds "{:": the block reaches the end
};

class Checker {
public:
    Checker(const std::vector<std::string>& lines, const std::string& folder)
        : lines_(lines), folder_(folder) {}

    std::vector<Finding> run();

private:
    void add(std::size_t index, Severity s, std::string message) {
        findings_.push_back({index + 1, s, std::move(message)});
    }
    void error(std::size_t index, std::string message) { add(index, Severity::Error, std::move(message)); }
    void warning(std::size_t index, std::string message) {
        add(index, Severity::Warning, std::move(message));
    }
    CommandKind rowOf(std::size_t i) const;
    void scanLines();
    void findJumpTargets();

    // Tokens and typed text (checker_tokens.cpp).
    void checkTokens(std::size_t i);
    void checkKeyToken(std::size_t i, const Token& t);
    void checkLiteralText(std::size_t i);

    // Remark and note blocks (checker_blocks.cpp).
    void findBlocks();
    void checkBlockLine(std::size_t i, const Block& b);
    void checkNoteFile(std::size_t i, const Block& b, const std::string& name);
    void checkNote(std::size_t i, const LineReading& r);

    // Labels and loops (checker_labels.cpp).
    void findLabels();
    void findStrayLabels(std::size_t i);
    void checkLoop(std::size_t i, const LineReading& r);
    void checkLoopLabel(std::size_t i, const LineReading& r, const std::string& label);
    void checkLoopKind(std::size_t i, const LineReading& r, const std::string& label);

    // The other commands (checker_commands.cpp).
    void checkCommand(std::size_t i);
    void checkCapture(std::size_t i, const LineReading& r, const std::string& keyword);
    void checkDelimiter(std::size_t i, const LineReading& r, const std::string& keyword);
    void checkMouse(std::size_t i, const std::string& keyword);
    void checkNothing(std::size_t i, const LineReading& r, const std::string& keyword);

    const std::vector<std::string>& lines_;
    const std::string folder_;
    std::vector<LineScan> scans_;
    std::vector<std::optional<LineReading>> readings_;
    std::vector<std::optional<Block>> blockOf_;       // the block whose text a line is
    std::map<std::string, std::size_t> labels_;       // upper-cased name -> first label line
    std::map<std::string, std::size_t> strayLabels_;  // labels a jump cannot find -> their line
    std::set<std::string> jumpTargets_;               // upper-cased labels that some line jumps to
    std::vector<std::string> labelNames_;             // as written, for suggestions
    SuggestionBudget budget_;
    std::vector<Finding> findings_;
};

}  // namespace taskloom::check
