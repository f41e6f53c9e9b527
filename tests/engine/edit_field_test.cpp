// The simulated desktop's edit field: every engine test that reads back what
// was typed or captured relies on it behaving as a plain edit control.
#include <gtest/gtest.h>

#include "engine/desktop.h"
#include "tests/sim/edit_field.h"

using taskloom::sim::EditField;
using namespace taskloom;

namespace {

struct Field {
    EditField f;
    std::string clipboard;
    void type(const std::string& s) {
        for (char c : s) f.press(c == '\n' ? kVkReturn : 0xFF, c == '\n' ? 0 : c, false, false, clipboard);
    }
    void key(std::uint8_t vk, bool shift = false, bool ctrl = false) {
        f.press(vk, 0, shift, ctrl, clipboard);
    }
};

}  // namespace

TEST(EditField, TypingLinesAndMovingTheCaret) {
    Field e;
    e.type("one\ntwo\nthree");
    EXPECT_EQ(e.f.text(), "one\r\ntwo\r\nthree");
    e.key(kVkHome);
    EXPECT_EQ(e.f.caret(), 10u);  // the start of its own line
    e.key(kVkUp);
    e.key(kVkEnd);
    EXPECT_EQ(e.f.caret(), 8u);
    e.key(kVkRight);  // over the line break at once
    EXPECT_EQ(e.f.caret(), 10u);
    e.key(kVkLeft);
    e.key(kVkBack);
    EXPECT_EQ(e.f.text(), "one\r\ntw\r\nthree");
    e.key(kVkDelete);  // the line break goes whole
    EXPECT_EQ(e.f.text(), "one\r\ntwthree");
    e.key(kVkHome);
    e.key(kVkBack);
    EXPECT_EQ(e.f.text(), "onetwthree");
    EXPECT_EQ(e.f.caret(), 3u);
    e.f.setText("ab\r\ncdef");
    e.key(kVkUp);  // the same column a line up, or that line's end
    EXPECT_EQ(e.f.caret(), 2u);
    e.key(kVkDown);
    e.key(kVkDown);  // no line below: stays
    EXPECT_EQ(e.f.caret(), 6u);
    e.f.setText("x");
    e.key(kVkTab);
    EXPECT_EQ(e.f.text(), "x\t");
}

TEST(EditField, SelectionCopyAndPaste) {
    Field e;
    e.f.setText("alpha\r\nbeta");
    e.key(kVkHome);
    e.key(kVkEnd, true);
    EXPECT_EQ(e.f.selection(), "beta");
    e.key(kVkInsert, false, true);  // Ctrl+Insert copies
    EXPECT_EQ(e.clipboard, "beta");
    e.key(kVkUp);
    e.key(kVkHome);
    e.key(kVkInsert, true);  // Shift+Insert pastes
    EXPECT_EQ(e.f.text(), "betaalpha\r\nbeta");
    e.key('A', false, true);
    e.type("z");  // typing replaces the selection
    EXPECT_EQ(e.f.text(), "z");
    e.key(kVkLeft, true);
    e.key('C', false, true);
    EXPECT_EQ(e.clipboard, "z");
    e.key(kVkRight);
    e.key('V', false, true);
    EXPECT_EQ(e.f.text(), "zz");
    e.key(kVkHome);
    e.key(kVkInsert, false, true);  // nothing selected: the clipboard stays
    EXPECT_EQ(e.clipboard, "z");
}
