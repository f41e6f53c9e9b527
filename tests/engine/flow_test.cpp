#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using taskloom::sim::MemoryHost;
using taskloom::sim::SimDesktop;

namespace {

// Two windows; the script types into the first and then switches to the
// second. The first takes in its keys as the test's receiver model says.
struct Switch {
    SimDesktop d;
    MemoryHost host{Flavor::Pad, {"{:TO Slow}", "typed into slow", "{:TO Quick}", "typed into quick"}};
    Engine engine{d, host};
    Wnd slow = d.addWindow("Slow");
    Wnd quick = d.addWindow("Quick");
    std::vector<Wnd> asked;
    std::uint64_t switchedAt = 0;
    Switch() {
        d.setForegroundDirect(slow);
        d.onKey = [this](const KeyEvent&) {
            if (!switchedAt && d.foregroundWindow() == quick) switchedAt = d.now();
        };
    }
};

}  // namespace

TEST(FlowControl, SwitchWaitsWhileTheReceiverTakesItsKeys) {
    Switch s;
    const std::uint64_t start = s.d.now();
    // The slow window takes one key every 2 ms and has 300 keys queued.
    s.d.onInputProgress = [&](Wnd w) {
        s.asked.push_back(w);
        const std::uint64_t taken = (s.d.now() - start) / 2;
        return Desktop::InputProgress{taken >= 300, taken};
    };
    EXPECT_EQ(s.engine.RunScript(), RunEnd::Completed);
    ASSERT_FALSE(s.asked.empty());
    for (Wnd w : s.asked) EXPECT_EQ(w, s.slow);  // the previous receiver is asked, not the next
    EXPECT_GE(s.d.now() - start, 600u);          // the switch waited for the backlog
    EXPECT_EQ(s.d.text(s.slow), "Slowtyped into slow");
    EXPECT_EQ(s.d.text(s.quick), "Quicktyped into quick");
    EXPECT_EQ(s.d.inputWaitsEnded, 1);
    // A slow receiver that keeps taking keys is waited for past the stall bound.
    Switch longer;
    longer.engine.drainTimeoutMs = 100;
    const std::uint64_t t0 = longer.d.now();
    longer.d.onInputProgress = [&](Wnd) {
        const std::uint64_t taken = (longer.d.now() - t0) / 20;
        return Desktop::InputProgress{taken >= 50, taken};
    };
    longer.engine.RunScript();
    EXPECT_GE(longer.d.now() - t0, 1000u);
}

TEST(FlowControl, AHungReceiverHoldsTheSwitchOnlyForTheBounds) {
    Switch hung;
    hung.engine.drainTimeoutMs = 250;
    hung.d.onInputProgress = [](Wnd) { return Desktop::InputProgress{false, 7}; };
    const std::uint64_t start = hung.d.now();
    EXPECT_EQ(hung.engine.RunScript(), RunEnd::Completed);
    EXPECT_GE(hung.d.now() - start, 250u);
    EXPECT_LT(hung.d.now() - start, 400u);
    EXPECT_EQ(hung.d.text(hung.quick), "Quicktyped into quick");  // the run went on
    EXPECT_EQ(hung.d.inputWaitsEnded, 1);

    // The whole wait is bounded too, however steadily the receiver moves.
    Switch endless;
    endless.engine.drainLimitMs = 700;
    std::uint64_t n = 0;
    endless.d.onInputProgress = [&](Wnd) { return Desktop::InputProgress{false, ++n}; };
    const std::uint64_t t0 = endless.d.now();
    endless.engine.RunScript();
    EXPECT_GE(endless.d.now() - t0, 700u);
    EXPECT_LT(endless.d.now() - t0, 900u);

    // A stop request during the wait ends the run: nothing goes to the next window.
    Switch stopped;
    stopped.d.onInputProgress = [&](Wnd) {
        if (stopped.d.now() > 1100) stopped.engine.requestStop();
        return Desktop::InputProgress{false, 1};
    };
    EXPECT_EQ(stopped.engine.RunScript(), RunEnd::Stopped);
    EXPECT_EQ(stopped.d.text(stopped.quick), "Quick");
    EXPECT_NE(stopped.d.foregroundWindow(), stopped.quick);
    EXPECT_EQ(stopped.d.inputWaitsEnded, 1);
}

TEST(FlowControl, TheNoteAndAStartedProgramWaitForTheReceiverToo) {
    // Both take the foreground from the window the keys went to; keys it
    // had not taken in yet would be lost. The receiver takes its keys 400 ms
    // after the wait begins.
    for (const std::string command : {"{:PopUp 10 10 Note}", "{:Run other.exe}"}) {
        SCOPED_TRACE(command);
        SimDesktop d;
        MemoryHost host{Flavor::Pad, {"{:TO Slow}", "typed into slow", command, "a note line"}};
        Engine engine{d, host};
        const Wnd slow = d.addWindow("Slow");
        d.setForegroundDirect(slow);
        std::uint64_t start = 0, noteAt = 0;
        std::vector<Wnd> asked;
        d.onInputProgress = [&](Wnd w) {
            asked.push_back(w);
            EXPECT_TRUE(d.shellCalls().empty()) << "started while the receiver still took keys";
            if (!start) start = d.now();
            return Desktop::InputProgress{d.now() - start >= 400, d.now() - start};
        };
        host.noteAnswer = [&] {
            noteAt = d.now();
            return NoteAnswer::Continue;
        };
        EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
        ASSERT_FALSE(asked.empty());
        for (Wnd w : asked) EXPECT_EQ(w, slow);
        EXPECT_EQ(d.inputWaitsEnded, 1);
        if (command[2] == 'P') {
            ASSERT_EQ(host.notes.size(), 1u);
            EXPECT_GE(noteAt - start, 400u);
        } else {
            EXPECT_EQ(d.shellCalls().size(), 1u);
        }
    }
}

TEST(FlowControl, KeysAfterASwitchWaitUntilTheWindowHasTakenTheForeground) {
    // The composer's Test from its own window: the switched-to window takes
    // the foreground a few message rounds after it was asked to. Until then
    // keys go to the composer, as the first word of a line once did.
    SimDesktop d;
    MemoryHost host{Flavor::Composer, {"{:TO Untitled - Notepad}", "typed by the composer", "{Enter}"}};
    Engine engine{d, host};
    const Wnd composer = d.addWindow("Taskloom - New");
    const Wnd notepad = d.addWindow("");
    d.setText(notepad, "Untitled - Notepad");
    d.setForegroundDirect(composer);
    d.foregroundLag = 5;
    engine.setTargetWnd(-1);
    EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
    EXPECT_EQ(d.text(composer), "Taskloom - New");
    EXPECT_EQ(d.foregroundWindow(), notepad);
    EXPECT_EQ(d.text(notepad), "Untitled - Notepadtyped by the composer\r\n");

    // A window that never takes the foreground holds the keys for the bound
    // only; they then go where the focus is, and the run goes on.
    d.setForegroundDirect(composer);
    d.setText(composer, "");
    d.setText(notepad, "Untitled - Notepad");
    d.foregroundLag = 1 << 30;
    const std::uint64_t start = d.now();
    EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
    EXPECT_GE(d.now() - start, engine.foregroundTimeoutMs);
    EXPECT_LT(d.now() - start, engine.foregroundTimeoutMs + 1000);
    EXPECT_EQ(d.text(composer), "typed by the composer\r\n");
}
