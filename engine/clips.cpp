#include "engine/clips.h"

#include "engine/errors.h"
#include "engine/filestore.h"

namespace taskloom {
namespace {

std::size_t TextSize(const std::vector<std::string>& lines, bool trailingBreak) {
    std::size_t n = lines.empty() ? 0 : 2 * (lines.size() - 1);
    for (const std::string& l : lines) n += l.size();
    return n + (trailingBreak ? 2 : 0);
}

}  // namespace

std::size_t ClipsBuffer::lineCount() const { return lines_.size(); }

std::string ClipsBuffer::text() const {
    std::string t;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) t += "\r\n";
        t += lines_[i];
    }
    if (trailingBreak_) t += "\r\n";
    return t;
}

std::size_t ClipsBuffer::size() const { return TextSize(lines_, trailingBreak_); }

void ClipsBuffer::clear() {
    lines_.clear();
    trailingBreak_ = false;
    caret_ = 0;
}

void ClipsBuffer::commit(std::vector<std::string> lines, bool trailingBreak) {
    if (TextSize(lines, trailingBreak) > limit_)
        throw ClipsFullError("the clips buffer is full: the clip does not fit its limit of " +
                             std::to_string(limit_) + " characters");
    lines_ = std::move(lines);
    trailingBreak_ = trailingBreak;
}

void ClipsBuffer::setLines(std::vector<std::string> lines) {
    commit(std::move(lines), false);
    caret_ = 0;
}

void ClipsBuffer::addComposer(const std::string& item, int delimiter) {
    std::vector<std::string> lines = lines_;
    if (delimiter == kDelimiterLine) {
        lines.push_back(item);
    } else {
        std::string joined = item;
        if (!lines.empty() && delimiter != kDelimiterNone)
            joined.insert(joined.begin(), static_cast<char>(delimiter));
        if (caret_ >= lines.size()) {
            caret_ = lines.size();
            lines.push_back(joined);
        } else {
            lines[caret_] += joined;
        }
    }
    commit(std::move(lines), false);
}

void ClipsBuffer::addPad(const std::string& item, int delimiter) {
    std::vector<std::string> lines = lines_;
    bool open = lines.empty() || trailingBreak_;  // the next text starts a line
    std::vector<std::string> parts = SplitTextLines(item);
    bool endsWithBreak = !item.empty() && (item.back() == '\n' || item.back() == '\r');
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (open || i) lines.emplace_back();
        open = false;
        lines.back() += parts[i];
    }
    if (endsWithBreak) open = true;
    if (delimiter == '\t' || delimiter == ' ' || delimiter == ',') {
        if (open) lines.emplace_back();
        open = false;
        lines.back() += static_cast<char>(delimiter);
    } else if (delimiter == kDelimiterLine) {
        if (open) lines.emplace_back();  // an empty item still takes its line
        open = true;
    }
    commit(std::move(lines), open && !lines.empty());
}

}  // namespace taskloom
