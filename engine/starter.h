// The two programs' program starters: how a ":Run" text (or a pad icon's
// program text) becomes the file, parameters and working folder handed to
// the shell.
#pragma once

#include <functional>
#include <string>

namespace taskloom {

struct ShellStart {
    std::string file;
    std::string params;
    std::string dir;
    bool operator==(const ShellStart&) const = default;
};

using FileExistsFn = std::function<bool(const std::string&)>;

// Splits a program text into program part and parameters. A program part in
// double quotes may contain blanks; a text that as a whole names an existing
// file is that file with no parameters; otherwise the first blank splits.
void SplitProgramText(const std::string& text, const FileExistsFn& exists, std::string& program,
                      std::string& params);

// The composer's starter: the program's name without its folder, the
// arguments, and the program's folder as the working folder.
ShellStart ComposerStart(const std::string& text, const FileExistsFn& exists);

// The pad's ExecProgram: programs and documents start in their own folder;
// a folder or an extension-less program is passed with its full path; a
// web address is passed whole (less a final "/"); "mailto:" whole.
ShellStart ExecProgram(const std::string& text, const FileExistsFn& exists);

}  // namespace taskloom
