// The checks of a line's tokens and of its typed text: key names, repeat
// counts, unclosed and escaped braces, tokens that the line types as text.
#include "engine/checker_parts.h"

#include "engine/engine.h"
#include "engine/text.h"

namespace taskloom::check {

void Checker::checkTokens(std::size_t i) {
    const LineScan& s = scans_[i];
    for (const Token& t : s.tokens) {
        // Only a token after another one can begin with a reduced brace.
        if (t.escapedOpen) {
            warning(i, "the escaped brace \"{{{\" right after a token opens a token here: " +
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
        if (t.kind == LineToken::Key) checkKeyToken(i, t);
    }
    if (!s.afterCommand.empty() && !IsBlankText(s.afterCommand)) {
        warning(i, "the text after the command " + Braced(s.tokens.back().text) +
                       " is ignored: " + Quote(s.afterCommand));
    }
}

// A key token: its name and its repeat count.
void Checker::checkKeyToken(std::size_t i, const Token& t) {
    const std::size_t blank = t.text.find(' ');
    const std::string name = t.text.substr(0, blank);
    if (t.text.empty()) {
        warning(i, "\"{}\" is an empty token and types nothing");
        return;
    }
    if (blank != npos) {
        const std::string countText = t.text.substr(blank + 1);
        if (ReadCount(countText) < 1) {
            warning(i,
                    Braced(t.text) + " types nothing: its repeat count " + Quote(countText) +
                        (BeginsWithNumber(countText) ? " is below 1" : " is not a number (it reads as 0)"));
            return;
        }
    }
    if (name.empty()) {
        warning(i, Braced(t.text) + " names no key and types nothing");
        return;
    }
    if (LookupKeyName(name)) return;
    if (auto meant = MeantKeyName(name, budget_)) {
        const std::string fixed = *meant + (blank == npos ? std::string() : t.text.substr(blank));
        warning(i, Braced(t.text) + " is not a key name: it types the text " + Quote(name) +
                       "; did you mean " + Braced(fixed) + "?");
    }
}

// Tokens are read only at the start of a line and right after another
// token: in literal text a key or command token is typed as it stands.
// The first such token of a line is named.
void Checker::checkLiteralText(std::size_t i) {
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

}  // namespace taskloom::check
