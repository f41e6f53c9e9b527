// Tessdeck's clips pane under Wine, on the real program: texts copied by
// another process (tl_clipper) collected with each delimiter, the pad's own
// copies and private copies left out, Auto Copy pasting into the window used
// last, the viewer chain kept whole for the other viewers, both saves
// through the real save dialog and question box; and auto dial from a pad
// hosted in this process to a dialer of the tests (tl_dialer registered as
// dialer.exe in the shell's App Paths), or to the shell's "tel:" handler.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/filestore.h"
#include "win32/win32_desktop.h"
#include "pad/tdeck_form.h"
#include "pad/tessdeck.h"
#include "resources/tessdeck_ids.h"
#include "tests/win32/helpers.h"
#include "tests/win32/pad_helpers.h"

namespace {

using namespace taskloom::wintest;

const std::string kPadKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessdeck";
const std::string kOnePad = "0\tProgram\t\tnotepad.exe\r";

// Puts the texts on the clipboard from a process of its own, one copy each.
void Copy(const std::string& args) {
    ChildProcess clipper(Quote(ExeDir() + "tl_clipper.exe") + " " + args);
    ASSERT_TRUE(clipper.waitForExit(20000));
    ASSERT_EQ(clipper.exitCode(), 0u) << args;
}

std::string ClipboardNow() {
    std::string text;
    for (int i = 0; i < 100 && !OpenClipboard(nullptr); ++i) Sleep(10);
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

struct ChildSearch {
    std::string prefix;
    std::string cls;
    HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<ChildSearch*>(p);
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    if ((s->cls.empty() || s->cls == cls) && ControlText(h).rfind(s->prefix, 0) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

// The first child of the class whose text begins with `prefix`.
HWND ChildWithText(HWND parent, const std::string& cls, const std::string& prefix) {
    ChildSearch s{prefix, cls};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The real pad, with the default settings, showing one icon.
struct Pad {
    Pad() {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPadKey.c_str());
        taskloom::WriteTextFile(folder / "one.tkp", kOnePad);
        process = std::make_unique<ChildProcess>(
            Quote(FromBuildPath(TESSDECK_EXE)) + " " + Quote(folder / "one.tkp"), folder.path());
        window = WaitForWindow("Tessdeck", process->id(), 60000);
        if (window) pane = FindChildByClass(window, "RichEdit20A");
        // Start-up has joined the chain when the hint shows.
        WaitUntil([&] { return window && ChildWithText(window, "Static", "Clips ") != nullptr; }, 20000);
    }
    ~Pad() {
        if (process && process->running() && IsWindow(window)) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            process->waitForExit(20000);
        }
    }
    void command(int id) const { PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    void paneCommand(int id) const { PostMessageA(pane, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    std::string text(const std::string& expected) const {
        return ReadUntilStable(pane, expected, 300, 20000);
    }
    // The pane once it has not changed for a while: for copies that must
    // leave it as it is.
    std::string settled() const { return ReadUntilStable(pane, std::nullopt, 1500, 20000); }
    std::string hint() const {
        HWND image = ChildWithText(window, "Static", "Clips ");
        return image ? ControlText(image) : std::string();
    }
    void exit() {
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(process->waitForExit(20000));
    }

    TempFolder folder;
    std::unique_ptr<ChildProcess> process;
    HWND window = nullptr;
    HWND pane = nullptr;
};

TEST(PadClips, CollectsOtherProgramsCopiesWithEachDelimiterButNotItsOwnOrPrivateOnes) {
    Pad pad;
    ASSERT_TRUE(pad.window);
    ASSERT_TRUE(pad.pane);
    EXPECT_EQ(pad.hint(), "Clips 0/0");

    // New Line (the default): two copies, two lines and the empty line after.
    Copy("alpha");
    ASSERT_EQ(pad.text("alpha\r\n"), "alpha\r\n");
    Copy("\"two words\"");
    EXPECT_EQ(pad.text("alpha\r\ntwo words\r\n"), "alpha\r\ntwo words\r\n");
    EXPECT_TRUE(WaitUntil([&] { return pad.hint() == "Clips 2/2"; }, 5000)) << pad.hint();
    // A copy of several lines is kept whole.
    Copy("\"x\\ny\"");
    EXPECT_EQ(pad.text("alpha\r\ntwo words\r\nx\r\ny\r\n"), "alpha\r\ntwo words\r\nx\r\ny\r\n");

    const std::vector<std::pair<int, std::string>> delimiters = {
        {IDM_DELCOMMA, "a,b,"}, {IDM_DELTAB, "a\tb\t"}, {IDM_DELSPACE, "a b "}, {IDM_DELNONE, "ab"}};
    for (const auto& [id, expected] : delimiters) {
        pad.command(id);
        pad.paneCommand(IDM_CLIPSCLEARALL);
        ASSERT_EQ(pad.text(""), "");
        Copy("a");
        const std::string first = expected.substr(0, expected.size() / 2);
        ASSERT_EQ(pad.text(first), first) << id;
        Copy("b");
        EXPECT_EQ(pad.text(expected), expected) << id;
    }
    pad.command(IDM_DELNEWLINE);
    pad.paneCommand(IDM_CLIPSCLEARALL);
    Copy("one");
    ASSERT_EQ(pad.text("one\r\n"), "one\r\n");

    // Private copies are left out; the copy after them is taken, so they were
    // seen and passed over.
    Copy("--private secret1");
    EXPECT_EQ(pad.settled(), "one\r\n");
    Copy("--history0 secret2");
    EXPECT_EQ(pad.settled(), "one\r\n");
    Copy("--history1 shareable");  // a copy that may go to the history is no secret
    EXPECT_EQ(pad.text("one\r\nshareable\r\n"), "one\r\nshareable\r\n");

    // The pad's own copy (Select All copies with Auto Copy; no window was
    // used before, so nothing is pasted) is on the clipboard but not
    // collected again.
    pad.paneCommand(IDM_CLIPSSELECTALL);
    EXPECT_TRUE(WaitUntil([] { return ClipboardNow() == "one\r\nshareable\r\n"; }, 10000)) << ClipboardNow();
    // A copy made while the pad is the foreground window is not collected.
    SetForegroundWindow(pad.window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pad.window; }, 5000));
    Copy("in-front");
    EXPECT_EQ(pad.settled(), "one\r\nshareable\r\n");
    Target other("\"Clips Other Window\"", "Clips Other Window");
    SetForegroundWindow(other.window());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.window(); }, 5000));
    Copy("behind");
    EXPECT_EQ(pad.text("one\r\nshareable\r\nbehind\r\n"), "one\r\nshareable\r\nbehind\r\n");

    // A clip that does not fit the 4K pane is not cut: the pane keeps what
    // it had and the hint says it is full. 20K takes it.
    Copy(std::string(5000, 'z'));
    EXPECT_TRUE(WaitUntil([&] { return pad.hint() == "Clips 3/3 full"; }, 10000)) << pad.hint();
    EXPECT_EQ(pad.text("one\r\nshareable\r\nbehind\r\n"), "one\r\nshareable\r\nbehind\r\n");
    pad.command(IDM_K20);
    Copy(std::string(5000, 'y'));
    const std::string big = "one\r\nshareable\r\nbehind\r\n" + std::string(5000, 'y') + "\r\n";
    EXPECT_EQ(pad.text(big), big);
    EXPECT_EQ(pad.hint(), "Clips 4/4");
    pad.exit();
    // The delimiter and the size are kept for the next start.
    EXPECT_EQ(tessdeck::PadRegistry::ReadString(HKEY_LOCAL_MACHINE, kPadKey, "Settings"),
              "\r,428,47,0,1,1,0,2");
}

TEST(PadClips, AutoCopyPastesTheSelectedLineIntoTheWindowUsedLast) {
    Target target("\"Clips Paste Target\"", "Clips Paste Target");
    ASSERT_TRUE(target.field());
    Pad pad;
    ASSERT_TRUE(pad.pane);
    SetForegroundWindow(target.window());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.window(); }, 5000));
    Copy("\"first line\"");
    ASSERT_EQ(pad.text("first line\r\n"), "first line\r\n");
    Copy("\"second line\"");
    ASSERT_EQ(pad.text("first line\r\nsecond line\r\n"), "first line\r\nsecond line\r\n");
    // The user selects the second line in the pane (positions count a line
    // break as one character).
    PostMessageA(pad.pane, EM_SETSEL, 11, 22);
    EXPECT_EQ(target.fieldText("second line"), "second line");
    EXPECT_EQ(ClipboardNow(), "second line");
    EXPECT_EQ(GetForegroundWindow(), target.window());
    // The pasted line was not collected again: the next copy follows the
    // first two.
    Copy("third");
    EXPECT_EQ(pad.text("first line\r\nsecond line\r\nthird\r\n"), "first line\r\nsecond line\r\nthird\r\n");

    // With Auto Copy off a selection copies and pastes nothing.
    pad.command(IDM_AUTOCOPY);
    PostMessageA(pad.pane, EM_SETSEL, 0, 5);
    Copy("fourth");
    EXPECT_EQ(pad.text("first line\r\nsecond line\r\nthird\r\nfourth\r\n"),
              "first line\r\nsecond line\r\nthird\r\nfourth\r\n");
    EXPECT_EQ(target.fieldText("second line"), "second line");
}

