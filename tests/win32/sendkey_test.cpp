// The keystroke sender over the real desktop, typing into another program:
// our own target program and the notepad that ships with Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

#include "engine/sendkey.h"
#include "win32/win32_desktop.h"
#include "tests/win32/helpers.h"

namespace taskloom {
namespace {

using wintest::ChildProcess;
using wintest::ReadUntilStable;

constexpr char kTitle[] = "Taskloom Target";

Wnd W(HWND h) { return static_cast<Wnd>(reinterpret_cast<intptr_t>(h)); }

std::string Keys(std::initializer_list<unsigned char> codes) {
    return std::string(codes.begin(), codes.end());
}

// Whatever a test did, no modifier may stay pressed afterwards; a leftover
// is released so that it cannot spoil the tests after it.
void ExpectModifiersUp(Desktop& desktop) {
    for (std::uint8_t vk : {kVkShift, kVkControl, kVkMenu}) {
        EXPECT_FALSE(desktop.isKeyDown(vk)) << "virtual key " << int(vk) << " left down";
    }
    SendKeyString(desktop, kReleaseString);
}

// One target program (with its menu bar) for the whole suite; each test
// starts on an empty, focused field.
class TargetTyping : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        target_ = std::make_unique<ChildProcess>(wintest::Quote(wintest::ExeDir() + "tl_target.exe") +
                                                 " --menu " + wintest::Quote(kTitle));
        main_ = wintest::WaitForWindow(kTitle, target_->id());
        edit_ = main_ ? wintest::FindChildByClass(main_, "Edit") : nullptr;
    }
    static void TearDownTestSuite() { target_.reset(); }

    void SetUp() override {
        ASSERT_NE(main_, nullptr) << "the target window did not show up";
        ASSERT_NE(edit_, nullptr);
        SendMessageTimeoutA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""), SMTO_ABORTIFHUNG, 5000,
                            nullptr);
        ActivateWindow(desktop_, W(main_));
        ASSERT_TRUE(wintest::WaitUntil([&] { return GetForegroundWindow() == main_; }, 5000));
    }
    void TearDown() override { ExpectModifiersUp(desktop_); }

    std::string Type(const std::string& keys, const std::string& expected) {
        SendKeyString(desktop_, keys);
        return ReadUntilStable(edit_, expected);
    }

    Win32Desktop desktop_;
    static std::unique_ptr<ChildProcess> target_;
    static HWND main_;
    static HWND edit_;
};

std::unique_ptr<ChildProcess> TargetTyping::target_;
HWND TargetTyping::main_ = nullptr;
HWND TargetTyping::edit_ = nullptr;

TEST_F(TargetTyping, EveryPrintableCharacterArrivesExactly) {
    std::string all;
    for (int c = 32; c <= 126; ++c) all += static_cast<char>(c);
    const ULONGLONG start = GetTickCount64();
    SendKeyString(desktop_, all);
    const ULONGLONG sent = GetTickCount64();
    // Twice over: once typed fast, and once more to see a longer text whole.
    EXPECT_EQ(ReadUntilStable(edit_, all), all);
    const ULONGLONG arrived = GetTickCount64();
    std::printf("[ timing ] %zu characters sent in %llu ms, all in the field after %llu ms\n", all.size(),
                sent - start, arrived - start);
    EXPECT_EQ(Type(all, all + all), all + all);
}

TEST_F(TargetTyping, EditingAndNavigationKeysActAsKeys) {
    // abc, Home, X, End, Y, Left, Backspace, Delete: "Xab".
    EXPECT_EQ(
        Type("abc" + Keys({kKeyHome}) + "X" + Keys({kKeyEnd}) + "Y" + Keys({kKeyLeft, 8, kKeyDel}), "Xab"),
        "Xab");
    // Enter and Tab are text in this field; Up, Down and Right move between lines.
    EXPECT_EQ(Type("\rd\te" + Keys({kKeyUp, kKeyEnd}) + "!" + Keys({kKeyDown, kKeyHome, kKeyRight}) + "-",
                   "Xab!\r\nd-\te"),
              "Xab!\r\nd-\te");
    // Ctrl with a navigation key: Ctrl+Home goes to the very start.
    EXPECT_EQ(Type(Keys({kCtrlDown, kKeyHome, kCtrlUp}) + "^", "^Xab!\r\nd-\te"), "^Xab!\r\nd-\te");
}

