// The popup note: the console runner's note answered the ways a person can
// (buttons, close box, keyboard), and the form's variants held in this
// process while a second thread looks at them and answers.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/text.h"
#include "win32/note_form.h"
#include "tests/win32/helpers.h"

namespace taskloom {
namespace {

using wintest::ChildProcess;
using wintest::PressKey;
using wintest::WaitUntil;

struct WindowDestroyer {
    void operator()(HWND h) const { DestroyWindow(h); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// Runs the messages sent to this thread's windows while a test waits.
void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

COLORREF PixelAt(HWND w, int x, int y) {
    const HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

// Sets one system colour for as long as it lives.
class SysColor {
public:
    SysColor(int index, COLORREF colour) : index_(index), old_(GetSysColor(index)) {
        SetSysColors(1, &index_, &colour);
    }
    ~SysColor() { SetSysColors(1, &index_, &old_); }
    SysColor(const SysColor&) = delete;
    SysColor& operator=(const SysColor&) = delete;

private:
    int index_;
    COLORREF old_;
};

bool IsTopMost(HWND w) { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Whether `upper` lies above `lower` in the stacking order.
bool Above(HWND upper, HWND lower) {
    for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
    return false;
}

bool Exists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

enum class Answer { ContinueButton, CloseBox, AbortButton, TabThenEnter };

struct RunnerCase {
    const char* name;
    Answer how;
    const char* options;
    DWORD exitStatus;
    bool nextLineRan;
};

TEST(RunnerNote, WaitsTopmostAtItsPlaceAndEachAnswerDecidesTheRest) {
    const RunnerCase cases[] = {
        {"Continue", Answer::ContinueButton, "", 0, true},
        {"close box", Answer::CloseBox, "", 0, true},
        {"Abort", Answer::AbortButton, "", 5, false},
        {"Abort, composer's variants", Answer::AbortButton, "--composer ", 5, false},
        {"Tab to Abort, Enter", Answer::TabThenEnter, "", 5, false},
    };
    const wintest::TempFolder folder;
    const std::string runner = wintest::TaskloomExe();
    // A window of our own with the note's caption, topmost so that a search
    // by title would meet it first: it must not be the one that gets moved.
    OwnedWindow decoy(CreateWindowExA(WS_EX_TOPMOST, "STATIC", "Check this",
                                      WS_POPUP | WS_CAPTION | WS_VISIBLE, 600, 500, 200, 100, nullptr,
                                      nullptr, nullptr, nullptr));
    ASSERT_TRUE(decoy);

    for (const RunnerCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string script = folder / "note.tks", after = folder / "after.txt";
        std::ofstream(script, std::ios::binary) << JoinCommaText(
            {"{:PopUp 120 80 Check this}", "line one", "line two", "{:ClipsSave " + after + "}"});

        ChildProcess run(wintest::Quote(runner) + " run " + c.options + wintest::Quote(script));
        HWND note = nullptr;
        WaitUntil(
            [&] {
                Pump();
                note = wintest::WaitForWindow("Check this", run.id(), 0);
                return note != nullptr;
            },
            15000);
        ASSERT_TRUE(note);
        RECT r{};
        GetWindowRect(note, &r);
        EXPECT_EQ(r.left, 120);
        EXPECT_EQ(r.top, 80);
        EXPECT_EQ(r.right - r.left, 245);  // the pad's note, its size kept
        EXPECT_EQ(r.bottom - r.top, 177);
        EXPECT_TRUE(GetWindowLongA(note, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == note; }, 3000));
        EXPECT_EQ(wintest::ControlText(note), "Check this");
        EXPECT_EQ(wintest::ControlText(FindWindowExA(note, nullptr, "Edit", nullptr)),
                  "line one\r\nline two");
        Pump();
        GetWindowRect(decoy.get(), &r);
        EXPECT_EQ(r.left, 600);
        EXPECT_EQ(r.top, 500);
        EXPECT_TRUE(IsTopMost(decoy.get()));  // another program's: left alone

        switch (c.how) {
            case Answer::ContinueButton:
            case Answer::AbortButton:
                SendMessageA(FindWindowExA(note, nullptr, "Button",
                                           c.how == Answer::AbortButton ? "&Abort" : "&Continue"),
                             BM_CLICK, 0, 0);
                break;
            case Answer::CloseBox:
                PostMessageA(note, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
            case Answer::TabThenEnter:
                // Continue has the focus; Tab moves it on to Abort.
                PressKey(VK_TAB);
                Sleep(100);
                PressKey(VK_RETURN);
                break;
        }
        ASSERT_TRUE(run.waitForExit(15000));
        EXPECT_EQ(run.exitCode(), c.exitStatus);
        EXPECT_EQ(Exists(after), c.nextLineRan);
        DeleteFileA(after.c_str());
    }
}

// Holds `note` on this thread while `look` runs on another with the form's
// window; if the wait has not ended 5 s after `look`, Abort ends it so that
// a failing test ends too.
NoteAnswer ShowAndLook(NoteForm& note, const std::vector<std::string>& lines,
                       const std::function<void(HWND)>& look) {
    std::atomic<bool> returned{false};
    std::thread watcher([&] {
        // The window is made on the note's own thread when it first shows.
        HWND form = nullptr;
        if (WaitUntil([&] { return (form = note.window()) != nullptr && IsWindowVisible(form); }, 5000))
            look(form);
        if (!WaitUntil([&] { return returned.load(); }, 5000)) note.postAbort();
    });
    const NoteAnswer answer = note.show("Note test", lines, 40, 60);
    returned = true;
    watcher.join();
    return answer;
}

TEST(NoteFormVariants, ComposerNoteIsFixedTealAndYellowAndEnterIsContinue) {
    // Wine's default scheme paints info tips as white as windows: the usual
    // pale yellow makes the memo's background tell.
    const SysColor infoTip(COLOR_INFOBK, RGB(255, 255, 225));
    ASSERT_NE(GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_WINDOW));
    NoteForm note(Flavor::Composer);
    RECT client{}, outer{};
    LONG style = 0;
    bool memoInfoColour = false, formTeal = false;
    const NoteAnswer answer = ShowAndLook(note, {"one", "two"}, [&](HWND form) {
        GetClientRect(form, &client);
        GetWindowRect(form, &outer);
        style = GetWindowLongA(form, GWL_STYLE);
        const HWND memo = FindWindowExA(form, nullptr, "Edit", nullptr);
        memoInfoColour = WaitUntil([&] { return PixelAt(memo, 150, 100) == RGB(255, 255, 225); }, 3000);
        // Between the two buttons: the form itself.
        formTeal = WaitUntil([&] { return PixelAt(form, 115, 140) == RGB(0, 128, 128); }, 3000);
        PressKey(VK_RETURN);  // Continue is the default button
    });
    EXPECT_EQ(answer, NoteAnswer::Continue);
    EXPECT_EQ(client.right, 237);
    EXPECT_EQ(client.bottom, 147);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 60);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(memoInfoColour);
    EXPECT_TRUE(formTeal);
    EXPECT_FALSE(IsWindowVisible(note.window()));
    EXPECT_EQ(note.lines(), (std::vector<std::string>{"one", "two"}));  // kept while hidden
}

TEST(NoteFormVariants, TheWindowIsMadeAtFirstNeedWithWhatWasSetBefore) {
    NoteForm note(Flavor::Pad);
    note.setCaption("Kept caption");
    note.setLines({"first", "second"});
    note.postAbort();  // nothing waits: nothing to press, nothing made
    EXPECT_FALSE(note.made());
    EXPECT_EQ(FindWindowA("TMemoPop", "Kept caption"), nullptr);
    EXPECT_EQ(note.lines(), (std::vector<std::string>{"first", "second"}));
    // Another thread sees no window until the form's own thread makes it.
    HWND seen = reinterpret_cast<HWND>(1);
    std::thread([&] { seen = note.window(); }).join();
    EXPECT_EQ(seen, nullptr);

    const HWND form = note.window();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(note.made());
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_EQ(FindWindowA("TMemoPop", "Kept caption"), form);
    EXPECT_EQ(wintest::ControlText(FindWindowExA(form, nullptr, "Edit", nullptr)), "first\r\nsecond");
    EXPECT_EQ(note.lines(), (std::vector<std::string>{"first", "second"}));
    std::thread([&] { seen = note.window(); }).join();
    EXPECT_EQ(seen, form);
    // Shown, it answers as it always did.
    EXPECT_EQ(ShowAndLook(note, {"third"},
                          [](HWND f) {
                              SendMessageA(FindWindowExA(f, nullptr, "Button", "&Abort"), BM_CLICK, 0, 0);
                          }),
              NoteAnswer::Abort);
    EXPECT_EQ(note.window(), form);
}

TEST(NoteFormVariants, PadMemoFollowsTheFormAndWrapsToItsWidth) {
    NoteForm note(Flavor::Pad);
    std::string longLine;
    for (int i = 0; i < 40; ++i) longLine += "word" + std::to_string(i) + " ";
    RECT memoAt400{};
    LRESULT linesWide = 0, linesNarrow = 0;
    const NoteAnswer answer = ShowAndLook(note, {longLine}, [&](HWND form) {
        const HWND memo = FindWindowExA(form, nullptr, "Edit", nullptr);
        SetWindowPos(form, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
        GetWindowRect(memo, &memoAt400);
        linesWide = SendMessageA(memo, EM_GETLINECOUNT, 0, 0);
        SetWindowPos(form, nullptr, 0, 0, 200, 300, SWP_NOMOVE | SWP_NOZORDER);
        linesNarrow = SendMessageA(memo, EM_GETLINECOUNT, 0, 0);
        SendMessageA(FindWindowExA(form, nullptr, "Button", "&Continue"), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(answer, NoteAnswer::Continue);
    EXPECT_EQ(memoAt400.right - memoAt400.left, 392);
    EXPECT_EQ(memoAt400.bottom - memoAt400.top, 261);
    EXPECT_GT(linesWide, 1);
    EXPECT_GT(linesNarrow, linesWide);
}

TEST(NoteFormVariants, ComesAboveTheProgramsOwnStayOnTopWindowsAndPutsThemBack) {
    const auto make = [](DWORD exStyle, DWORD visible, int x) {
        return OwnedWindow(CreateWindowExA(exStyle, "STATIC", "ours", WS_POPUP | WS_CAPTION | visible, x, 400,
                                           150, 100, nullptr, nullptr, nullptr, nullptr));
    };
    const OwnedWindow shown = make(WS_EX_TOPMOST, WS_VISIBLE, 500);
    const OwnedWindow second = make(WS_EX_TOPMOST, WS_VISIBLE, 700);
    const OwnedWindow hidden = make(WS_EX_TOPMOST, 0, 900);
    const OwnedWindow normal = make(0, WS_VISIBLE, 1100);
    ASSERT_TRUE(shown && second && hidden && normal);
    ASSERT_TRUE(Above(second.get(), shown.get()));
    Pump();

    for (const Flavor variant : {Flavor::Pad, Flavor::Composer}) {
        SCOPED_TRACE(variant == Flavor::Pad ? "pad" : "composer");
        NoteForm note(variant);
        bool noteTop = false, noteAbove = false, shownTop = true, secondTop = true, hiddenTop = false;
        const NoteAnswer answer = ShowAndLook(note, {"x"}, [&](HWND form) {
            noteTop = IsTopMost(form);
            noteAbove = Above(form, shown.get()) && Above(form, second.get());
            shownTop = IsTopMost(shown.get());
            secondTop = IsTopMost(second.get());
            hiddenTop = IsTopMost(hidden.get());  // not shown: not touched
            PostMessageA(form, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(answer, NoteAnswer::Continue);
        EXPECT_TRUE(noteTop);
        EXPECT_TRUE(noteAbove);
        EXPECT_FALSE(shownTop);
        EXPECT_FALSE(secondTop);
        EXPECT_TRUE(hiddenTop);
        // Stay-on-top again, in their old order; the normal one stays normal.
        EXPECT_TRUE(IsTopMost(shown.get()));
        EXPECT_TRUE(IsTopMost(second.get()));
        EXPECT_TRUE(Above(second.get(), shown.get()));
        EXPECT_TRUE(IsTopMost(hidden.get()));
        EXPECT_FALSE(IsTopMost(normal.get()));
    }
}

TEST(NoteFormVariants, TheWaitEndsHoweverTheNoteGoes) {
    NoteForm note(Flavor::Pad);
    // Hidden by another thread: Continue, as with the close box.
    EXPECT_EQ(ShowAndLook(note, {"x"}, [](HWND form) { ShowWindow(form, SW_HIDE); }), NoteAnswer::Continue);

    // The program is asked to end: Abort, and the request stays for its loop.
    const DWORD self = GetCurrentThreadId();
    EXPECT_EQ(ShowAndLook(note, {"x"}, [&](HWND) { PostThreadMessageA(self, WM_QUIT, 7, 0); }),
              NoteAnswer::Abort);
    EXPECT_FALSE(IsWindowVisible(note.window()));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
}  // namespace taskloom
