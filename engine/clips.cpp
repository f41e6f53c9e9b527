#include "engine/clips.h"

#include "engine/errors.h"
#include "engine/filestore.h"

namespace taskloom {
namespace {

std::size_t TextSize(const std::vector<std::string>& raw) {
    std::size_t n = raw.empty() ? 0 : 2 * (raw.size() - 1);
    for (const std::string& l : raw) n += l.size();
    return n;
}

}  // namespace

std::vector<std::string> ClipsBuffer::lines() const {
    std::vector<std::string> out = raw_;
    if (!out.empty() && out.back().empty() && out.size() > 1) out.pop_back();
    return out;
}

std::size_t ClipsBuffer::lineCount() const { return lines().size(); }

std::string ClipsBuffer::text() const {
    std::string t;
    for (std::size_t i = 0; i < raw_.size(); ++i) {
        if (i) t += "\r\n";
        t += raw_[i];
    }
    return t;
}

std::size_t ClipsBuffer::size() const { return TextSize(raw_); }

void ClipsBuffer::clear() {
    raw_.clear();
    caret_ = 0;
}

void ClipsBuffer::commit(std::vector<std::string> raw) {
    if (TextSize(raw) > limit_)
        throw ClipsFullError("the clips buffer is full: the clip does not fit its limit of " +
                             std::to_string(limit_) + " characters");
    raw_ = std::move(raw);
}

void ClipsBuffer::setLines(std::vector<std::string> lines) {
    commit(std::move(lines));
    caret_ = 0;
}

void ClipsBuffer::addComposer(const std::string& item, int delimiter) {
    std::vector<std::string> raw = raw_;
    if (delimiter == kDelimiterLine) {
        raw.push_back(item);
    } else {
        std::string joined = item;
        if (lineCount() > 0 && delimiter != kDelimiterNone)
            joined.insert(joined.begin(), static_cast<char>(delimiter));
        if (caret_ >= raw.size()) {
            caret_ = raw.size();
            raw.push_back(joined);
        } else {
            raw[caret_] += joined;
        }
    }
    commit(std::move(raw));
}

void ClipsBuffer::addPad(const std::string& item, int delimiter) {
    std::vector<std::string> raw = raw_;
    if (raw.empty()) raw.emplace_back();
    std::vector<std::string> parts = SplitTextLines(item);
    // SplitTextLines drops a final line end; keep it as a new empty line.
    if (!item.empty() && (item.back() == '\n' || item.back() == '\r')) parts.emplace_back();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) raw.emplace_back();
        raw.back() += parts[i];
    }
    if (delimiter == '\t' || delimiter == ' ' || delimiter == ',')
        raw.back() += static_cast<char>(delimiter);
    else if (delimiter == kDelimiterLine)
        raw.emplace_back();
    commit(std::move(raw));
}

}  // namespace taskloom
