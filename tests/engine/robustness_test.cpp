// However a run ends, it leaves no modifier key down; a stop request ends
// endless loops and cuts pauses short; jumps follow edits of the list made
// while the script runs.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "engine/engine.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using taskloom::sim::MemoryHost;
using taskloom::sim::SimDesktop;
using Lines = std::vector<std::string>;

namespace {

// A simulated desktop that fails on demand: the n-th key event, the n-th
// round of message processing or the n-th clipboard read throws (after the
// event has taken effect, as a handler that fails would).
struct FaultyDesktop : SimDesktop {
    long failAtKey = 0, failAtPump = 0, failAtClipboard = 0;
    long keys = 0, pumps = 0, clipboardReads = 0;
    bool throwNonStandard = false;  // throw an int instead of a std::exception

    FaultyDesktop() {
        onKey = [this](const KeyEvent&) {
            if (++keys == failAtKey) fail("key event");
        };
        onProcessMessages = [this] {
            if (++pumps == failAtPump) fail("message processing");
        };
    }
    std::string clipboardText() override {
        if (++clipboardReads == failAtClipboard) fail("clipboard read");
        return SimDesktop::clipboardText();
    }
    void fail(const std::string& where) {
        if (throwNonStandard) throw 42;
        throw std::runtime_error("injected failure in " + where);
    }
};

::testing::AssertionResult ModifiersUp(SimDesktop& d) {
    if (!d.isKeyDown(kVkShift) && !d.isKeyDown(kVkControl) && !d.isKeyDown(kVkMenu))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "down:" << (d.isKeyDown(kVkShift) ? " Shift" : "") << (d.isKeyDown(kVkControl) ? " Ctrl" : "")
           << (d.isKeyDown(kVkMenu) ? " Alt" : "");
}

// A script that holds modifiers in every way a line can: key tokens, a menu
// (Alt held to the end of the line), captures that press Shift and Ctrl, and
// clipboard reads.
const Lines kModifierScript{
    "{Ctrl}{Shift}ab",
    "{:Menu \x1b&File\x1b&Open}",
    "{Alt}x{:LoopClipboardEQ L abc}",
    "{.L}",
    "{Ctrl}{:ClipsAddText}",
    "{Shift}{:ClipsAddDOS 2 2 3}",
    "{Alt}{Ctrl}{Shift}{:LoopClipboardContains M x}",
    "{.M}",
};

struct Counts {
    long keys, pumps, clipboardReads;
};

Counts CountFaultFree() {
    FaultyDesktop d;
    d.setForegroundDirect(d.addWindow("Editor"));
    MemoryHost host(Flavor::Pad, kModifierScript);
    Engine engine(d, host);
    EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
    EXPECT_TRUE(ModifiersUp(d));
    return {d.keys, d.pumps, d.clipboardReads};
}

}  // namespace

TEST(StuckKeys, AnExceptionFromAnywhereInALineLeavesNoModifierDown) {
    const Counts total = CountFaultFree();
    ASSERT_GT(total.keys, 40);
    ASSERT_GT(total.clipboardReads, 2);
    // Every key event, every round of messages and every clipboard read of
    // the script in turn is made to fail, with a standard exception and with
    // one that is not.
    enum Where { Key, Pump, Clipboard };
    for (Where where : {Key, Pump, Clipboard}) {
        const long n = where == Key ? total.keys : where == Pump ? total.pumps : total.clipboardReads;
        for (long at = 1; at <= n; ++at) {
            for (bool nonStandard : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "failure " << where << " at " << at << (nonStandard ? " (int)" : ""));
                FaultyDesktop d;
                d.setForegroundDirect(d.addWindow("Editor"));
                (where == Key ? d.failAtKey : where == Pump ? d.failAtPump : d.failAtClipboard) = at;
                d.throwNonStandard = nonStandard;
                MemoryHost host(Flavor::Pad, kModifierScript);
                Engine engine(d, host);
                if (nonStandard) {
                    EXPECT_THROW(engine.RunScript(), int);
                } else {
                    try {
                        engine.RunScript();
                        ADD_FAILURE() << "the failure did not end the run";
                    } catch (const RunError& e) {
                        EXPECT_NE(std::string(e.what()).find("injected failure"), std::string::npos)
                            << e.what();
                    }
                }
                EXPECT_TRUE(ModifiersUp(d));
                EXPECT_FALSE(engine.running());
            }
        }
    }
}

