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

std::string ReduceEscapedBraces(std::string_view stored, std::vector<bool>* fromEscape) {
    std::string text(stored);
    if (fromEscape) fromEscape->assign(text.size(), false);
    if (!Contains(text, "{{{") && !Contains(text, "}}}")) return text;
    if (!fromEscape) return TripleBraces(TripleBraces(text, '{', BraceMode::Reduce), '}', BraceMode::Reduce);
    // TripleBraces' reduction, keeping for every character whether it
    // stood for three braces.
    for (const char brace : {'{', '}'}) {
        std::string out;
        std::vector<bool> flags;
        for (std::size_t i = 0; i < text.size();) {
            const bool triple =
                text[i] == brace && i + 2 < text.size() && text[i + 1] == brace && text[i + 2] == brace;
            out += text[i];
            flags.push_back(triple || (*fromEscape)[i]);
            i += triple ? 3 : 1;
        }
        text.swap(out);
        fromEscape->swap(flags);
    }
    return text;
}

bool LineTokens::next(LineToken& token) {
    if (over_ || pos_ >= text_.size()) return false;
    if (literalLine_ || text_[pos_] != '{') {
        literalFrom_ = pos_;
        over_ = true;
        return false;
    }
    token.open = pos_;
    const std::size_t close = text_.find('}', pos_);
    if (close == std::string_view::npos) {
        token.kind = LineToken::Unclosed;
        token.text = text_.substr(pos_ + 1);
        pos_ = text_.size();
        over_ = true;
        return true;
    }
    token.text = text_.substr(pos_ + 1, close - pos_ - 1);
    token.kind = StartsWith(token.text, ":")   ? LineToken::Command
                 : StartsWith(token.text, ".") ? LineToken::Label
                                               : LineToken::Key;
    pos_ = close + 1;
    if (token.kind == LineToken::Command) over_ = true;
    return true;
}

KeyToken ReadKeyToken(std::string_view token) {
    const std::size_t blank = token.find(' ');
    KeyToken k;
    k.name = token.substr(0, blank);
    if (blank != std::string_view::npos) k.count = ReadCount(token.substr(blank + 1));
    return k;
}

void ReadCommandToken(std::string_view token, LineReading& r) {
    const std::size_t blank = token.find(' ');
    r.command = true;
    r.scriptLine = std::string(token);
    r.parameter = std::string(blank == std::string_view::npos ? token : token.substr(blank + 1));
}

LineReading ReadScriptLine(std::string_view stored) {
    LineReading r;
    r.literalLine = StartsWith(stored, "{{{");
    const std::string text = ReduceEscapedBraces(stored);
    LineTokens tokens(text, r.literalLine);
    LineToken t;
    while (tokens.next(t)) {
        if (t.kind == LineToken::Command) {
            ReadCommandToken(t.text, r);
            break;
        }
        if (t.kind != LineToken::Key) continue;  // a label types nothing; an unclosed token is dropped
        const KeyToken k = ReadKeyToken(t.text);
        if (k.count < 1) continue;
        std::optional<unsigned char> code = LookupKeyName(k.name);
        if (code) {
            if (*code == kAltDown) r.alt = true;
            if (*code == kCtrlDown) r.ctrl = true;
            if (*code == kShiftDown) r.shift = true;
        }
        std::string one = code ? std::string(1, static_cast<char>(*code)) : std::string(k.name);
        if (one.empty()) continue;
        // Checked by division: in a 32-bit build the product of a long name
        // and a count near 2^31 wraps around and would slip through.
        if (static_cast<std::size_t>(k.count) > (kMaxLineKeys - r.keys.size()) / one.size())
            ThrowTooManyKeys();
        if (one.size() == 1)
            r.keys.append(static_cast<std::size_t>(k.count), one[0]);
        else
            for (std::int32_t i = 0; i < k.count; ++i) r.keys += one;
    }
    if (tokens.literalFrom() != std::string::npos)
        Append(r.keys, std::string_view(text).substr(tokens.literalFrom()));
    return r;
}

CommandKind ClassifyCommand(const LineReading& r) {
    const std::string& s = r.scriptLine;
    const std::string_view word = std::string_view(s).substr(0, s.find(' '));
    if (StartsWith(s, ":/")) return CommandKind::Remark;
    if (StartsWith(s, ":Pause")) return CommandKind::Pause;
    if (StartsWith(s, ":ClipsAdd")) return CommandKind::ClipsAdd;
    if (s == ":ClipsClear") return CommandKind::ClipsClear;
    if (word == ":ClipsCopy") return CommandKind::ClipsCopy;
    if (word == ":ClipsPaste") return CommandKind::ClipsPaste;
    if (StartsWith(s, ":ClipsDelimit")) return CommandKind::ClipsDelimit;
    if (StartsWith(UpperCase(s), ":TO")) return CommandKind::WindowSwitch;
    if (StartsWith(s, ":Run") && r.parameter.compare(" ") > 0) return CommandKind::Run;
    if (StartsWith(s, ":Load")) return CommandKind::Load;
    if (StartsWith(s, ":Menu")) return CommandKind::Menu;
    if (StartsWith(s, ":PopUp")) return CommandKind::PopUp;
    if (StartsWith(s, ":ClipsSave")) return CommandKind::ClipsSave;
    if (StartsWith(s, ":ClipsLoad")) return CommandKind::ClipsLoad;
    if (StartsWith(s, ":Mouse")) return CommandKind::Mouse;
    if (StartsWith(s, ":Loop") || StartsWith(s, ":Goto")) return CommandKind::Loop;
    return CommandKind::Nothing;
}

}  // namespace taskloom
