// The pad's "Settings" registry value: one string with no blanks, the clips
// delimiter character, then ",", then left edge, top edge, MoreOrLess
// position, the flags Auto Add Clips, Auto Copy, Auto Hide ("1"/"0") and the
// clips size digit (1: 4K, 2: 20K, 3: 50K), separated by ",". Example: a
// carriage return followed by ,428,47,5,1,1,0,1
#pragma once

#include <string>
#include <string_view>

namespace taskloom {

// The clips size choices and their pane limits.
enum class ClipsSize { K4 = 1, K20 = 2, K50 = 3 };
std::size_t ClipsSizeLimit(ClipsSize size);  // 4096, 20480, 51200

struct PadSettings {
    char delimiter = '\r';  // TAB, CR, ESC (none), blank or comma
    int left = 428;
    int top = 47;
    int moreOrLess = 0;  // -1 .. 41
    bool autoAdd = true;
    bool autoCopy = true;
    bool autoHide = false;
    ClipsSize clipsSize = ClipsSize::K4;
    bool operator==(const PadSettings&) const = default;
};

std::string FormatSettings(const PadSettings& s);

struct SettingsRead {
    PadSettings settings;
    // The value was there but did not read as a settings string: `settings`
    // holds the defaults and `problem` says what was wrong.
    bool malformed = false;
    std::string problem;
};

// Reads a "Settings" value. An empty value gives the defaults (a first start).
// A flag other than "1" reads as unchecked and a size other than 1, 2, 3
// keeps the default size, as the pad always read them; a delimiter that is
// none of the five, a missing ",", or a position or edge that is no number
// (or a MoreOrLess position outside -1..41) makes the whole value malformed.
SettingsRead ParseSettings(std::string_view text);

// Where the pad keeps its settings (under the machine's hive, or the current
// user's where the machine's cannot be written) and the texts it writes.
constexpr std::string_view kWindowsKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr std::string_view kPadKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessdeck";
constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view kPadCaption = "Tessdeck";  // also "DisplayName" and the Run value's name
constexpr std::string_view kScriptExtensionKey = ".tks";
constexpr std::string_view kScriptOpenCommandKey = ".tks\\shell\\open\\command";

// In the three commands below the program's path is quoted when it holds a
// blank, so that the system does not split it.
// "UninstallString": the program's path followed by " /uninstall".
std::string UninstallString(std::string_view programPath);
// The ".tks" open command: the program's path followed by " \"%1\"" (the
// script's path quoted: it may hold blanks), in lower case.
std::string ScriptOpenCommand(std::string_view programPath);
// The logon Run value "Tessdeck": the program's path in lower case.
std::string AutoStartValue(std::string_view programPath);
// "/uninstall" in any letter case.
bool IsUninstallArgument(std::string_view argument);

// The delimiter menu item matching a delimiter character: "New &Line",
// "&Comma", "&Tab", "&Space", "&None"; "" for a character that is none.
std::string_view DelimiterItemCaption(char delimiter);

}  // namespace taskloom