TEST(StuckKeys, EveryWayARunEndsLeavesNoModifierDown) {
    struct Case {
        const char* how;
        Lines lines;
        std::optional<RunEnd> end;  // empty: abandoned with a RunError
        bool stopAfterRounds = false;
    };
    const std::vector<Case> cases{
        {"end of the list", {"{Ctrl}{Shift}{Alt}a", "{Alt}{Shift}"}, RunEnd::Completed},
        {"stop request", {"{.L}", "{Ctrl}{Shift}{Alt}x", "{:Goto L}"}, RunEnd::Stopped, true},
        {"undefined label", {"{Ctrl}{Shift}{Alt}{:Goto Nowhere}"}, RunEnd::Message},
        {"inactive window", {"{Ctrl}{Alt}{:TO No Such Window}"}, RunEnd::Message},
        {"no clips file for the loop", {"{Shift}{:LoopEOF L}", "{.L}"}, RunEnd::EndOfClips},
        {"note with a bad x", {"{Ctrl}{Shift}{:PopUp x 10 Title}", "text"}, std::nullopt},
        {"clips load of a missing file",
         {"{Shift}{Alt}{:ClipsLoad /nonexistent-dir/none.txt}"},
         std::nullopt},
        {"note file missing", {"{Ctrl}{:PopUp 1 2 T}", "@/nonexistent-dir/note.txt"}, std::nullopt},
    };
    for (Flavor flavor : {Flavor::Pad, Flavor::Composer}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.how);
            SimDesktop d;
            d.setForegroundDirect(d.addWindow("Editor"));
            MemoryHost host(flavor, c.lines);
            Engine engine(d, host);
            if (c.stopAfterRounds)
                d.onProcessMessages = [&] {
                    if (d.processMessageCount() == 500) engine.requestStop();
                };
            std::optional<RunEnd> end;
            try {
                end = engine.RunScript();
            } catch (const RunError& e) {
                EXPECT_GT(std::string(e.what()).size(), std::string("line 1 ()").size());
            }
            EXPECT_EQ(end, c.end);
            EXPECT_TRUE(ModifiersUp(d));
        }
    }
}

TEST(StopRequest, EndsAnEndlessLoopBeforeItsNextLine) {
    SimDesktop d;
    const Wnd editor = d.addWindow("Editor");
    d.setForegroundDirect(editor);
    MemoryHost host(Flavor::Pad, {"{.L}", "x", "{:Goto L}"});
    Engine engine(d, host);
    std::size_t linesAtRequest = 0, typedAtRequest = 0;
    d.onProcessMessages = [&] {
        if (d.processMessageCount() == 10'000) {
            engine.requestStop();
            linesAtRequest = host.selected.size();
            typedAtRequest = d.text(editor).size();
        }
        if (d.processMessageCount() > 1'000'000) throw std::runtime_error("the loop outlasted the request");
    };
    EXPECT_EQ(engine.RunScript(), RunEnd::Stopped);
    ASSERT_GT(linesAtRequest, 0u);
    EXPECT_EQ(host.selected.size(), linesAtRequest) << "a line started after the request";
    EXPECT_LE(d.text(editor).size(), typedAtRequest + 1);
    EXPECT_TRUE(ModifiersUp(d));

    // From another thread, as an interrupt handler asks. The loop counts its
    // rounds so that a request that never arrives fails instead of hanging.
    MemoryHost again(Flavor::Pad, {"{.L}", "{Shift}x", "{:Goto L}"});
    Engine other(d, again);
    std::atomic<bool> started{false}, gaveUp{false};
    unsigned long rounds = 0;
    d.onProcessMessages = [&] {
        started = true;
        if (++rounds > 50'000'000 && !gaveUp.exchange(true)) other.requestStop();
    };
    std::thread stopper([&] {
        while (!started) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        other.requestStop();
    });
    EXPECT_EQ(other.RunScript(), RunEnd::Stopped);
    stopper.join();
    EXPECT_FALSE(gaveUp);
    EXPECT_TRUE(ModifiersUp(d));
}

