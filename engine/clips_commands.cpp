// The clips commands that copy, paste and delimit clips, and the clips
// file that ":ClipsSave" appends to and ":ClipsLoad" (and ":LoopEOF") read
// line by line.
#include <cerrno>
#include <cstring>

#include "engine/engine.h"
#include "engine/engine_run.h"
#include "engine/text.h"

namespace taskloom {

void Engine::closeClipsFile() {
    clipsFile_.reset();
    clipsName_.clear();
}

void Engine::clipsCopy(const LineReading& r) {
    const std::vector<std::string>& lines = clips_.lines();
    if (lines.empty()) return;
    const std::int32_t n = CommandCount(r);
    const std::string& line = (n < 1 || static_cast<size_t>(n) > lines.size()) ? lines.back() : lines[n - 1];
    d_.setClipboardText(line);
    outcome([&] { return "clipboard: \"" + line + "\""; });
}

void Engine::clipsPaste(const LineReading& r) {
    activateTarget();
    const std::vector<std::string>& lines = clips_.lines();
    if (lines.empty()) return;
    const std::int32_t n = CommandCount(r);
    // A count below 1 names no line: like ":ClipsCopy", the last line is typed.
    // A copy: messages run while it is typed, and a handler may add clips.
    const std::string line = (n < 1 || static_cast<size_t>(n) > lines.size()) ? lines.back() : lines[n - 1];
    send(line);
    d_.sleep(100);
}

void Engine::clipsDelimit(const LineReading& r) {
    const std::string& s = r.scriptLine;
    const std::string keyword = s.substr(0, s.find(' '));
    if (Contains(s, "Line"))
        delimiter_ = kDelimiterLine;
    else if (Contains(s, "None"))
        delimiter_ = kDelimiterNone;
    else if (keyword == ":ClipsDelimiterTab")
        delimiter_ = '\t';
    else if (!r.parameter.empty())
        delimiter_ = static_cast<unsigned char>(r.parameter[0]);
    else
        delimiter_ = ' ';
    outcome([&] {
        return delimiter_ == kDelimiterLine   ? std::string("clips delimiter: new line")
               : delimiter_ == kDelimiterNone ? std::string("clips delimiter: none")
               : delimiter_ == '\t'           ? std::string("clips delimiter: tab")
                                    : "clips delimiter: \"" + std::string(1, char(delimiter_)) + "\"";
    });
}

void Engine::clipsSave(const LineReading& r) {
    const std::string& name = r.parameter;
    // A file open for reading under this name is opened again for writing:
    // saving what was loaded must not abandon the run.
    if (name != clipsName_ || !clipsFile_ || !clipsFile_->writing) {
        closeClipsFile();
        auto f = std::make_unique<ClipsFile>();
        errno = 0;
        f->file = std::fopen(name.c_str(), "ab");
        if (!f->file) throw FileError(name, std::strerror(errno), "cannot open the clips file");
        f->writing = true;
        clipsFile_ = std::move(f);
        clipsName_ = name;
        outcome([&] { return "clips file \"" + name + "\" opened for writing"; });
    }
    const std::string line = JoinCommaText(clips_.lines()) + "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), clipsFile_->file) != line.size() ||
        std::fflush(clipsFile_->file) != 0)
        throw FileError(name, std::strerror(errno), "cannot write the clips file");
    outcome([&] { return "clips saved"; });
}

bool Engine::readClipsLine(std::string& line) {
    line.clear();
    if (!clipsFile_) return false;
    if (clipsFile_->writing)
        throw FileError(clipsName_, "it is open for writing (saved earlier)", "cannot read the clips file");
    int c;
    bool any = false;
    while ((c = std::fgetc(clipsFile_->file)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (c == '\r') {
            int next = std::fgetc(clipsFile_->file);
            if (next != '\n' && next != EOF) std::ungetc(next, clipsFile_->file);
            break;
        }
        line += static_cast<char>(c);
        if (line.size() > (64u << 20))
            throw FileError(clipsName_, "a line is longer than 64 MB", "cannot read the clips file");
    }
    if (std::ferror(clipsFile_->file))
        throw FileError(clipsName_, std::strerror(errno), "cannot read the clips file");
    return any;
}

void Engine::clipsLoad(const LineReading& r) {
    const std::string& name = r.parameter;
    // A file open for writing under this name (saved to earlier) is opened
    // again for reading from its first line.
    if (name != clipsName_ || !clipsFile_ || clipsFile_->writing) {
        closeClipsFile();
        errno = 0;
        std::FILE* f = std::fopen(name.c_str(), "rb");
        if (!f) throw FileError(name, std::strerror(errno), "cannot open the clips file");
        clipsFile_ = std::make_unique<ClipsFile>();
        clipsFile_->file = f;
        clipsName_ = name;
        outcome([&] { return "clips file \"" + name + "\" opened for reading"; });
    }
    clips_.clear();
    std::string line;
    readClipsLine(line);
    clips_.setLines(SplitCommaText(line));
    outcome([&] { return "clips loaded: " + std::to_string(clips_.lineCount()) + " lines"; });
}

}  // namespace taskloom
