// Flow control before window switches, on the real desktop: keys that a
// program has not taken in yet stay queued for it, and a switch to another
// window right after them must not carry them along or lose them. Two of our
// receiver programs of different speeds take the keys; one of them sleeps
// before every character it takes in.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/sendkey.h"
#include "win32/win32_desktop.h"
#include "tests/sim/memory_host.h"
#include "tests/win32/helpers.h"

namespace taskloom {
namespace {

using wintest::ChildProcess;
using wintest::ReadUntilStable;
using wintest::WaitUntil;

constexpr char kSlowTitle[] = "Taskloom Slow Receiver";
constexpr char kQuickTitle[] = "Taskloom Quick Receiver";
constexpr char kHungTitle[] = "Taskloom Hung Receiver";

Wnd W(HWND h) { return static_cast<Wnd>(reinterpret_cast<intptr_t>(h)); }

// A receiver program of ours, ended with the test.
struct Receiver {
    Receiver(const std::string& title, const std::string& options) {
        process = std::make_unique<ChildProcess>(wintest::Quote(wintest::ExeDir() + "tl_receiver.exe") + " " +
                                                 options + " " + wintest::Quote(title));
        main = wintest::WaitForWindow(title, process->id());
        edit = main ? wintest::FindChildByClass(main, "Edit") : nullptr;
        // The window is visible before the program has brought it forward;
        // a test that activated another window in between would lose the
        // foreground to it, and its keys with it. Started is when the
        // program waits for input, with its window in front.
        wintest::WaitForStartup(*process, main);
    }
    std::unique_ptr<ChildProcess> process;
    HWND main = nullptr;
    HWND edit = nullptr;
};

// Script lines that type `chars` printable characters (32 to 126, braces
// and all), `perLine` to a line, the lines after the first led by "{Enter}";
// and the text they leave in an edit field. Literal text is kept free of
// what the line reader would take for something else: a leading brace,
// three braces in a row, "{:".
struct TypedLines {
    std::vector<std::string> lines;
    std::string text;
};

TypedLines MakeLines(std::mt19937& gen, std::size_t chars, std::size_t perLine) {
    std::uniform_int_distribution<int> printable(32, 126);
    TypedLines t;
    std::string line;
    for (std::size_t i = 0; i < chars; ++i) {
        if (i % perLine == 0 && i > 0) {
            t.lines.push_back(line);
            line = "{Enter}";
            t.text += "\r\n";
        }
        const bool first = i % perLine == 0;
        char c;
        for (;;) {
            c = static_cast<char>(printable(gen));
            const char prev = first ? '\0' : line.back();
            if (first && c == '{') continue;
            if ((c == '{' || c == '}') && prev == c) continue;
            if (c == ':' && prev == '{') continue;
            break;
        }
        line += c;
        t.text += c;
    }
    t.lines.push_back(line);
    return t;
}

// Where two long texts part, in a few words (gtest would print them whole).
std::string Difference(const std::string& expected, const std::string& actual) {
    if (expected == actual) return {};
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    return "expected " + std::to_string(expected.size()) + " characters, got " +
           std::to_string(actual.size()) + "; they part at " + std::to_string(at) + ": expected \"" +
           expected.substr(at, 20) + "\", got \"" + actual.substr(at, 20) + "\"";
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
    to.insert(to.end(), lines.begin(), lines.end());
}

class FlowControl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(slow_.main && slow_.edit) << "the slow receiver did not show up";
        ASSERT_TRUE(quick_.main && quick_.edit) << "the quick receiver did not show up";
    }
    void TearDown() override {
        for (std::uint8_t vk : {kVkShift, kVkControl, kVkMenu})
            EXPECT_FALSE(desktop_.isKeyDown(vk)) << "virtual key " << int(vk) << " left down";
        SendKeyString(desktop_, kReleaseString);
    }

    Win32Desktop desktop_;
    // Five milliseconds' sleep before each character, on top of what every
    // character costs under Wine.
    Receiver slow_{kSlowTitle, "--char-delay-ms=5 --at=20,20"};
    Receiver quick_{kQuickTitle, "--at=520,20"};
};

TEST_F(FlowControl, EveryKeyEndsInTheWindowItWasTypedFor) {
    std::mt19937 gen(2024);
    const TypedLines first = MakeLines(gen, 2000, 80);
    const TypedLines second = MakeLines(gen, 300, 60);
    const TypedLines third = MakeLines(gen, 100, 50);
    // The slow window gets 2,000 characters, the quick one is switched to
    // right after them, and then the slow one again after the quick one's.
    sim::MemoryHost host(Flavor::Pad);
    host.lines.push_back(std::string("{:TO ") + kSlowTitle + "}");
    Append(host.lines, first.lines);
    host.lines.push_back(std::string("{:TO ") + kQuickTitle + "}");
    Append(host.lines, second.lines);
    host.lines.push_back(std::string("{:TO ") + kSlowTitle + "}");
    host.lines.push_back("{Enter}");
    Append(host.lines, third.lines);

    Engine engine(desktop_, host);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
    const ULONGLONG ran = GetTickCount64() - start;
    EXPECT_TRUE(host.messages.empty()) << host.messages.front();

    const std::string slowExpected = first.text + "\r\n" + third.text;
    const std::string slowText = ReadUntilStable(slow_.edit, slowExpected, 3000, 120000);
    const std::string quickText = ReadUntilStable(quick_.edit, second.text, 3000, 30000);
    EXPECT_EQ(Difference(slowExpected, slowText), "") << "slow window";
    EXPECT_EQ(Difference(second.text, quickText), "") << "quick window";
    std::printf("[ timing ] the run took %llu ms for %zu + %zu + %zu characters\n", ran, first.text.size(),
                second.text.size(), third.text.size());
}

