// The script checker: finds the lines that the interpreter accepts without a
// word but that would end or abandon the run (errors), and the lines that are
// legal but probably not what was meant (warnings): a misspelt label or key
// name, a command keyword that matches no command, a key token typed as text,
// a remark block that swallows the lines after it, and the like.
//
// The checker reads each line exactly as the interpreter does (escaped
// braces, literal lines, tokens, the order in which commands are told apart),
// so "does nothing" in a message means the interpreter would do nothing. It
// changes nothing and runs nothing; the only thing it looks at outside the
// lines is whether the files named by a note's "@file" lines exist.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace taskloom {

enum class Severity { Warning, Error };

struct Finding {
    std::size_t line = 0;  // counted from 1
    Severity severity = Severity::Warning;
    std::string message;  // names what was found and, where it can, what was meant
};

// Checks a script's lines. `scriptFolder` is the script file's folder with its
// separator ("" for none): a note's "@file" named by a relative path counts as
// found when it exists there or in the current folder. Findings come ordered
// by line.
std::vector<Finding> CheckScript(const std::vector<std::string>& lines, const std::string& scriptFolder);

// "error" or "warning".
const char* SeverityName(Severity severity);

// "FILE:LINE: error: MESSAGE" (or "warning").
std::string FormatFinding(const std::string& file, const Finding& finding);

}  // namespace taskloom
