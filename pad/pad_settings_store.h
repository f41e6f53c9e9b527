// The portable pad's settings file on disk: tessdeck.ini beside the program.
// When it is there the pad keeps "Pad" and "Settings" in it and writes
// nothing into the registry; its text is the settings file format of
// pad/model/settings_file.h, which "Export Settings..." and "Import
// Settings..." use as well.
#pragma once

#include <string>
#include <string_view>

namespace tessdeck {

// The settings file in the program's folder (given with its trailing
// separator).
std::string PortableSettingsPath(const std::string& programDir);

// Whether the settings file stands in the program's folder: the pad is then
// portable. A folder of that name does not count.
bool IsPortable(const std::string& programDir);

// Replaces the file's content so that a crash or a full disk never leaves a
// half-written file: the text goes to a new file beside it, flushed to the
// disk, which then takes the old one's place in one step. When any of that
// fails the old file is left whole, the new one removed, and
// taskloom::FileError names the file and the system's reason.
void WriteFileSafely(const std::string& name, std::string_view text);

}  // namespace tessdeck