TEST(PadClips, RunStartsTheSelectedClipAndTheMenuFollowsThePane) {
    Pad pad;
    ASSERT_TRUE(pad.pane);
    pad.command(IDM_AUTOCOPY);  // nothing pasted anywhere
    const std::string run = ExeDir() + "tl_target.exe ClipsRunTarget";
    Copy(Quote(run));
    const std::string text = run + "\r\n";
    ASSERT_EQ(pad.text(text), text);
    // Last is grayed with one line: the command does nothing, the caret
    // stays where it was; with two lines it goes to the end.
    auto caretAfterLast = [&] {
        SendMessageA(pad.pane, EM_SETSEL, 0, 0);
        SendMessageA(pad.pane, WM_COMMAND, IDM_CLIPSLAST, 0);
        return LOWORD(SendMessageA(pad.pane, EM_GETSEL, 0, 0));
    };
    EXPECT_EQ(caretAfterLast(), 0);
    Copy("second");
    ASSERT_EQ(pad.text(text + "second\r\n"), text + "second\r\n");
    EXPECT_EQ(caretAfterLast(), run.size() + 1 + 6 + 1);  // a line break is one position
    // The first line selected and Run: the program starts with its
    // parameters.
    PostMessageA(pad.pane, EM_SETSEL, 0, static_cast<WPARAM>(run.size()));
    pad.paneCommand(IDM_CLIPSRUN);
    HWND started = WaitForWindow("ClipsRunTarget", 0, 30000);
    ASSERT_TRUE(started);
    DWORD pid = 0;
    GetWindowThreadProcessId(started, &pid);
    ChildProcess end(pid);
    // Clear All empties the pane; the hint follows.
    pad.paneCommand(IDM_CLIPSCLEARALL);
    EXPECT_EQ(pad.text(""), "");
    EXPECT_TRUE(WaitUntil([&] { return pad.hint() == "Clips 0/0"; }, 5000)) << pad.hint();
}

