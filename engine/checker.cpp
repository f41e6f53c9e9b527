#include "engine/checker.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/filestore.h"
#include "engine/loops.h"
#include "engine/script_line.h"
#include "engine/suggestions.h"
#include "engine/text.h"
#include "engine/trace.h"

namespace taskloom {
namespace {

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

LineScan ScanLine(const std::string& stored) {
    LineScan s;
    s.literalLine = StartsWith(stored, "{{{");
    s.text = ReduceEscapedBraces(stored, &s.fromEscape);
    LineTokens reader(s.text, s.literalLine);
    LineToken t;
    while (reader.next(t)) {
        s.tokens.push_back({t.kind, std::string(t.text), s.fromEscape[t.open]});
        if (t.kind == LineToken::Command) {
            s.afterCommand = s.text.substr(reader.position());
            ReadCommandToken(t.text, s.reading);
        } else if (t.kind == LineToken::Key && s.keyCount <= kMaxLineKeys) {
            const KeyToken k = ReadKeyToken(t.text);
            const std::uint64_t one = LookupKeyName(k.name) ? 1 : k.name.size();
            if (k.count > 0) s.keyCount += one * static_cast<std::uint64_t>(k.count);
        }
    }
    s.literalFrom = reader.literalFrom();
    if (s.literalFrom != npos) s.keyCount += s.text.size() - s.literalFrom;
    return s;
}

std::string FirstWord(const std::string& s) { return s.substr(0, s.find(' ')); }

// --- message text -------------------------------------------------------------

// A piece of a line quoted for a message: control characters shown, long
// texts cut.
std::string Quote(std::string_view text) {
    constexpr std::size_t kMost = 60;
    std::string shown = VisibleText(text.substr(0, kMost));
    if (text.size() > kMost) shown += "...";
    return "\"" + shown + "\"";
}

std::string Braced(const std::string& inner) { return Quote("{" + inner + "}"); }

// A file or folder name, quoted whole.
std::string QuoteName(std::string_view name) { return "\"" + VisibleText(name) + "\""; }

std::string LineWord(std::size_t index) { return "line " + std::to_string(index + 1); }

bool IsBlankText(std::string_view text) { return TrimBlanks(text).empty(); }

// Whether a repeat count's text begins with a number (else it reads as 0).
bool BeginsWithNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size() && text[i] == '$')
        return i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]));
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

// A line that a jump can find: "{." name "}" and nothing else.
std::optional<std::string> LabelOfLine(const std::string& line) {
    if (line.size() < 3 || !StartsWith(line, "{.") || line.find('}') != line.size() - 1) return std::nullopt;
    return line.substr(2, line.size() - 3);
}

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

    std::vector<Finding> run() {
        const std::size_t n = lines_.size();
        scans_.reserve(n);
        readings_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            scans_.push_back(ScanLine(lines_[i]));
            if (scans_[i].keyCount > kMaxLineKeys)
                error(i, "the line would type more than " + std::to_string(kMaxLineKeys) +
                             " keys (a repeat count " + "too large?): the run would be abandoned here");
            else
                readings_[i] = scans_[i].reading;
        }
        findBlocks();
        findLabels();
        for (std::size_t i = 0; i < n; ++i) {
            if (rowOf(i) != CommandKind::Loop) continue;
            const std::string& value = readings_[i]->parameter;
            jumpTargets_.insert(UpperCase(value.substr(0, value.find(' '))));
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (blockOf_[i]) {
                checkBlockLine(i, *blockOf_[i]);
                continue;
            }
            if (!readings_[i]) continue;
            checkTokens(i);
            checkLiteralText(i);
            if (readings_[i]->command) checkCommand(i);
        }
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return std::move(findings_);
    }

