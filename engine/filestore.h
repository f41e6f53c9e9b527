// The file store: script and pad files are written and read through it.
// The 8-bit text is stored exactly as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taskloom {

// Reads the whole file. Throws FileError naming the file and the system's
// reason when it cannot be read.
std::string ReadTextFile(const std::string& name);

// Replaces the file's content. The text goes to a temporary file beside it
// first, which then takes the file's place, so a failed or interrupted save
// leaves the previous file whole. Throws FileError on failure.
void WriteTextFile(const std::string& name, std::string_view text);

bool FileExists(const std::string& name);

// A script file: its lines kept as one comma text.
std::vector<std::string> ReadScriptFile(const std::string& name);
void WriteScriptFile(const std::string& name, const std::vector<std::string>& lines);

// The lines of a text file (CR LF, LF or CR line ends); a last line without
// a line end counts, a final line end adds no empty line.
std::vector<std::string> ReadTextLines(const std::string& name);
std::vector<std::string> SplitTextLines(std::string_view text);

// The folder part of a path, with its trailing separator ("" when none).
std::string FolderOf(const std::string& path);

}  // namespace taskloom