// Two clipboard viewers of the test in the chain below the pad, counting the
// changes they are told of and passing them on as viewers must.
struct Viewer {
    HWND window = nullptr;
    std::atomic<HWND> next{nullptr};
    std::atomic<int> told{0};
    std::atomic<bool> inChain{false};
};

LRESULT CALLBACK ViewerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* v = reinterpret_cast<Viewer*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (v && msg == WM_DRAWCLIPBOARD) {
        ++v->told;
        if (v->inChain && v->next) SendMessageA(v->next, msg, wp, lp);
        return 0;
    }
    if (v && msg == WM_CHANGECBCHAIN) {
        if (reinterpret_cast<HWND>(wp) == v->next)
            v->next = reinterpret_cast<HWND>(lp);
        else if (v->next)
            SendMessageA(v->next, msg, wp, lp);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

TEST(PadClips, EveryOtherViewerInTheChainIsStillToldOfEveryChange) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPadKey.c_str());
    Viewer a, b;
    std::atomic<bool> ready{false}, done{false};
    DWORD threadId = 0;
    std::thread viewers([&] {
        threadId = GetCurrentThreadId();
        WNDCLASSA wc{};
        wc.lpfnWndProc = ViewerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ClipsTestViewer";
        RegisterClassA(&wc);
        for (Viewer* v : {&a, &b}) {
            v->window = CreateWindowExA(0, "ClipsTestViewer", "viewer", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, wc.hInstance, nullptr);
            SetWindowLongPtrA(v->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
            v->inChain = true;
            v->next = SetClipboardViewer(v->window);
        }
        ready = true;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        for (Viewer* v : {&a, &b})
            if (v->inChain) ChangeClipboardChain(v->window, v->next);
        for (Viewer* v : {&a, &b}) DestroyWindow(v->window);
        done = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return ready.load(); }, 10000));
    ASSERT_EQ(b.next.load(), a.window);

    {
        Pad pad;  // joins the chain above b and a
        ASSERT_TRUE(pad.pane);
        Sleep(500);  // the notices of joining have been passed on
        int toldA = a.told, toldB = b.told;
        Copy("one");
        EXPECT_EQ(pad.text("one\r\n"), "one\r\n");
        EXPECT_TRUE(WaitUntil([&] { return a.told == toldA + 1 && b.told == toldB + 1; }, 10000))
            << a.told << " " << b.told;

        // b leaves: the pad, before it in the chain, now tells a directly.
        b.inChain = false;
        ChangeClipboardChain(b.window, b.next);
        toldA = a.told;
        toldB = b.told;
        Copy("two");
        EXPECT_EQ(pad.text("one\r\ntwo\r\n"), "one\r\ntwo\r\n");
        EXPECT_TRUE(WaitUntil([&] { return a.told == toldA + 1; }, 10000)) << a.told;
        EXPECT_EQ(b.told, toldB);
        pad.exit();
    }
    // The pad has left, handing its place on: a is still told.
    const int toldA = a.told;
    Copy("three");
    EXPECT_TRUE(WaitUntil([&] { return a.told == toldA + 1; }, 10000)) << a.told;

    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    viewers.join();
    EXPECT_TRUE(done);
}

