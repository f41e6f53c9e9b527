// Pad text: the content of a ".tkp" pad file, written by the composer and
// read by both the composer and the pad. One entry line per icon, in pad
// order: the image index in decimal, a TAB, the icon record (description,
// TAB, hot key text, TAB, program text), a carriage return.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/errors.h"

namespace taskloom {

constexpr int kIconCount = 42;    // the icon set: image indexes 0 to 41
constexpr int kMaxPadIcons = 20;  // icons the composer's preview takes

// A pad text that cannot be written (a field holding a TAB or a carriage
// return, an image index outside the icon set).
class PadTextError : public TaskloomError {
public:
    using TaskloomError::TaskloomError;
};

struct PadEntry {
    int image = 0;       // 0 .. kIconCount - 1
    std::string record;  // description TAB hot key text TAB program text
    bool operator==(const PadEntry&) const = default;
};

// The three fields of an icon record.
struct IconFields {
    std::string description;
    std::string hotKey;
    std::string program;
    bool operator==(const IconFields&) const = default;
};

// description TAB hot key TAB program. Throws PadTextError naming the field
// when one holds a TAB or a carriage return.
std::string MakeIconRecord(const IconFields& fields);

// The composer's split of a record back into its fields when an icon is
// deleted into them: the description up to the first TAB, the hot key up to
// the next TAB, and the whole rest as the program text (never cut). A record
// with fewer TABs gives empty fields for what is missing.
IconFields RecordFields(std::string_view record);

// Cuts a text at `delimiter`: empty items in the middle stay, a delimiter at
// the very end adds no empty item ("a\t\tb" gives a, "", b).
std::vector<std::string> SplitFields(std::string_view text, char delimiter);

// One entry line per entry, each ended by a carriage return. Throws
// PadTextError for an image index outside 0..41, a record holding a carriage
// return or more than two TABs (a field with a TAB in it).
std::string FormatPadText(const std::vector<PadEntry>& entries);

// Who reads: the composer takes only lines ended by a carriage return (a last
// line without one, found only in files edited by hand, is left out); the pad
// takes that last line too.
enum class PadReader { Composer, Pad };

struct PadLoad {
    std::vector<PadEntry> entries;   // the icons placed, in file order
    std::string error;               // a line whose index is no number ends the load
    std::vector<std::string> notes;  // lines that placed no icon, and why
};

// Reads a pad text. Empty lines are skipped; a line feed right after a
// carriage return belongs to the line end (files saved by a text editor).
// An index outside the icon set, or of an icon already placed, adds no icon
// and the load goes on (a note says so); an index that is no number ends the
// load with `error`, and the icons placed so far stay. A line without any TAB
// is an icon with an empty record (no program, no hot key).
PadLoad ParsePadText(std::string_view text, PadReader reader);

// The pad file name proposed for a script or pad name: four characters taken
// out at the first ".tk", then ".tkp" appended unless the name is empty
// ("New" gives New.tkp, mail.tks gives mail.tkp).
std::string ProposedPadName(std::string_view name);

// "&Test Pad..." starts the pad only for a name with ".tkp" after its second
// character.
bool IsTestablePadName(std::string_view name);

// A program text that is a script: ".tks" after its first character.
bool IsScriptPath(std::string_view text);

// What launching a program text does: nothing for a text that is empty or
// only blanks (the shell, handed no file, would open a folder of its own
// choosing), a run of the script for a script path, else the shell's start.
enum class Launch { Nothing, Script, Shell };
Launch LaunchOf(std::string_view programText);

// The file-name part of a path: the text after the last backslash or colon
// (the description proposed for an icon without one).
std::string FileNamePart(std::string_view path);

}  // namespace taskloom
