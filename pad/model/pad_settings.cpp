#include "pad/model/pad_settings.h"

#include <optional>

#include "pad/model/pad_text.h"
#include "engine/text.h"

namespace taskloom {
namespace {

std::optional<int> StrictNumber(std::string_view field) {
    // Digits with an optional leading minus, nothing else: the value is
    // written by the pad itself, so blanks or signs elsewhere mean damage.
    std::string_view digits = field;
    if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    return ToInteger(field);
}

std::string LowerCase(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

SettingsRead Malformed(std::string problem) {
    SettingsRead r;
    r.malformed = true;
    r.problem = "the saved settings could not be read (" + problem + "); the pad starts with its defaults";
    return r;
}

}  // namespace

std::size_t ClipsSizeLimit(ClipsSize size) {
    switch (size) {
        case ClipsSize::K20:
            return 20480;
        case ClipsSize::K50:
            return 51200;
        case ClipsSize::K4:
            break;
    }
    return 4096;
}

std::string FormatSettings(const PadSettings& s) {
    std::string t(1, s.delimiter);
    t += "," + std::to_string(s.left) + "," + std::to_string(s.top) + "," + std::to_string(s.moreOrLess);
    t += s.autoAdd ? ",1" : ",0";
    t += s.autoCopy ? ",1" : ",0";
    t += s.autoHide ? ",1" : ",0";
    t += "," + std::to_string(static_cast<int>(s.clipsSize));
    return t;
}

namespace {

// A command's program path, quoted when it holds a blank: unquoted, the
// system would split it there and try "c:\program" first.
std::string CommandPath(std::string_view programPath) {
    if (programPath.find(' ') == std::string_view::npos) return std::string(programPath);
    return "\"" + std::string(programPath) + "\"";
}

}  // namespace

std::string UninstallString(std::string_view programPath) { return CommandPath(programPath) + " /uninstall"; }

std::string ScriptOpenCommand(std::string_view programPath) {
    return LowerCase(CommandPath(programPath) + " \"%1\"");
}

std::string AutoStartValue(std::string_view programPath) { return LowerCase(CommandPath(programPath)); }

bool IsUninstallArgument(std::string_view argument) { return EqualsNoCase(argument, "/uninstall"); }

std::string_view DelimiterItemCaption(char delimiter) {
    switch (delimiter) {
        case '\r':
            return "New &Line";
        case ',':
            return "&Comma";
        case '\t':
            return "&Tab";
        case ' ':
            return "&Space";
        case '\x1b':
            return "&None";
        default:
            return "";
    }
}

SettingsRead ParseSettings(std::string_view text) {
    SettingsRead r;
    if (text.empty()) return r;
    PadSettings& s = r.settings;
    s.delimiter = text[0];
    if (DelimiterItemCaption(s.delimiter).empty()) return Malformed("unknown clips delimiter");
    if (text.size() < 2 || text[1] != ',') return Malformed("no \",\" after the delimiter");
    const std::vector<std::string> fields = SplitFields(text.substr(2), ',');
    if (fields.size() < 6) return Malformed("too few values");
    const std::optional<int> left = StrictNumber(fields[0]);
    const std::optional<int> top = StrictNumber(fields[1]);
    const std::optional<int> pos = StrictNumber(fields[2]);
    if (!left || !top) return Malformed("the position is not a number");
    if (!pos || *pos < -1 || *pos >= kIconCount) return Malformed("the number of icons shown is not valid");
    s.left = *left;
    s.top = *top;
    s.moreOrLess = *pos;
    s.autoAdd = fields[3] == "1";
    s.autoCopy = fields[4] == "1";
    s.autoHide = fields[5] == "1";
    // The size is the whole rest of the text.
    std::string_view rest = text.substr(2);
    for (int i = 0; i < 6; ++i) rest.remove_prefix(rest.find(',') + 1);
    if (fields.size() < 7) rest = {};
    if (rest == "1")
        s.clipsSize = ClipsSize::K4;
    else if (rest == "2")
        s.clipsSize = ClipsSize::K20;
    else if (rest == "3")
        s.clipsSize = ClipsSize::K50;
    return r;
}

}  // namespace taskloom