// The save dialog of the pad: the file name typed in and OK.
void AnswerSaveDialog(DWORD pid, const std::string& file) {
    HWND dialog = WaitForWindow("Save As", pid, 20000);
    ASSERT_TRUE(dialog);
    HWND combo = GetDlgItem(dialog, 0x47c);
    HWND edit = combo ? FindChildByClass(combo, "Edit") : nullptr;
    if (!edit) edit = GetDlgItem(dialog, 0x480);
    ASSERT_TRUE(edit);
    SetControlText(edit, file);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 20000));
}

// The overwrite question: its text checked, Yes or No.
void AnswerOverwrite(DWORD pid, const std::string& namePart, bool yes) {
    HWND box = WaitForWindow("Confirm", pid, 20000);
    ASSERT_TRUE(box);
    HWND text = ChildWithText(box, "Static", "Overwrite file:");
    ASSERT_TRUE(text);
    EXPECT_EQ(ControlText(text), "Overwrite file:\n" + namePart);
    PostMessageA(box, WM_COMMAND, yes ? IDYES : IDNO, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 20000));
}

std::string FileSettled(const std::string& name, const std::string& expected) {
    WaitUntil([&] { return ReadWholeFile(name) == expected; }, 10000);
    return ReadWholeFile(name);
}

TEST(PadClips, BothSavesThroughTheRealDialogWithTheOverwriteQuestionAnsweredBothWays) {
    Pad pad;
    ASSERT_TRUE(pad.pane);
    for (const auto& [clip, pane] : {std::pair{"a", "a\r\n"}, {"\"b c\"", "a\r\nb c\r\n"}}) {
        Copy(clip);
        ASSERT_EQ(pad.text(pane), pane);
    }
    Copy("d");
    ASSERT_EQ(pad.text("a\r\nb c\r\nd\r\n"), "a\r\nb c\r\nd\r\n");
    const DWORD pid = pad.process->id();
    const std::string csv = pad.folder / "clips.csv", txt = pad.folder / "clips.txt";
    const std::string line = "a,\"b c\",d\r\n";

    // Comma Delimited: a new file gets the line; No appends a second; Yes
    // leaves exactly one.
    pad.paneCommand(IDM_ASCOMMA);
    AnswerSaveDialog(pid, csv);
    EXPECT_EQ(FileSettled(csv, line), line);
    pad.paneCommand(IDM_ASCOMMA);
    AnswerSaveDialog(pid, csv);
    AnswerOverwrite(pid, "clips.csv", false);
    EXPECT_EQ(FileSettled(csv, line + line), line + line);
    pad.paneCommand(IDM_ASCOMMA);
    AnswerSaveDialog(pid, csv);
    AnswerOverwrite(pid, "clips.csv", true);
    EXPECT_EQ(FileSettled(csv, line), line);

    // Text File: No leaves the file as it was; Yes replaces it with the
    // pane's lines.
    taskloom::WriteTextFile(txt, "old\r\n");
    pad.paneCommand(IDM_ASTEXT);
    AnswerSaveDialog(pid, txt);
    AnswerOverwrite(pid, "clips.txt", false);
    pad.paneCommand(IDM_ASTEXT);
    AnswerSaveDialog(pid, txt);
    AnswerOverwrite(pid, "clips.txt", true);
    EXPECT_EQ(FileSettled(txt, "a\r\nb c\r\nd\r\n"), "a\r\nb c\r\nd\r\n");
}

