#include "engine/starter.h"

#include "engine/text.h"

namespace taskloom {

void SplitProgramText(const std::string& text, const FileExistsFn& exists, std::string& program,
                      std::string& params) {
    if (!text.empty() && text[0] == '"') {
        size_t close = text.find('"', 1);
        if (close != std::string::npos) {
            program = text.substr(1, close - 1);
            params = TrimBlanks(std::string_view(text).substr(close + 1));
            return;
        }
    }
    if (exists && Contains(text, " ") && exists(text)) {
        program = text;
        params.clear();
        return;
    }
    size_t blank = text.find(' ');
    program = text.substr(0, blank);
    params = blank == std::string::npos ? std::string() : text.substr(blank + 1);
}

namespace {

size_t LastSeparator(const std::string& s) { return s.find_last_of("\\:"); }

}  // namespace

ShellStart ComposerStart(const std::string& text, const FileExistsFn& exists) {
    std::string program, params;
    SplitProgramText(text, exists, program, params);
    size_t sep = program.find_last_of("\\/:");
    ShellStart s;
    s.file = sep == std::string::npos ? program : program.substr(sep + 1);
    s.dir = sep == std::string::npos ? std::string() : program.substr(0, sep + 1);
    s.params = params;
    return s;
}

ShellStart ExecProgram(const std::string& text, const FileExistsFn& exists) {
    std::string program, params;
    SplitProgramText(text, exists, program, params);
    ShellStart s;
    s.params = params;
    const bool hasBlank = Contains(text, " ");
    if (!hasBlank && StartsWith(text, "mailto:")) {
        s.file = text;
        return s;
    }
    const size_t web = program.find("//");
    if (web != std::string::npos && web > 0) {
        // A web address goes to the shell whole, less a final "/".
        s.file = program;
        if (!s.file.empty() && s.file.back() == '/') s.file.pop_back();
        return s;
    }
    const size_t sep = LastSeparator(program);
    s.file = sep == std::string::npos ? program : program.substr(sep + 1);
    s.dir = sep == std::string::npos ? std::string() : program.substr(0, sep + 1);
    if (!Contains(s.file, ".")) {
        s.file = s.dir + s.file;
        s.dir.clear();
    }
    if (!s.file.empty() && s.file.back() == '/') s.file.pop_back();
    return s;
}

}  // namespace taskloom