private:
    void add(std::size_t index, Severity s, std::string message) {
        findings_.push_back({index + 1, s, std::move(message)});
    }
    void error(std::size_t index, std::string message) { add(index, Severity::Error, std::move(message)); }
    void warning(std::size_t index, std::string message) {
        add(index, Severity::Warning, std::move(message));
    }

    CommandKind rowOf(std::size_t i) const {
        return readings_[i] && readings_[i]->command ? ClassifyCommand(*readings_[i]) : CommandKind::Nothing;
    }

    // A remark or note head takes the lines after it up to the next line
    // holding "{:" as its text: when the run comes to the head, those lines
    // do not run as script lines. Such lines hold no command, so the blocks
    // follow from reading the list once from the top.
    void findBlocks() {
        const std::size_t n = lines_.size();
        blockOf_.assign(n, std::nullopt);
        for (std::size_t i = 0; i < n;) {
            const CommandKind row = rowOf(i);
            if (row != CommandKind::Remark && row != CommandKind::PopUp) {
                ++i;
                continue;
            }
            std::size_t j = i + 1;
            while (j < n && !Contains(lines_[j], "{:")) ++j;
            const Block b{i, row == CommandKind::PopUp, TrimBlanks(readings_[i]->scriptLine) == ":/", j == n};
            for (std::size_t k = i + 1; k < j; ++k) blockOf_[k] = b;
            i = j;
        }
    }

    void findLabels() {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (auto name = LabelOfLine(lines_[i])) {
                const std::string key = UpperCase(*name);
                if (auto first = labels_.find(key); first != labels_.end()) {
                    error(i, "the label " + Quote(lines_[i]) + " is defined again (first on " +
                                 LineWord(first->second) +
                                 "; labels compare without case): every jump goes to " +
                                 LineWord(first->second) + " and none can reach this line");
                } else {
                    labels_.emplace(key, i);
                }
                continue;
            }
            if (blockOf_[i]) continue;
            // A label token on a line that holds more than the label, and a
            // label line with blanks before it, are not found by a jump.
            const LineScan& s = scans_[i];
            for (const Token& t : s.tokens) {
                if (t.kind != LineToken::Label) continue;
                const std::string name = t.text.substr(1);
                warning(i, "the label " + Braced(t.text) +
                               " cannot be found by a jump: its line holds more than " +
                               "the label (a label line holds nothing but " + Braced(t.text) + ")");
                strayLabels_.emplace(UpperCase(name), i);
            }
            const std::string& line = lines_[i];
            if (!line.empty() && static_cast<unsigned char>(line[0]) <= 32 && s.literalFrom == 0) {
                const std::string trimmed = TrimBlanks(line);
                const std::size_t close = trimmed.find('}');
                if (StartsWith(trimmed, "{.") && close != npos) {
                    const std::string token = trimmed.substr(1, close - 1);
                    warning(i, "the label " + Braced(token) +
                                   " cannot be found by a jump: blanks stand before " +
                                   "it, and the line is typed as text (a label line holds nothing but " +
                                   Braced(token) + ")");
                    strayLabels_.emplace(UpperCase(token.substr(1)), i);
                }
            }
        }
    }

    void checkTokens(std::size_t i) {
        const LineScan& s = scans_[i];
        for (const Token& t : s.tokens) {
            // Only a token after another one can begin with a reduced brace.
            if (t.escapedOpen) {
                warning(i,
                        "the escaped brace \"{{{\" right after a token opens a token here: " +
                            (t.kind == LineToken::Unclosed ? Quote("{" + t.text) : Braced(t.text)) +
                            " is read as a token, not typed as written; put the text on a line of its own");
            }
            if (t.kind == LineToken::Unclosed) {
                std::string message =
                    Quote("{" + t.text) + " has no closing \"}\": the rest of the line is dropped";
                if (StartsWith(t.text, ":")) {
                    message += " and the command does not run; did you mean " + Braced(t.text) + "?";
                } else {
                    message += " and nothing of it is typed";
                    const std::string name = t.text.substr(0, t.text.find(' '));
                    if (LookupKeyName(name)) message += "; did you mean " + Braced(t.text) + "?";
                }
                warning(i, message);
            }
            if (t.kind != LineToken::Key) continue;
            const std::size_t blank = t.text.find(' ');
            const std::string name = t.text.substr(0, blank);
            if (t.text.empty()) {
                warning(i, "\"{}\" is an empty token and types nothing");
                continue;
            }
            if (blank != npos) {
                const std::string countText = t.text.substr(blank + 1);
                if (ReadCount(countText) < 1) {
                    warning(i, Braced(t.text) + " types nothing: its repeat count " + Quote(countText) +
                                   (BeginsWithNumber(countText) ? " is below 1"
                                                                : " is not a number (it reads as 0)"));
                    continue;
                }
            }
            if (name.empty()) {
                warning(i, Braced(t.text) + " names no key and types nothing");
                continue;
            }
            if (LookupKeyName(name)) continue;
            if (auto meant = MeantKeyName(name, budget_)) {
                const std::string fixed = *meant + (blank == npos ? std::string() : t.text.substr(blank));
                warning(i, Braced(t.text) + " is not a key name: it types the text " + Quote(name) +
                               "; did you mean " + Braced(fixed) + "?");
            }
        }
        if (!s.afterCommand.empty() && !IsBlankText(s.afterCommand)) {
            warning(i, "the text after the command " + Braced(s.tokens.back().text) +
                           " is ignored: " + Quote(s.afterCommand));
        }
    }

    // Tokens are read only at the start of a line and right after another
    // token: in literal text a key or command token is typed as it stands.
    // The first such token of a line is named.
    void checkLiteralText(std::size_t i) {
        const LineScan& s = scans_[i];
        if (s.literalLine || s.literalFrom == npos) return;
        const std::string& t = s.text;
        std::size_t open = t.find('{', s.literalFrom);
        while (open != npos) {
            const std::size_t close = t.find('}', open);
            if (close == npos) break;
            if (!s.fromEscape[open]) {
                const std::string token = t.substr(open + 1, close - open - 1);
                const std::string before = t.substr(s.literalFrom, open - s.literalFrom);
                const std::string after = IsBlankText(before) ? "blanks" : "the text " + Quote(before);
                if (StartsWith(token, ":")) {
                    warning(i, Braced(token) + " follows " + after +
                                   " and is typed as text, not run; a command " +
                                   "must begin its line or follow key tokens");
                    return;
                }
                if (LookupKeyName(token.substr(0, token.find(' ')))) {
                    warning(i, Braced(token) + " follows " + after + " and is typed as the characters " +
                                   Braced(token) +
                                   ", not pressed; key tokens count only at the start of a line " +
                                   "and right after another key token");
                    return;
                }
            }
            open = t.find('{', close);
        }
    }

    void checkBlockLine(std::size_t i, const Block& b) {
        const std::string& line = lines_[i];
        if (b.note && StartsWith(line, "@")) {
            checkNoteFile(i, b, line.substr(1));
            return;
        }
        if (IsBlankText(line)) return;
        const std::string head = LineWord(b.head);
        const auto label = LabelOfLine(line);
        if (label && !b.note) {
            // Skipping a label line changes nothing; but a jump to it runs
            // the remark text after it as script lines.
            const bool textFollows = i + 1 < lines_.size() && blockOf_[i + 1] &&
                                     blockOf_[i + 1]->head == b.head && !IsBlankText(lines_[i + 1]);
            if (textFollows && jumpTargets_.count(UpperCase(*label)))
                warning(i, "a jump to " + Quote(line) + " runs the text of the remark block of " + head +
                               " after it as script lines, starting with " + Quote(lines_[i + 1]) + " (" +
                               LineWord(i + 1) + ")");
            return;
        }
        const LineScan& s = scans_[i];
        const bool looksLikeScript =
            label || (!s.tokens.empty() && s.tokens[0].kind == LineToken::Key && !s.literalLine &&
                      LookupKeyName(s.tokens[0].text.substr(0, s.tokens[0].text.find(' '))));
        if (b.note) {
            if (looksLikeScript)
                warning(i, Quote(line) + " is shown as a line of the note of " + head +
                               ", not run (a note's " + "lines reach up to the next line holding \"{:\")");
            return;
        }
        if (!b.closing && !looksLikeScript) return;
        std::string message = Quote(line);
        if (b.closing)
            message += b.final ? " never runs: \"{:/}\" on " + head +
                                     " skips to the end of the script (no later line "
                                     "holds \"{:\")"
                               : " is skipped: \"{:/}\" on " + head +
                                     " skips every line up to the next line holding "
                                     "\"{:\"";
        else
            message += b.final ? " never runs: it is text of the remark block of " + head +
                                     ", which reaches the " + "end of the script"
                               : " is skipped as text of the remark block of " + head +
                                     " (up to the next line " + "holding \"{:\")";
        warning(i, message);
    }

    void checkNoteFile(std::size_t i, const Block& b, const std::string& name) {
        const std::string where = "the run would be abandoned at the note of " + LineWord(b.head);
        if (IsBlankText(name)) {
            error(i, "\"@\" names no note file: " + where);
            return;
        }
        bool absolute = false;
        try {
            absolute = std::filesystem::path(name).is_absolute();
        } catch (const std::exception&) {
            absolute = false;  // a name this system cannot take as a path: not checkable here
        }
        if (FileExists(name)) return;
        if (absolute) {
            error(i, "the note file " + QuoteName(name) + " does not exist: " + where);
            return;
        }
        if (FileExists(folder_ + name)) return;
        warning(
            i, "the note file " + QuoteName(name) +
                   " is neither in the current folder nor in the script's folder" +
                   (folder_.empty() ? std::string() : " " + QuoteName(folder_)) +
                   ": it cannot be checked here; at run time it is looked for in the current folder and in " +
                   "the program's folder, and " + where + " if it is in neither");
    }

    void checkCommand(std::size_t i) {
        const LineReading& r = *readings_[i];
        const std::string& s = r.scriptLine;
        const std::string keyword = FirstWord(s);
        const std::string shown = Braced(s);
        switch (ClassifyCommand(r)) {
            case CommandKind::Pause:
                if (keyword != ":Pause" && keyword != ":PauseSeconds" && s.find("1/10", 5) == npos)
                    warning(i, shown + " waits whole seconds: the pause forms are \":PauseSeconds n\" and " +
                                   "\":Pause1/10 n\" (tenths)");
                break;
            case CommandKind::ClipsAdd:
                checkCapture(i, r, keyword);
                break;
            case CommandKind::ClipsDelimit:
                checkDelimiter(i, r, keyword);
                break;
            case CommandKind::WindowSwitch:
                if (s.find(' ') == npos)
                    warning(i, shown + " names no window: it looks for a window titled " + Quote(s) +
                                   ", and without one the run ends with \"Inactive Window\"; write " +
                                   Braced(keyword + " title"));
                break;
            case CommandKind::Run:
                if (s.find(' ') == npos)
                    warning(i, shown + " names no program: it starts a program named " + Quote(s) +
                                   ", which fails without a word; write " + Braced(keyword + " program"));
                break;
            case CommandKind::Menu:
                if (!Contains(r.parameter, "&"))
                    warning(i, shown +
                                   " holds no \"&\": it only presses Alt (the menu keys are the letters " +
                                   "after \"&\" in each level)");
                break;
            case CommandKind::PopUp:
                checkNote(i, r);
                break;
            case CommandKind::Mouse:
                if (!StartsWith(keyword, ":MouseClick") && !StartsWith(keyword, ":MouseDblClick") &&
                    !StartsWith(keyword, ":MouseRightClick")) {
                    std::string message = Quote(keyword) + " is taken as a right click";
                    if (auto meant = MeantKeyword(keyword, FormsBeginning(":Mouse"), budget_))
                        message += "; did you mean " + Quote(*meant) + "?";
                    warning(i, message);
                }
                break;
            case CommandKind::Loop:
                checkLoop(i, r);
                break;
            case CommandKind::Nothing:
                checkNothing(i, r, keyword);
                break;
            default:
                break;
        }
    }

    void checkCapture(std::size_t i, const LineReading& r, const std::string& keyword) {
        const std::string& s = r.scriptLine;
        if (s == ":ClipsAddClipboard" || s == ":ClipsAddText" || s == ":ClipsAddForm" ||
            StartsWith(s, ":ClipsAddDOS") || StartsWith(s, ":ClipsAddControls") ||
            StartsWith(s, ":ClipsAddFile"))
            return;
        const bool known =
            keyword == ":ClipsAddClipboard" || keyword == ":ClipsAddText" || keyword == ":ClipsAddForm";
        std::string message = Braced(s) + " copies the focused field's line but adds nothing to the clips";
        if (known) {
            message += ": " + Quote(keyword) + " takes nothing after it";
        } else {
            message += ": no capture has the keyword " + Quote(keyword);
            if (auto meant = MeantKeyword(keyword, FormsBeginning(":ClipsAdd"), budget_))
                message += "; did you mean " + Quote(*meant) + "?";
        }
        warning(i, message);
    }

    void checkDelimiter(std::size_t i, const LineReading& r, const std::string& keyword) {
        const std::string& s = r.scriptLine;
        if (Contains(s, "Line") || Contains(s, "None") || keyword == ":ClipsDelimiterTab") return;
        const std::string set = r.parameter.empty() ? " " : r.parameter.substr(0, 1);
        if (keyword == ":ClipsDelimiterOther" && s.find(' ') != npos) return;
        warning(
            i,
            Braced(s) + " sets the clips delimiter to " + Quote(set) +
                (s.find(' ') == npos ? " (the first character of its own text)" : "") +
                "; the forms are \":ClipsDelimiterLine\", \":ClipsDelimiterTab\", \":ClipsDelimiterNone\" " +
                "and \":ClipsDelimiterOther c\"");
    }

    void checkNote(std::size_t i, const LineReading& r) {
        NoteHeader h;
        try {
            h = ReadNoteHeader(r.parameter);
        } catch (const ScriptError& e) {
            error(i, Braced(r.scriptLine) + ": " + e.what() +
                         "; the run would be abandoned here (the form is " + "\"{:PopUp x y title}\")");
            return;
        }
        // ReadNoteHeader has already moved a low note up; the written y is wanted.
        const std::size_t first = r.parameter.find(' ');
        const std::size_t second = r.parameter.find(' ', first + 1);
        const std::int32_t y = ToInteger(r.parameter.substr(first + 1, second - first - 1)).value_or(0);
        if (y >= 400)
            warning(i, "the note's y " + std::to_string(y) + " is 400 or more: the note is shown at y 350");
        if (i + 1 >= lines_.size() || Contains(lines_[i + 1], "{:"))
            warning(i, "the note " + Quote(h.title) +
                           " has no lines and is not shown (its lines follow it, up " +
                           "to the next line holding \"{:\")");
    }

    void checkLoop(std::size_t i, const LineReading& r) {
        const std::string& s = r.scriptLine;
        const std::size_t blank = s.find(' ');
        const std::string& value = r.parameter;
        const std::string label = value.substr(0, value.find(' '));
        const std::size_t vb = value.find(' ');
        const std::string rest = vb == npos ? std::string() : value.substr(vb + 1);
        const std::string wanted = "{." + label + "}";
        const auto found = labels_.find(UpperCase(label));
        if (blank == npos) {
            error(i, Braced(s) + " names no label: the run would end with \"Undefined Label: " + wanted +
                         "\"; write " + Braced(s + " label"));
            return;
        }
        if (found == labels_.end()) {
            std::string message = "no line defines the label " + Quote(label) + " that " + Braced(s) +
                                  " jumps to: the run would end with \"Undefined Label: " + wanted + "\"";
            if (auto stray = strayLabels_.find(UpperCase(label)); stray != strayLabels_.end()) {
                message += "; " + LineWord(stray->second) + " holds " + Quote(wanted) +
                           " with more on its line, so a jump cannot find it";
            } else {
                if (labelNames_.empty())
                    for (const auto& [key, where] : labels_)
                        labelNames_.push_back(*LabelOfLine(lines_[where]));
                if (auto meant =
                        Nearest(label, labelNames_, std::max<std::size_t>(1, label.size() / 3), budget_))
                    message += "; did you mean " + Quote(*meant) + " (" +
                               LineWord(labels_.at(UpperCase(*meant))) + ")?";
            }
            error(i, message);
        }
        const std::string keyword = s.substr(0, blank);
        const LoopFamily family = LoopFamilyOf(keyword);
        if (family == LoopFamily::Times) {
            const std::int32_t n = ReadCount(rest);
            if (n < 1) {
                warning(i, Braced(s) +
                               (IsBlankText(rest) ? " has no count"
                                                  : " has the count " + Quote(rest) + ", which reads as " +
                                                        std::to_string(n)) +
                               ": the loop does not repeat; write " + Braced(keyword + " " + label + " n"));
            } else if (n >= 2 && found != labels_.end() && found->second > i) {
                warning(i, "the label " + Quote(wanted) + " of the counted loop " + Braced(s) +
                               " stands after it (" + LineWord(found->second) +
                               "): the loop jumps forward once and repeats nothing; put " +
                               "the label before the lines to repeat");
            }
        } else if (family == LoopFamily::None) {
            std::string message = "no loop has the keyword " + Quote(keyword) + ": the line does nothing";
            if (auto meant = MeantKeyword(keyword, FormsBeginning(":Loop"), budget_))
                message += "; did you mean " + Quote(*meant) + "?";
            warning(i, message);
        } else if (!NamesCondition(family, keyword)) {
            static const std::map<LoopFamily, const char*> kPrefix{
                {LoopFamily::Window, ":LoopWindow"},   {LoopFamily::File, ":LoopFile"},
                {LoopFamily::Menu, ":LoopMenu"},       {LoopFamily::Clipboard, ":LoopClipboard"},
                {LoopFamily::Control, ":LoopControl"},
            };
            const char* prefix = kPrefix.at(family);
            std::string message = Quote(keyword) + " names no condition of the " +
                                  Quote(std::string(prefix)) + " loops: the loop " +
                                  (family == LoopFamily::Clipboard ? "always jumps" : "never jumps");
            if (auto meant = MeantKeyword(keyword, FormsBeginning(prefix), budget_))
                message += "; did you mean " + Quote(*meant) + "?";
            warning(i, message);
        }
    }

    void checkNothing(std::size_t i, const LineReading& r, const std::string& keyword) {
        const std::string& s = r.scriptLine;
        const std::string shown = Braced(s);
        if (StartsWith(s, ":Run")) {
            warning(i, shown + " names no program: the line does nothing; write " + Braced(":Run program"));
        } else if (keyword == ":ClipsClear") {
            warning(i, shown + " does nothing: \":ClipsClear\" must stand alone in its braces");
        } else if (keyword == ":LabelGoto") {
            warning(i,
                    shown + " does nothing: a jump is written " + Braced(":Goto" + s.substr(keyword.size())));
        } else if (keyword == ":LabelDefine") {
            warning(i, shown + " does nothing: a label is written " + Braced("." + TrimBlanks(r.parameter)));
        } else {
            std::string message = "no command has the keyword " + Quote(keyword) + ": the line does nothing";
            if (auto meant = MeantKeyword(keyword, CommandForms(), budget_))
                message += "; did you mean " + Quote(*meant) + "?";
            warning(i, message);
        }
    }

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

}  // namespace

std::vector<Finding> CheckScript(const std::vector<std::string>& lines, const std::string& scriptFolder) {
    return Checker(lines, scriptFolder).run();
}

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

std::string FormatFinding(const std::string& file, const Finding& finding) {
    return file + ":" + std::to_string(finding.line) + ": " + SeverityName(finding.severity) + ": " +
           finding.message;
}

}  // namespace taskloom
