// The simulated desktop's edit model: a plain edit field's text, caret and
// selection, and what a key press does to them. Lines end in CR LF; Home,
// End, Up and Down work on the caret's line; Shift extends the selection;
// Ctrl+A selects all, Ctrl+C and Ctrl+Insert copy, Ctrl+V and Shift+Insert
// paste.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace taskloom::sim {

class EditField {
public:
    EditField() = default;
    explicit EditField(const std::string& text) { setText(text); }

    const std::string& text() const { return text_; }
    // The caret goes to the end, with nothing selected.
    void setText(const std::string& text);
    std::size_t caret() const { return caret_; }
    std::string selection() const;

    // One key press, Shift, Ctrl and Alt themselves aside. `typed` is the
    // character the key gives on the layout (0 for none); copy writes
    // `clipboard`, paste reads it.
    void press(std::uint8_t vk, char typed, bool shift, bool ctrl, std::string& clipboard);

private:
    std::size_t selFrom() const;
    std::size_t selTo() const;
    void replaceSelection(const std::string& s);
    std::size_t lineStart(std::size_t p) const;
    std::size_t lineEnd(std::size_t p) const;
    void moveTo(std::size_t p, bool shift);

    std::string text_;
    std::size_t caret_ = 0, anchor_ = 0;  // the selection runs from anchor to caret
};

}  // namespace taskloom::sim
