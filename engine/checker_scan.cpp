// A script line read the way the interpreter reads it, and the texts the
// checker's messages are made of.
#include "engine/checker_parts.h"

#include <cctype>

#include "engine/engine.h"
#include "engine/text.h"
#include "engine/trace.h"

namespace taskloom::check {

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

std::string Quote(std::string_view text) {
    constexpr std::size_t kMost = 60;
    std::string shown = VisibleText(text.substr(0, kMost));
    if (text.size() > kMost) shown += "...";
    return "\"" + shown + "\"";
}

std::string Braced(const std::string& inner) { return Quote("{" + inner + "}"); }

std::string QuoteName(std::string_view name) { return "\"" + VisibleText(name) + "\""; }

std::string LineWord(std::size_t index) { return "line " + std::to_string(index + 1); }

bool IsBlankText(std::string_view text) { return TrimBlanks(text).empty(); }

bool BeginsWithNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size() && text[i] == '$')
        return i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]));
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

std::optional<std::string> LabelOfLine(const std::string& line) {
    if (line.size() < 3 || !StartsWith(line, "{.") || line.find('}') != line.size() - 1) return std::nullopt;
    return line.substr(2, line.size() - 3);
}

}  // namespace taskloom::check