TEST(PadClips, AutoDialStartsTheRegisteredDialerAndElseHandsTheNumberToTheShell) {
    tessdeck::InitProgram();
    RegistrySandbox registry("Software\\TaskloomTests\\PadClips");
    // The dialer of the tests, registered where the system registers its
    // dialer (the shell's App Paths), not on the path; it tells of every
    // start.
    const std::string appPath = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\dialer.exe";
    TempFolder folder;
    CreateDirectoryA((folder / "dialer").c_str(), nullptr);
    const std::string dialerExe = folder / "dialer\\dialer.exe";
    ASSERT_TRUE(CopyFileA((ExeDir() + "tl_dialer.exe").c_str(), dialerExe.c_str(), FALSE));
    SetRegString(HKEY_LOCAL_MACHINE, appPath, nullptr, dialerExe);
    const std::string log = folder / "dialer.log";
    SetEnvironmentVariableA("TL_DIALER_LOG", log.c_str());
    taskloom::WriteTextFile(folder / "one.tkp", kOnePad);

    auto desktop = taskloom::MakeWin32Desktop();
    tessdeck::PadStart start;
    start.args = {folder / "one.tkp"};
    start.programPath = "C:\\Pads\\Tessdeck.exe";
    start.roots = registry.roots();
    start.postQuit = false;
    {
        // The dialer is open already (a program's first start under Wine
        // takes longer than the pad's four looks); the pad's own start of
        // dialer.exe brings it forward, and its log shows that start.
        ChildProcess dialer(Quote(dialerExe), folder.path());
        HWND dialerWindow = WaitForWindow("Phone Dialer", dialer.id());
        ASSERT_TRUE(dialerWindow);
        HWND field = FindChildByClass(dialerWindow, "Edit");
        ASSERT_TRUE(field);
        ASSERT_EQ(ReadWholeFile(log), "start\n");
        tessdeck::TDeckForm pad(*desktop, start);
        CheckMenuItem(pad.popupMenu(), IDM_AUTODIAL, MF_BYCOMMAND | MF_CHECKED);
        // Not a number: collected, not dialled.
        std::atomic<bool> firstSeen{false};
        std::thread copier([&] {
            Copy("\"555-123\"");
            WaitUntil([&] { return firstSeen.load(); }, 20000);
            Copy("\"555-1234\"");
        });
        firstSeen = PumpUntil([&] { return pad.clipsText() == "555-123\r\n"; }, 20000);
        EXPECT_TRUE(PumpUntil([&] { return ControlText(field) == "555-1234"; }, 30000)) << ControlText(field);
        copier.join();
        EXPECT_TRUE(PumpUntil([&] { return pad.clipsText() == "555-123\r\n555-1234\r\n"; }, 10000))
            << pad.clipsText();
        EXPECT_EQ(ReadWholeFile(log), "start\nstart\n");

        // No dialer registered: the shell's handler of "tel:" addresses gets
        // the number, and the open dialer nothing.
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, appPath.c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, appPath.c_str());
        const std::string echoOut = folder / "tel.txt";
        SetEnvironmentVariableA("TL_ECHO_OUT", echoOut.c_str());
        SetRegString(HKEY_CLASSES_ROOT, "tel\\shell\\open\\command", nullptr,
                     Quote(ExeDir() + "tl_echo.exe") + " \"%1\"");
        std::thread copier2([] { Copy("\"555-9876\""); });
        std::string told;
        EXPECT_TRUE(PumpUntil([&] { return !(told = ReadWholeFile(echoOut)).empty(); }, 20000));
        copier2.join();
        EXPECT_NE(told.find("arg: tel:555-9876\n"), std::string::npos) << told;
        EXPECT_EQ(ControlText(field), "555-1234");
        EXPECT_EQ(ReadWholeFile(log), "start\nstart\n");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "tel");
        SetEnvironmentVariableA("TL_ECHO_OUT", nullptr);
        pad.QuitBtnClick();
    }
    SetEnvironmentVariableA("TL_DIALER_LOG", nullptr);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, appPath.c_str());
}

}  // namespace
