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

// The delimiter menu item matching a delimiter character: "New &Line",
// "&Comma", "&Tab", "&Space", "&None"; "" for a character that is none.
std::string_view DelimiterItemCaption(char delimiter);

}  // namespace taskloom
