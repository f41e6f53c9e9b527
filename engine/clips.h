// The clips buffer: lines of captured text, with the two programs' rules for
// adding an item and where the delimiter goes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace taskloom {

constexpr int kDelimiterLine = 13;
constexpr int kDelimiterNone = 27;
constexpr std::size_t kComposerClipsLimit = 20480;
constexpr std::size_t kPadClipsLimit = 4096;

class ClipsBuffer {
public:
    explicit ClipsBuffer(std::size_t limit) : limit_(limit) {}

    // The buffer's lines; a final line break (the pad's line delimiter after
    // the last item) starts no line until something is written on it.
    const std::vector<std::string>& lines() const { return lines_; }
    std::size_t lineCount() const;
    // The whole text, lines joined by CR LF.
    std::string text() const;
    std::size_t size() const;  // characters of text()

    void clear();
    void setLines(std::vector<std::string> lines);  // throws ClipsFullError
    std::size_t limit() const { return limit_; }
    void setLimit(std::size_t limit) { limit_ = limit; }
    std::size_t caretLine() const { return caret_; }
    void setCaretLine(std::size_t line) { caret_ = line; }

    // Composer: with the line delimiter the item becomes a new last line;
    // otherwise it joins the caret line, after the delimiter when the buffer
    // has a line already (none for ESC, the "none" delimiter).
    void addComposer(const std::string& item, int delimiter);
    // Pad: the item (all its lines) goes at the end of the text, and the
    // delimiter follows it: tab, space or comma appended, the line delimiter
    // starts a new line, anything else adds nothing.
    void addPad(const std::string& item, int delimiter);

private:
    void commit(std::vector<std::string> raw, bool trailingBreak);
    std::vector<std::string> lines_;
    bool trailingBreak_ = false;  // the text ends with a line break
    std::size_t caret_ = 0;
    std::size_t limit_;
};

}  // namespace taskloom
