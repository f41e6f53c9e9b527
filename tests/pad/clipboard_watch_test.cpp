// The pad's decisions on clipboard change notices: which copies are read and
// collected, with the suppress mark and the clipboard's sequence number;
// how long the pad waits for a clipboard that another program holds.
#include <gtest/gtest.h>

#include "engine/retry.h"
#include "pad/model/clips_pane.h"

namespace {

using taskloom::ClipboardWatch;

constexpr taskloom::Wnd kPad = 100, kEditor = 200;

// A notice followed by the read that it asks for: whether the text is
// collected.
bool Copied(ClipboardWatch& w, std::uint32_t sequence, taskloom::Wnd foreground, bool isPrivate = false) {
    return w.notice(sequence, foreground, true) && w.read(sequence, true, isPrivate);
}

TEST(ClipboardWatch, CollectsOtherProgramsCopiesButNotThePadsOwnNorThoseMadeInFrontOfIt) {
    ClipboardWatch w(kPad);
    w.joined(10);
    EXPECT_FALSE(w.notice(10, kEditor, true));  // the notice of joining: nothing new
    EXPECT_TRUE(Copied(w, 11, kEditor));
    EXPECT_EQ(w.mark(), kEditor);
    EXPECT_TRUE(Copied(w, 12, kEditor));

    // The pad's own copy, whoever is in front: not read, and only that one.
    w.ownCopy();
    EXPECT_FALSE(w.notice(13, kEditor, true));
    EXPECT_EQ(w.mark(), 0);
    EXPECT_TRUE(Copied(w, 14, kEditor));

    // A copy made while the pad is in front, then one made elsewhere.
    EXPECT_FALSE(w.notice(15, kPad, true));
    EXPECT_TRUE(Copied(w, 16, kEditor));
}

TEST(ClipboardWatch, RepeatedNoticesPrivateCopiesNoTextAndAutoAddOff) {
    ClipboardWatch w(kPad);
    w.joined(1);
    EXPECT_TRUE(Copied(w, 2, kEditor));
    EXPECT_FALSE(w.notice(2, kEditor, true));  // a second notice of the same copy
    // Reading rendered a format (the number moved on while the pad held the
    // clipboard); the notice that follows is the pad's own doing.
    ASSERT_TRUE(w.notice(3, kEditor, true));
    EXPECT_TRUE(w.read(4, true, false));
    EXPECT_FALSE(w.notice(4, kEditor, true));
    // A system that cannot number changes: every notice counts.
    EXPECT_TRUE(Copied(w, 0, kEditor));
    EXPECT_TRUE(Copied(w, 0, kEditor));

    EXPECT_FALSE(Copied(w, 5, kEditor, true));  // private: read, not collected
    EXPECT_EQ(w.mark(), kEditor);
    ASSERT_TRUE(w.notice(6, kEditor, true));
    EXPECT_FALSE(w.read(6, false, false));  // no text: the mark is cleared
    EXPECT_EQ(w.mark(), 0);
    EXPECT_FALSE(w.notice(7, kEditor, false));  // Auto Add Clips off: not read
    EXPECT_EQ(w.mark(), 0);

    // "&Add Clip" took the copy: its notice adds it no second time.
    w.taken(8);
    EXPECT_FALSE(w.notice(8, kEditor, true));
    EXPECT_TRUE(Copied(w, 9, kEditor));
}

}  // namespace

TEST(ClipboardWait, IsBoundedByTimeWhateverEachPauseLasts) {
    using taskloom::RetryFor;
    // A clock on which every 1 ms pause takes a whole 16 ms timer tick, as on
    // a stock Windows system, and a clipboard that another program keeps.
    std::uint64_t clock = 0;
    int tries = 0;
    const auto now = [&] { return clock; };
    const auto tick = [&] { clock += 16; };
    EXPECT_FALSE(RetryFor(
        500, [&] { return ++tries, false; }, now, tick));
    EXPECT_GE(clock, 500u);
    EXPECT_LE(clock, 516u);  // not 500 tries of 16 ms
    EXPECT_GE(tries, 30);

    // Released after 100 ms: taken then, with no wait beyond.
    clock = 0;
    EXPECT_TRUE(RetryFor(
        500, [&] { return clock >= 100; }, now, tick));
    EXPECT_LT(clock, 120u);
    // Free at once: no pause at all.
    clock = 0;
    EXPECT_TRUE(RetryFor(
        500, [] { return true; }, now, tick));
    EXPECT_EQ(clock, 0u);
}
