#include "engine/text.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace taskloom {
namespace {

bool IsSkipped(unsigned char c) { return c >= 1 && c <= 32; }

bool NeedsQuotes(std::string_view item) {
    return std::any_of(item.begin(), item.end(), [](char ch) {
        auto c = static_cast<unsigned char>(ch);
        return IsSkipped(c) || c == '"' || c == ',';
    });
}

std::string Quoted(std::string_view item) {
    std::string out;
    out.reserve(item.size() + 2);
    out += '"';
    for (char c : item) {
        out += c;
        if (c == '"') out += '"';
    }
    out += '"';
    return out;
}

}  // namespace

std::string JoinCommaText(const std::vector<std::string>& lines) {
    if (lines.size() == 1 && lines[0].empty()) return "\"\"";
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += ',';
        if (NeedsQuotes(lines[i]))
            out += Quoted(lines[i]);
        else
            out += lines[i];
    }
    return out;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> lines;
    size_t p = 0;
    const size_t n = text.size();
    auto skip = [&] {
        while (p < n && IsSkipped(static_cast<unsigned char>(text[p]))) ++p;
    };
    skip();
    while (p < n) {
        std::string item;
        if (text[p] == '"') {
            // A quoted item runs to its closing quote; a doubled quote is one
            // quote. Without a closing quote it runs to the end of the text.
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            // NUL is an ordinary character here: it is never quoted when
            // written, so it must read back as part of its item.
            size_t start = p;
            while (p < n && text[p] != ',' && !IsSkipped(static_cast<unsigned char>(text[p]))) ++p;
            item.assign(text.substr(start, p - start));
        }
        lines.push_back(std::move(item));
        skip();
        if (p < n && text[p] == ',') {
            ++p;
            skip();
        }
    }
    return lines;
}

std::string TripleBraces(std::string_view text, char brace, BraceMode mode) {
    std::string out;
    if (mode == BraceMode::Escape) {
        out.reserve(text.size());
        for (char c : text) {
            out += c;
            if (c == brace) out.append(2, brace);
        }
        return out;
    }
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (text[i] == brace && i + 2 < text.size() && text[i + 1] == brace && text[i + 2] == brace) {
            out += brace;
            i += 3;
        } else {
            out += text[i++];
        }
    }
    return out;
}

namespace {

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex) {
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    }
    return -1;
}

// Reads sign, "$" and digits from text[p]; returns the value held within
// 32 bits and how many digits were read.
std::int32_t ReadNumberAt(std::string_view text, size_t& p, size_t& digits) {
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    bool hex = false;
    if (p < text.size() && text[p] == '$') {
        hex = true;
        ++p;
    }
    const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    digits = 0;
    for (int d; p < text.size() && (d = DigitValue(text[p], hex)) >= 0; ++p, ++digits)
        value = std::min<std::int64_t>(value * (hex ? 16 : 10) + d, limit);
    if (negative) value = -value;
    value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t ReadCount(std::string_view text) {
    size_t p = 0;
    while (p < text.size() && text[p] == ' ') ++p;
    size_t digits = 0;
    std::int32_t value = ReadNumberAt(text, p, digits);
    return digits ? value : 0;
}

std::optional<std::int32_t> ToInteger(std::string_view text) {
    std::string t = TrimBlanks(text);
    size_t p = 0;
    bool negative = false;
    if (p < t.size() && (t[p] == '+' || t[p] == '-')) negative = t[p++] == '-';
    bool hex = p < t.size() && t[p] == '$';
    if (hex) ++p;
    if (p == t.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; p < t.size(); ++p) {
        int d = DigitValue(t[p], hex);
        if (d < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + d;
        if (value > 0xFFFFFFFFLL) return std::nullopt;
    }
    // "$FFFFFFFF" is -1, as a 32-bit hexadecimal constant reads.
    if (hex && !negative && value > std::numeric_limits<std::int32_t>::max()) value -= std::int64_t{1} << 32;
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string TrimBlanks(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return std::string(text.substr(b, e - b));
}

std::string DialogFilter(std::string_view filter) {
    std::string out(filter);
    for (char& c : out)
        if (c == '|') c = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

}  // namespace taskloom
