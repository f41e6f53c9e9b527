#include "pad/model/settings_file.h"

#include <cctype>
#include <cstdio>

#include "engine/text.h"

namespace taskloom {

namespace {

constexpr std::string_view kPadName = "Pad";
constexpr std::string_view kSettingsName = "Settings";

std::string Escape(std::string_view value) {
    std::string out;
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case 27:
                out += "\\e";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (c < 32 || c == 127) {
                    char hex[5];
                    std::snprintf(hex, sizeof hex, "\\x%02X", c);
                    out += hex;
                } else {
                    out += ch;
                }
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The value with its escapes undone; false on a bad escape.
bool Unescape(std::string_view value, std::string& out) {
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size()) return false;
        switch (value[i]) {
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'e':
                out += '\x1b';
                break;
            case '\\':
                out += '\\';
                break;
            case 'x': {
                const int high = i + 1 < value.size() ? HexDigit(value[i + 1]) : -1;
                const int low = i + 2 < value.size() ? HexDigit(value[i + 2]) : -1;
                if (high < 0 || low < 0) return false;
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return false;
        }
    }
    return true;
}

SettingsFileRead Malformed(std::size_t line, const std::string& why) {
    SettingsFileRead r;
    r.malformed = true;
    r.problem = "line " + std::to_string(line) + ": " + why;
    return r;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string FormatSettingsFile(const StoredSettings& values) {
    return std::string(kSettingsSection) + "\r\n" + std::string(kPadName) + "=" + Escape(values.pad) +
           "\r\n" + std::string(kSettingsName) + "=" + Escape(values.settings) + "\r\n";
}

SettingsFileRead ParseSettingsFile(std::string_view text) {
    SettingsFileRead r;
    bool havePad = false, haveSettings = false;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find('\0') != std::string_view::npos) return Malformed(number, "a NUL character");
        if (line.empty() || line.front() == ';' || line == kSettingsSection) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) return Malformed(number, "neither a setting nor the section");
        const std::string_view name = line.substr(0, eq);
        bool* seen = name == kPadName ? &havePad : name == kSettingsName ? &haveSettings : nullptr;
        if (!seen) return Malformed(number, "no setting is called \"" + std::string(name) + "\"");
        if (*seen) return Malformed(number, "\"" + std::string(name) + "\" is given twice");
        *seen = true;
        std::string& value = name == kPadName ? r.values.pad : r.values.settings;
        if (!Unescape(line.substr(eq + 1), value))
            return Malformed(number, "a \"\\\" that starts no known escape in \"" + std::string(name) + "\"");
    }
    return r;
}

std::string StoredPadName(std::string_view padFile, std::string_view programDir) {
    if (programDir.empty() || padFile.size() <= programDir.size() ||
        !EqualsNoCase(padFile.substr(0, programDir.size()), programDir) ||
        IsSeparator(padFile[programDir.size()]))
        return std::string(padFile);
    return std::string(padFile.substr(programDir.size()));
}

std::string ResolvedPadName(std::string_view stored, std::string_view programDir) {
    const bool absolute =
        (!stored.empty() && IsSeparator(stored.front())) || (stored.size() >= 2 && stored[1] == ':');
    if (stored.empty() || absolute) return std::string(stored);
    return std::string(programDir) + std::string(stored);
}

SettingsFromFile ReadStartSettings(std::string_view text, std::string_view programDir) {
    SettingsFromFile out;
    const SettingsFileRead read = ParseSettingsFile(text);
    if (read.malformed) {
        out.problem = read.problem;
        return out;
    }
    out.padFile = ResolvedPadName(read.values.pad, programDir);
    out.settings = read.values.settings;
    return out;
}

SettingsFromFile ReadImportedSettings(std::string_view text, std::string_view programDir) {
    SettingsFromFile out = ReadStartSettings(text, programDir);
    if (!out.problem.empty()) return out;
    std::string problem;
    if (out.settings.empty()) {
        problem = "it holds no \"Settings\" line";
    } else {
        if (ParseSettings(out.settings).malformed)
            problem = "its \"Settings\" value does not read as the pad's settings";
    }
    if (!problem.empty()) out = SettingsFromFile{{}, {}, problem};
    return out;
}

StoredSettings SettingsToKeep(std::string_view padFile, const PadSettings& settings,
                              std::string_view programDir) {
    return {StoredPadName(padFile, programDir), FormatSettings(settings)};
}

}  // namespace taskloom