TEST_F(FlowControl, DrainedOnlyOnceTheReceiverHasTakenInEveryKey) {
    ActivateWindow(desktop_, W(slow_.main));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == slow_.main; }, 5000));
    std::mt19937 gen(7);
    const TypedLines t = MakeLines(gen, 400, 400);
    SendKeyString(desktop_, t.lines.front());
    const std::size_t sentLength = wintest::ControlText(slow_.edit).size();
    ASSERT_LT(sentLength, t.text.size()) << "the receiver kept pace: nothing was queued";

    // While it is not drained, the receiver's progress shows; once it is,
    // the whole text is in the field.
    std::uint64_t lastTaken = 0;
    int progressSeen = 0;
    Desktop::InputProgress p{false, 0};
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!(p = desktop_.inputProgress(W(slow_.main))).drained && GetTickCount64() < deadline) {
        if (p.taken != lastTaken) ++progressSeen;
        lastTaken = p.taken;
        desktop_.processMessages();
        Sleep(1);
    }
    desktop_.endInputWait();
    ASSERT_TRUE(p.drained) << "not drained within a minute";
    EXPECT_EQ(Difference(t.text, wintest::ControlText(slow_.edit)), "");
    EXPECT_GT(progressSeen, 10) << "the keys taken in on the way did not show";
    // Nothing was sent since: the next question is answered at once.
    EXPECT_TRUE(desktop_.inputProgress(W(slow_.main)).drained);
    EXPECT_TRUE(desktop_.inputProgress(0).drained);
    // Keys that went to another window leave nothing queued for this one,
    // and the window's own text as it was.
    ActivateWindow(desktop_, W(quick_.main));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == quick_.main; }, 5000));
    SendKeyString(desktop_, "x");
    EXPECT_TRUE(WaitUntil([&] { return desktop_.inputProgress(W(slow_.main)).drained; }, 30000));
    desktop_.endInputWait();
    EXPECT_EQ(ReadUntilStable(quick_.edit, std::string("x")), "x");
    EXPECT_EQ(Difference(t.text, wintest::ControlText(slow_.edit)), "");
}

TEST_F(FlowControl, AHungReceiverHoldsTheSwitchOnlyForTheStallBound) {
    Receiver hung(kHungTitle, "--hang-after=10 --at=20,360");
    ASSERT_TRUE(hung.main && hung.edit);
    sim::MemoryHost host(Flavor::Pad, {std::string("{:TO ") + kHungTitle + "}", "0123456789abcdefghij",
                                       std::string("{:TO ") + kQuickTitle + "}", "after the hang"});
    Engine engine(desktop_, host);
    engine.drainTimeoutMs = 1500;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(engine.RunScript(), RunEnd::Completed);
    const ULONGLONG ran = GetTickCount64() - start;
    EXPECT_EQ(ReadUntilStable(quick_.edit, std::string("after the hang")), "after the hang");
    // It held the switch for the stall bound, and went on while the receiver
    // still sleeps its minute: the hung window does not answer yet.
    EXPECT_GE(ran, 1500u);
    DWORD_PTR answer = 0;
    EXPECT_EQ(SendMessageTimeoutA(hung.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &answer), 0);
    std::printf("[ timing ] the run with a hung receiver took %llu ms (stall bound 1500 ms)\n", ran);
}

TEST(FlowControlMarker, NotepadIsWaitedForWithoutATrace) {
    // The wait marks the receiver's window for repainting and asks its
    // thread for answers: with a program we did not write, it must still
    // end, and change nothing a person would see.
    Win32Desktop desktop;
    ChildProcess notepad("notepad.exe");
    const HWND main = wintest::WaitForWindow("Untitled - Notepad", notepad.id());
    ASSERT_TRUE(main);
    wintest::WaitForStartup(notepad, main);
    const HWND edit = wintest::FindChildByClass(main, "Edit");
    ASSERT_TRUE(edit);
    ActivateWindow(desktop, W(main));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 5000));
    SendKeyString(desktop, "Marker (check): 1 + 1 = 2");
    const ULONGLONG deadline = GetTickCount64() + 30000;
    bool drained = false;
    while (!(drained = desktop.inputProgress(W(main)).drained) && GetTickCount64() < deadline) {
        desktop.processMessages();
        Sleep(1);
    }
    desktop.endInputWait();
    EXPECT_TRUE(drained);
    EXPECT_EQ(wintest::ControlText(edit), "Marker (check): 1 + 1 = 2");
    EXPECT_EQ(ReadUntilStable(edit, std::string("Marker (check): 1 + 1 = 2")), "Marker (check): 1 + 1 = 2");
    EXPECT_EQ(GetForegroundWindow(), main);
    char title[100] = {};
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, "Untitled - Notepad");
}

}  // namespace
}  // namespace taskloom
