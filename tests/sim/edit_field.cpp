#include "tests/sim/edit_field.h"

#include <algorithm>

#include "engine/desktop.h"

namespace taskloom::sim {

void EditField::setText(const std::string& text) {
    text_ = text;
    caret_ = anchor_ = text.size();
}

std::size_t EditField::selFrom() const { return std::min(caret_, anchor_); }
std::size_t EditField::selTo() const { return std::max(caret_, anchor_); }
std::string EditField::selection() const { return text_.substr(selFrom(), selTo() - selFrom()); }

void EditField::replaceSelection(const std::string& s) {
    const std::size_t from = selFrom();
    text_.replace(from, selTo() - from, s);
    caret_ = anchor_ = from + s.size();
}

std::size_t EditField::lineStart(std::size_t p) const {
    const std::size_t s = text_.rfind('\n', p == 0 ? 0 : p - 1);
    return (s == std::string::npos || p == 0) ? 0 : s + 1;
}

std::size_t EditField::lineEnd(std::size_t p) const {
    const std::size_t s = text_.find('\r', p);
    return s == std::string::npos ? text_.size() : s;
}

void EditField::moveTo(std::size_t p, bool shift) {
    caret_ = p;
    if (!shift) anchor_ = p;
}

void EditField::press(std::uint8_t vk, char typed, bool shift, bool ctrl, std::string& clipboard) {
    const std::string& t = text_;
    caret_ = std::min(caret_, t.size());
    anchor_ = std::min(anchor_, t.size());
    if (ctrl) {
        if (vk == 'A') {
            anchor_ = 0;
            caret_ = t.size();
        } else if (vk == kVkInsert || vk == 'C') {
            if (selTo() > selFrom()) clipboard = selection();
        } else if (vk == 'V') {
            replaceSelection(clipboard);
        }
        return;
    }
    switch (vk) {
        case kVkHome:
            moveTo(lineStart(caret_), shift);
            return;
        case kVkEnd:
            moveTo(lineEnd(caret_), shift);
            return;
        case kVkLeft:
            moveTo(caret_ == 0 ? 0 : caret_ - (caret_ >= 2 && t.compare(caret_ - 2, 2, "\r\n") == 0 ? 2 : 1),
                   shift);
            return;
        case kVkRight:
            moveTo(caret_ >= t.size() ? t.size() : caret_ + (t.compare(caret_, 2, "\r\n") == 0 ? 2 : 1),
                   shift);
            return;
        case kVkUp:
        case kVkDown: {
            const std::size_t start = lineStart(caret_), column = caret_ - start;
            if (vk == kVkUp) {
                if (start == 0) return;
                const std::size_t prev = lineStart(start - 2);
                moveTo(std::min(prev + column, lineEnd(prev)), shift);
            } else {
                const std::size_t end = lineEnd(caret_);
                if (end >= t.size()) return;
                const std::size_t next = end + 2;
                moveTo(std::min(next + column, lineEnd(next)), shift);
            }
            return;
        }
        case kVkInsert:
            if (shift) replaceSelection(clipboard);
            return;
        case kVkReturn:
            replaceSelection("\r\n");
            return;
        case kVkTab:
            replaceSelection("\t");
            return;
        case kVkBack:
            if (selTo() == selFrom() && caret_ > 0)
                anchor_ = caret_ - (caret_ >= 2 && t.compare(caret_ - 2, 2, "\r\n") == 0 ? 2 : 1);
            replaceSelection("");
            return;
        case kVkDelete:
            if (selTo() == selFrom() && caret_ < t.size())
                anchor_ = caret_ + (t.compare(caret_, 2, "\r\n") == 0 ? 2 : 1);
            replaceSelection("");
            return;
        default:
            if (typed) replaceSelection(std::string(1, typed));
    }
}

}  // namespace taskloom::sim