namespace {

// A desktop whose window search asks for the stop at its n-th lookup, as a
// click handled while the line lets messages run, or an interrupt on another
// thread, would in the middle of the lookup.
struct StoppingSearchDesktop : SimDesktop {
    Engine* engine = nullptr;
    int lookups = 0, stopAt = 5;
    Wnd findWindow(const std::string& title) override {
        if (++lookups == stopAt) engine->requestStop();
        if (lookups > 10'000) throw std::runtime_error("the run outlasted the request");
        return SimDesktop::findWindow(title);
    }
};

}  // namespace

TEST(StopRequest, HoldsWhileALineLooksWindowsUp) {
    const Lines scripts[] = {
        {"{.L}", "{:LoopWindowInactive L Editor}", "after"},
        {"{.L}", "{:LoopWindowActive L Nowhere}", "after"},
        {"{.L}", "{:TO Editor}", "{Home}", "{:Goto L}"},
        {"{.L}", "{:To Edit}", "{:Goto L}"},
    };
    for (const Lines& lines : scripts) {
        SCOPED_TRACE(lines[1]);
        StoppingSearchDesktop d;
        const Wnd editor = d.addWindow("Editor");
        d.setForegroundDirect(editor);
        MemoryHost host(Flavor::Composer, lines);
        Engine engine(d, host);
        d.engine = &engine;
        EXPECT_EQ(engine.RunScript(), RunEnd::Stopped);
        EXPECT_EQ(d.lookups, d.stopAt) << "windows were looked up after the request";
        EXPECT_EQ(engine.targetWnd(), -2);
        EXPECT_EQ(d.text(editor).find("after"), std::string::npos);
        EXPECT_TRUE(ModifiersUp(d));
        // The request ends that run only: the next run starts afresh.
        d.stopAt = 0;
        host.lines = {"{:TO Editor}", "y"};
        EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
        EXPECT_EQ(engine.targetWnd(), editor);
    }
    // The programs make the request by setting the target window to -2.
    StoppingSearchDesktop d;
    d.setForegroundDirect(d.addWindow("Editor"));
    MemoryHost host(Flavor::Pad, {"{.L}", "{:LoopWindowInactive L Editor}"});
    Engine engine(d, host);
    d.stopAt = 0;
    d.onProcessMessages = [&] {
        if (d.processMessageCount() == 20) engine.setTargetWnd(-2);
    };
    EXPECT_EQ(engine.RunScript(), RunEnd::Stopped);
    EXPECT_LT(d.lookups, 20);
}

TEST(StopRequest, CutsALongPauseShortOnTheSimulatedClock) {
    for (const char* pause : {"{:PauseSeconds 60}", "{:Pause1/10 600}", "{:PauseSeconds $FFFFFFFFFFFF}"}) {
        SCOPED_TRACE(pause);
        SimDesktop d;
        const Wnd editor = d.addWindow("Editor");
        d.setForegroundDirect(editor);
        MemoryHost host(Flavor::Composer, {"{Ctrl}a", pause, "after"});
        Engine engine(d, host);
        const std::uint64_t start = d.now();
        std::uint64_t requestedAt = 0;
        d.onSleep = [&](unsigned) {
            if (!requestedAt && d.now() >= start + 5'000) {
                requestedAt = d.now();
                engine.requestStop();
            }
            if (d.now() > start + 120'000) throw std::runtime_error("the pause outlasted the request");
        };
        EXPECT_EQ(engine.RunScript(), RunEnd::Stopped);
        ASSERT_NE(requestedAt, 0u);
        EXPECT_LE(d.now() - requestedAt, 100u);
        EXPECT_EQ(d.text(editor), "Editor") << "nothing typed after the pause";
        EXPECT_TRUE(ModifiersUp(d));
    }
}

namespace {

// A host that never reports its list unchanged: every jump searches.
struct SearchingHost : MemoryHost {
    using MemoryHost::MemoryHost;
    std::uint64_t listGeneration() override { return Host::listGeneration(); }
};

// Jumps to A and D first (the second lookup under one list lets the engine
// index the labels), then, while "a" runs, the test edits the list; the
// "{:Goto B}" after it must see the edit.
const Lines kEditedWhileRunning{
    "{:Goto A}", "p",         "q",    "{:Goto End}", "{.B}",      "b",      "{:Goto End}",
    "{.A}",      "{:Goto D}", "{.D}", "a",           "{:Goto B}", "{.End}",
};

template <class HostType>
std::pair<std::string, std::vector<std::string>> RunWithEdit(const std::function<void(Lines&)>& edit) {
    SimDesktop d;
    const Wnd editor = d.addWindow("");
    d.setForegroundDirect(editor);
    HostType host(Flavor::Composer, kEditedWhileRunning);
    Engine engine(d, host);
    bool edited = false;
    d.onProcessMessages = [&] {
        if (!edited && d.text(editor) == "a") {
            edit(host.lines);
            edited = true;
        }
        if (d.processMessageCount() == 10'000) engine.requestStop();  // a wrong jump may loop
    };
    EXPECT_NE(engine.RunScript(), RunEnd::Stopped);
    EXPECT_TRUE(edited);
    return {d.text(editor), host.messages};
}

}  // namespace

TEST(LabelLookup, JumpsFollowEditsOfTheListDuringARun) {
    using Outcome = std::pair<std::string, std::vector<std::string>>;
    struct Case {
        const char* what;
        std::function<void(Lines&)> edit;
        Outcome expected;
    };
    const std::vector<Case> cases{
        {"no edit", [](Lines&) {}, {"ab", {}}},
        // An earlier line becomes the label (other case): the first one wins.
        {"earlier duplicate", [](Lines& l) { l[1] = "{.b}"; }, {"aq", {}}},
        {"label renamed",
         [](Lines& l) { l[4] = "{.Gone}"; },
         {"a", {"Undefined Label: \r{.B}\rQuitting Script..."}}},
        {"label moved up",
         [](Lines& l) {
             l[4] = "x";
             l[2] = "{.B}";
         },
         {"a", {}}},
        // Two lines inserted above the running one: the run goes on at the
        // line that now follows its position ("{.D}", then "a" again), and
        // the label is found where it now stands.
        {"lines inserted above",
         [](Lines& l) {
             l.insert(l.begin() + 3, {"x", "y"});
         },
         {"aab", {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RunWithEdit<MemoryHost>(c.edit), c.expected);
        // A host that reports no list generations gets the same answers.
        EXPECT_EQ(RunWithEdit<SearchingHost>(c.edit), c.expected);
    }
}
