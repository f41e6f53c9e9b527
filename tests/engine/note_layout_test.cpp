#include <gtest/gtest.h>

#include "engine/note_layout.h"

using namespace taskloom;

TEST(NoteLayout, PadMemoFollowsTheFormAndNeverGoesNegative) {
    const MemoSize big = PadMemoSize(400, 300);
    EXPECT_EQ(big.width, 392);
    EXPECT_EQ(big.height, 261);
    const MemoSize first = PadMemoSize(245, 177);  // the form as it is created
    EXPECT_EQ(first.width, 237);
    EXPECT_EQ(first.height, 138);
    const MemoSize tiny = PadMemoSize(5, 30);
    EXPECT_EQ(tiny.width, 0);
    EXPECT_EQ(tiny.height, 0);
}
