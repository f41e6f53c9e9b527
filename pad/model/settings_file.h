// The portable pad's settings file, tessdeck.ini beside the program: the
// same two strings the installed pad keeps in the registry ("Pad", the last
// pad file, and "Settings", the settings string) as lines of text, and the
// pad file's name kept relative to the program's folder when it lies inside
// it, so that the folder can move. The same file is what "Export Settings..."
// writes and "Import Settings..." reads.
//
//   [Tessdeck]
//   Pad=pads\work.tkp
//   Settings=\r,428,47,5,1,1,0,1
//
// A value is everything after the first "=" of its line, blanks included.
// Characters below 32, "\" and DEL are written as escapes: \r, \n, \t, \e
// (escape, the "None" delimiter), \\ and \xHH; the reader takes the same.
// Lines end in CR LF (a reader takes LF alone too); blank lines and lines
// beginning with ";" are remarks.
#pragma once

#include <string>
#include <string_view>

#include "pad/model/pad_settings.h"

namespace taskloom {

inline constexpr std::string_view kSettingsFileName = "tessdeck.ini";
inline constexpr std::string_view kSettingsSection = "[Tessdeck]";

struct StoredSettings {
    std::string pad;       // "Pad"
    std::string settings;  // "Settings"; empty: none kept (the defaults)
    bool operator==(const StoredSettings&) const = default;
};

struct SettingsFileRead {
    StoredSettings values;
    // The file did not read as a settings file: `values` holds nothing and
    // `problem` says what was wrong and on which line.
    bool malformed = false;
    std::string problem;
};

std::string FormatSettingsFile(const StoredSettings& values);
// An empty text (a new, empty file) reads as no values, not as malformed.
// A line that is not the section, a remark or "Name=value" with a known name,
// a value given twice, a bad escape, or a NUL makes the file malformed.
SettingsFileRead ParseSettingsFile(std::string_view text);

// The pad file's name as the settings file keeps it: relative to the
// program's folder (with its trailing separator) when it lies inside it,
// compared without regard to case as Windows names are, else as it is.
std::string StoredPadName(std::string_view padFile, std::string_view programDir);
// The name to open: a relative name taken in the program's folder.
std::string ResolvedPadName(std::string_view stored, std::string_view programDir);

// What the pad takes from a settings file: tessdeck.ini at start-up, or the
// file chosen for "Import Settings...".
struct SettingsFromFile {
    std::string padFile;   // resolved in the program's folder; "" none
    std::string settings;  // the "Settings" value; "" none (the defaults)
    std::string problem;   // not empty: the file is not used, nothing is taken
};
// Start-up: a malformed file gives nothing and says why; an empty file (as
// the portable package ships it) gives nothing and no problem. A "Settings"
// value that does not read is the settings reader's to report.
SettingsFromFile ReadStartSettings(std::string_view text, std::string_view programDir);
// An import is all or nothing: besides a malformed file, one that holds no
// "Settings" value, or one that does not read as the settings string, is
// refused.
SettingsFromFile ReadImportedSettings(std::string_view text, std::string_view programDir);

// What a settings file keeps for the pad file and the settings in use.
StoredSettings SettingsToKeep(std::string_view padFile, const PadSettings& settings,
                              std::string_view programDir);

}  // namespace taskloom
