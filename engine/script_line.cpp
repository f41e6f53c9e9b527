#include "engine/script_line.h"

#include "engine/errors.h"
#include "engine/sendkey.h"
#include "engine/text.h"

namespace taskloom {

const std::array<KeyName, 31> KeyBox{{
    {"{None}", kKeyHome}, {"Alt", kAltDown},  {"Bksp", 8},          {"Ctrl", kCtrlDown},
    {"Del", kKeyDel},     {"Down", kKeyDown}, {"End", kKeyEnd},     {"Enter", 13},
    {"Esc", 27},          {"F1", 228},        {"F10", 237},         {"F11", 238},
    {"F12", 239},         {"F2", 229},        {"F3", 230},          {"F4", 231},
    {"F5", 232},          {"F6", 233},        {"F7", 234},          {"F8", 235},
    {"F9", 236},          {"Home", kKeyHome}, {"Ins", kKeyIns},     {"Left", kKeyLeft},
    {"PgDn", kKeyPgDn},   {"PgUp", kKeyPgUp}, {"Right", kKeyRight}, {"Shift", kShiftDown},
    {"Space", 32},        {"Tab", 9},         {"Up", kKeyUp},
}};

std::optional<unsigned char> LookupKeyName(std::string_view name) {
    for (const KeyName& k : KeyBox)
        if (EqualsNoCase(name, k.name)) return k.code;
    return std::nullopt;
}

namespace {

[[noreturn]] void ThrowTooManyKeys() {
    throw ScriptError("the line would type more than " + std::to_string(kMaxLineKeys) +
                      " keys (a repeat count too large?)");
}

void Append(std::string& keys, std::string_view more) {
    if (keys.size() + more.size() > kMaxLineKeys) ThrowTooManyKeys();
    keys.append(more);
}

}  // namespace

LineReading ReadScriptLine(std::string_view stored) {
    LineReading r;
    r.literalLine = StartsWith(stored, "{{{");
    std::string text(stored);
    if (Contains(text, "{{{") || Contains(text, "}}}"))
        text = TripleBraces(TripleBraces(text, '{', BraceMode::Reduce), '}', BraceMode::Reduce);

    std::string_view rest = text;
    while (!rest.empty() && !r.command) {
        if (r.literalLine || rest.front() != '{') {
            Append(r.keys, rest);
            break;
        }
        size_t close = rest.find('}');
        if (close == std::string_view::npos) break;  // unclosed: the rest is dropped
        std::string_view token = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);
        size_t blank = token.find(' ');
        std::int32_t count = 1;
        if (blank != std::string_view::npos) count = ReadCount(token.substr(blank + 1));
        if (StartsWith(token, ":")) {
            r.command = true;
            r.scriptLine = std::string(token);
            r.parameter = std::string(blank == std::string_view::npos ? token : token.substr(blank + 1));
            break;
        }
        if (StartsWith(token, ".")) continue;
        if (count < 1) continue;
        std::string_view name = token.substr(0, blank);
        std::optional<unsigned char> code = LookupKeyName(name);
        if (code) {
            if (*code == kAltDown) r.alt = true;
            if (*code == kCtrlDown) r.ctrl = true;
            if (*code == kShiftDown) r.shift = true;
        }
        std::string one = code ? std::string(1, static_cast<char>(*code)) : std::string(name);
        if (one.empty()) continue;
        // Checked by division: in a 32-bit build the product of a long name
        // and a count near 2^31 wraps around and would slip through.
        if (static_cast<std::size_t>(count) > (kMaxLineKeys - r.keys.size()) / one.size()) ThrowTooManyKeys();
        if (one.size() == 1)
            r.keys.append(static_cast<std::size_t>(count), one[0]);
        else
            for (std::int32_t i = 0; i < count; ++i) r.keys += one;
    }
    return r;
}

}  // namespace taskloom