TEST_F(TargetTyping, ShiftHeldByTheKeyStringAddsNoShiftOfItsOwn) {
    // Shift pressed around "abc" gives capitals; "dE" shifts only the E;
    // a held Shift turns 1 into "!" and an upper-case letter stays one.
    const std::string keys = Keys({kShiftDown}) + "abc" + Keys({kShiftUp}) + "dE" + Keys({kShiftDown}) +
                             "1A" + Keys({kShiftUp}) + "(x)";
    EXPECT_EQ(Type(keys, "ABCdE!A(x)"), "ABCdE!A(x)");
}

TEST_F(TargetTyping, CtrlCombinationsSelectCopyAndPaste) {
    EXPECT_EQ(Type("hello", "hello"), "hello");
    // Ctrl+A selects everything, so what is typed next replaces it.
    EXPECT_EQ(Type(Keys({kCtrlDown, 'a', kCtrlUp}) + "bye", "bye"), "bye");
    // Ctrl+A, Ctrl+C puts the field's text on the clipboard for us to read;
    // what we put there comes back with Ctrl+V. The copy is done once the
    // key typed after it has arrived; reading the clipboard before that
    // could keep it from the target, whose copy would then be lost.
    desktop_.setClipboardText("stale");
    EXPECT_EQ(Type(Keys({kCtrlDown, 'a', 'c', kCtrlUp, kKeyEnd}) + "!", "bye!"), "bye!");
    EXPECT_EQ(desktop_.clipboardText(), "bye");
    desktop_.setClipboardText("pasted");
    EXPECT_EQ(Type(Keys({kCtrlDown, 'v', kCtrlUp}), "bye!pasted"), "bye!pasted");
}

TEST_F(TargetTyping, AltOpensTheMenuByItsMnemonic) {
    // Alt+F opens File, S picks Stamp: the stamp lands at the caret. Without
    // Alt the f and s would have been typed.
    EXPECT_EQ(Type("ab" + Keys({kAltDown, 'f', kAltUp}) + "s" + "c", "ab<stamp>c"), "ab<stamp>c");
}

TEST_F(TargetTyping, FindWindowByTitleIsExactAndCaseSensitive) {
    EXPECT_EQ(FindWindowByTitle(desktop_, kTitle), W(main_));
    EXPECT_EQ(FindWindowByTitle(desktop_, "taskloom target"), 0);
    EXPECT_EQ(FindWindowByTitle(desktop_, "TASKLOOM TARGET"), 0);
    EXPECT_EQ(FindWindowByTitle(desktop_, "Taskloom"), 0);
    EXPECT_EQ(FindWindowByTitle(desktop_, "Taskloom Target "), 0);
    EXPECT_EQ(ForegroundWindow(desktop_), W(main_));
}

TEST_F(TargetTyping, ActivateWindowRestoresAMinimizedWindowAndFocusesIt) {
    ShowWindow(main_, SW_MINIMIZE);
    ASSERT_TRUE(wintest::WaitUntil([&] { return IsIconic(main_) != FALSE; }, 5000));
    ActivateWindow(desktop_, W(main_));
    EXPECT_TRUE(wintest::WaitUntil([&] { return !IsIconic(main_); }, 5000));
    // Focus went back to the field: what is typed arrives there.
    EXPECT_EQ(Type("back", "back"), "back");
}

TEST(NotepadTyping, TextTypedIntoNotepadArrives) {
    Win32Desktop desktop;
    ChildProcess notepad("notepad.exe");
    HWND main = wintest::WaitForWindow("Untitled - Notepad", notepad.id());
    ASSERT_NE(main, nullptr);
    HWND edit = wintest::FindChildByClass(main, "Edit");
    ASSERT_NE(edit, nullptr);
    ActivateWindow(desktop, W(main));
    ASSERT_TRUE(wintest::WaitUntil([&] { return GetForegroundWindow() == main; }, 5000));

    const std::string text = "Dear Sir (or Madam),\rTotal: $12.50 + 7% = ~13.38; see <a@b.c> [#1] {x|y}!";
    const std::string expected =
        "Dear Sir (or Madam),\r\nTotal: $12.50 + 7% = ~13.38; see <a@b.c> [#1] {x|y}!";
    const ULONGLONG start = GetTickCount64();
    SendKeyString(desktop, text);
    EXPECT_EQ(ReadUntilStable(edit, expected), expected);
    std::printf("[ timing ] notepad took in %zu keys in %llu ms\n", text.size(), GetTickCount64() - start);
    ExpectModifiersUp(desktop);
}

}  // namespace
}  // namespace taskloom
