// Tessdeck at work under Wine: the pad form hosted in this process (its
// registry roots pointed at keys of the test) launches a program of ours
// with its parameters and working folder, a document through its file
// association and a script that types into a real window, from clicks on
// its icons and from their hot keys pressed on the keyboard; the show/hide
// key and the tray icon's clicks; the exit in the middle of a script; the
// auto-start value and the maker's addresses.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/filestore.h"
#include "pad/model/shortcut_text.h"
#include "win32/win32_desktop.h"
#include "pad/tdeck_form.h"
#include "pad/tessdeck.h"
#include "resources/tessdeck_ids.h"
#include "tests/win32/helpers.h"
#include "tests/win32/pad_helpers.h"

namespace {

using namespace taskloom::wintest;
using tessdeck::TDeckForm;

const char* const kBase = "Software\\TaskloomTests\\PadLaunch";
const char* const kTargetTitle = "Pad Launch Target";

// Opens a menu with `open` and, once it shows, hands it to `shown` (on
// another thread) and presses `key` in it (a mnemonic, or Esc to close it).
// Answers whether the menu was seen.
bool InMenu(const std::function<void()>& open, BYTE key, const std::function<void(HWND)>& shown) {
    std::atomic<bool> seen{false};
    std::thread chooser([&] {
        HWND menu = nullptr;
        WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr && IsWindowVisible(menu); },
                  10000);
        if (!menu) return;
        shown(menu);
        seen = true;
        PressKey(key);
    });
    open();
    PumpUntil([&] { return seen.load(); }, 10000);
    chooser.join();
    return seen;
}

bool ChooseFromMenu(const std::function<void()>& open, BYTE key) {
    return InMenu(open, key, [](HWND) {});
}

// A script that shows a note and waits on it.
std::vector<std::string> NoteScript(const std::string& title) {
    return {"{:PopUp 120 140 " + title + "}", "The script waits here.", "{:/}", "{:ClipsDelimiterTab}"};
}

// A shell open command of the classes root replaced for one test and put
// back afterwards.
class ShellCommand {
public:
    ShellCommand(const std::string& key, const std::string& command) : path_(key + "\\shell\\open\\command") {
        HKEY k = nullptr;
        existed_ = RegOpenKeyExA(HKEY_CLASSES_ROOT, path_.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS;
        if (existed_) RegCloseKey(k);
        old_ = tessdeck::PadRegistry::ReadString(HKEY_CLASSES_ROOT, path_, nullptr);
        SetRegString(HKEY_CLASSES_ROOT, path_, nullptr, command);
    }
    ~ShellCommand() {
        if (existed_)
            SetRegString(HKEY_CLASSES_ROOT, path_, nullptr, old_);
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, path_.c_str());
    }

private:
    std::string path_, old_;
    bool existed_ = false;
};

class PadLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        tessdeck::InitProgram();
        // The machine's Run key is there, as on every system.
        SetRegString(registry_.machine(), tessdeck::RunKeyPath(), nullptr, "");
        desktop_ = taskloom::MakeWin32Desktop();
        // tl_echo in a folder of its own, telling into echo.txt how it was started.
        CreateDirectoryA((folder_ / "bin").c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((ExeDir() + "tl_echo.exe").c_str(), echoExe().c_str(), FALSE));
        SetEnvironmentVariableA("TL_ECHO_OUT", echoOut().c_str());
    }
    void TearDown() override { SetEnvironmentVariableA("TL_ECHO_OUT", nullptr); }
    std::string echoExe() const { return folder_ / "bin\\tl_echo.exe"; }
    std::string echoOut() const { return folder_ / "echo.txt"; }
    // What the next tl_echo tells, once it has.
    std::string echoed() {
        std::string text;
        PumpUntil([&] { return !(text = ReadWholeFile(echoOut())).empty(); }, 20000);
        DeleteFileA(echoOut().c_str());
        return text;
    }
    std::unique_ptr<TDeckForm> Make(const std::string& padText) {
        taskloom::WriteTextFile(folder_ / "launch.tkp", padText);
        tessdeck::PadStart start;
        start.args = {folder_ / "launch.tkp"};
        start.programPath = "C:\\Pads\\Tessdeck.exe";
        start.roots = registry_.roots();
        start.postQuit = false;
        auto pad = std::make_unique<TDeckForm>(*desktop_, start);
        pad->OpenPadClick(false);  // every icon shown
        return pad;
    }
    // A real click on the bar's icon at `index`.
    static void ClickIcon(TDeckForm& pad, int index) {
        RECT r{};
        SendMessageA(pad.toolBar(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(pad.toolBar(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    }

    RegistrySandbox registry_{kBase};
    std::unique_ptr<taskloom::Desktop> desktop_;
    TempFolder folder_;
};

TEST_F(PadLaunch, IconsAndTheirExactHotKeysStartProgramsDocumentsAndScripts) {
    Target target(Quote(kTargetTitle), kTargetTitle);
    ASSERT_TRUE(target.field());
    taskloom::WriteScriptFile(folder_ / "typing.tks", {std::string("{:TO ") + kTargetTitle + "}", "typed "});
    taskloom::WriteTextFile(folder_ / "report.tldoc", "a document");
    // Documents of this kind open with tl_echo.
    ShellCommand doc("TaskloomTestDoc", Quote(echoExe()) + " \"%1\"");
    SetRegString(HKEY_CLASSES_ROOT, ".tldoc", nullptr, "TaskloomTestDoc");
    // Ctrl+Alt+X comes first: Ctrl+A must not launch it.
    auto pad = Make("0\tEcho X\tCtrl+Alt+X\t" + echoExe() + " first second\r" + "1\tEcho A\tCtrl+A\t" +
                    echoExe() + " ctrl-a\r" + "2\tDocument\tCtrl+Alt+D\t" + (folder_ / "report.tldoc") +
                    "\r" + "3\tScript\tCtrl+Alt+S\t" + (folder_ / "typing.tks") + "\r");
    ASSERT_EQ(pad->bar().size(), 4u);
    const std::string started = "cwd: " + folder_.path() + "bin\narg: first\narg: second\nend\n";

    // Clicks on the icons.
    ClickIcon(*pad, 0);
    EXPECT_EQ(echoed(), started);
    ClickIcon(*pad, 2);
    // The document opens in its own folder.
    const std::string folder = folder_.path().substr(0, folder_.path().size() - 1);
    const std::string opened = "cwd: " + folder + "\narg: report.tldoc\nend\n";
    EXPECT_EQ(echoed(), opened);
    ClickIcon(*pad, 3);
    PumpUntil([&] { return ControlText(target.field()) == "typed "; }, 20000);
    EXPECT_EQ(target.fieldText("typed "), "typed ");
    // No icon stays down after its launch.
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(SendMessageA(pad->toolBar(), TB_ISBUTTONCHECKED, tessdeck::kBarButtonFirstId + i, 0));

    // The same through the hot keys pressed on the keyboard; each launch of
    // the script reads it again.
    PressKeys({VK_CONTROL}, 'A');
    EXPECT_NE(echoed().find("arg: ctrl-a\nend\n"), std::string::npos);
    PressKeys({VK_CONTROL, VK_MENU}, 'X');
    EXPECT_EQ(echoed(), started);
    PressKeys({VK_CONTROL, VK_MENU}, 'D');
    EXPECT_EQ(echoed(), opened);
    taskloom::WriteScriptFile(folder_ / "typing.tks", {std::string("{:TO ") + kTargetTitle + "}", "again"});
    PressKeys({VK_CONTROL, VK_MENU}, 'S');
    PumpUntil([&] { return ControlText(target.field()) == "typed again"; }, 20000);
    EXPECT_EQ(target.fieldText("typed again"), "typed again");
    EXPECT_FALSE(ModifierDown());

    // A script that was moved away is asked for ("Locate ..."), run from
    // where it was found, and remembered as the dialog's file.
    MoveFileA((folder_ / "typing.tks").c_str(), (folder_ / "moved.tks").c_str());
    taskloom::WriteScriptFile(folder_ / "moved.tks", {std::string("{:TO ") + kTargetTitle + "}", "!"});
    std::atomic<bool> asked{false};
    std::thread locator([&] {
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindWindowA(nullptr, "Locate typing.tks")) != nullptr; }, 20000);
        if (!dialog) return;
        asked = true;
        HWND edit = GetDlgItem(dialog, 0x47c);
        if (edit) {
            if (HWND inner = FindWindowExA(edit, nullptr, "Edit", nullptr)) edit = inner;
        } else {
            edit = GetDlgItem(dialog, 0x480);
        }
        const std::string chosen = folder_ / "moved.tks";
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    ClickIcon(*pad, 3);
    PumpUntil([&] { return asked && ControlText(target.field()) == "typed again!"; }, 30000);
    locator.join();
    EXPECT_TRUE(asked);
    EXPECT_EQ(target.fieldText("typed again!"), "typed again!");
    EXPECT_EQ(pad->padFile(), folder_ / "moved.tks");
    pad->QuitBtnClick();
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL, 'A'));
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".tldoc");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".tldoc");
}

TEST_F(PadLaunch, ShowHideKeyTrayClicksAndThePadMenusPlaces) {
    auto pad = Make("0\tEcho\t\t" + echoExe() + "\r");
    const HWND w = pad->hwnd();
    ASSERT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(TrayIconThere(w));

    // The show/hide key, pressed on the keyboard, hides and shows again.
    PressKeys({VK_SHIFT, VK_CONTROL}, VK_F9);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(w); }, 10000));
    EXPECT_FALSE(pad->shown());
    PressKeys({VK_SHIFT, VK_CONTROL}, VK_F9);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(w) != FALSE; }, 10000));
    // "&Hide/Show" does the same.
    pad->command(IDM_HIDESHOW);
    EXPECT_FALSE(IsWindowVisible(w));
    pad->command(IDM_HIDESHOW);
    EXPECT_TRUE(IsWindowVisible(w));

    // The tray: a left click hides a shown pad and shows a hidden one.
    SendMessageA(w, TDeckForm::kTrayMessage, TDeckForm::kTrayIconId, WM_LBUTTONUP);
    EXPECT_FALSE(IsWindowVisible(w));
    SendMessageA(w, TDeckForm::kTrayMessage, TDeckForm::kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(w));

    // Where the menu opens: at the mouse for the tray's right button, at the
    // pad's left + 22, top + 12 for the menu image. The menu is closed with
    // Esc once seen.
    auto menuPlace = [&](const std::function<void()>& open) {
        RECT place{};
        const bool seen = InMenu(open, VK_ESCAPE, [&](HWND menu) { GetWindowRect(menu, &place); });
        return seen ? POINT{place.left, place.top} : POINT{-1, -1};
    };
    SetCursorPos(300, 200);
    const POINT atMouse = menuPlace([&] { SendMessageA(w, TDeckForm::kTrayMessage, 1, WM_RBUTTONDOWN); });
    EXPECT_EQ(atMouse.x, 300);
    EXPECT_EQ(atMouse.y, 200);
    SetWindowPos(w, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const POINT atImage = menuPlace([&] { pad->RunIconClick(); });
    EXPECT_EQ(atImage.x, 222);
    EXPECT_EQ(atImage.y, 162);
    pad->QuitBtnClick();
    EXPECT_FALSE(TrayIconThere(w));
}

TEST_F(PadLaunch, ExitDuringAScriptEndsItAndLeavesNothingBehind) {
    Target target(Quote(kTargetTitle), kTargetTitle);
    ASSERT_TRUE(target.field());
    std::vector<std::string> lines = {std::string("{:TO ") + kTargetTitle + "}"};
    for (int i = 0; i < 40; ++i) lines.insert(lines.end(), {"x", "{:Pause1/10 1}"});
    taskloom::WriteScriptFile(folder_ / "long.tks", lines);
    auto pad = Make("0\tLong\tCtrl+Alt+L\t" + (folder_ / "long.tks") + "\r");
    const HWND w = pad->hwnd();
    ASSERT_TRUE(TrayIconThere(w));
    // "E&xit" chosen once the script has typed a little.
    std::thread quitter([&] {
        WaitUntil([&] { return ControlText(target.field()).size() >= 3; }, 20000);
        PostMessageA(w, WM_COMMAND, IDM_QUIT, 0);
    });
    PressKeys({VK_CONTROL, VK_MENU}, 'L');
    PumpUntil([&] { return pad->exited() && !pad->engine().running(); }, 30000);
    quitter.join();
    EXPECT_TRUE(pad->exited());
    EXPECT_FALSE(pad->engine().running());
    const std::string typed = target.fieldText();
    EXPECT_GE(typed.size(), 3u);
    EXPECT_LT(typed.size(), 40u);  // it ended before its last line
    EXPECT_FALSE(TrayIconThere(w));
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'L'));
    EXPECT_TRUE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, VK_F9));
    EXPECT_FALSE(ModifierDown());
    // A hot key pressed now launches nothing.
    PressKeys({VK_CONTROL, VK_MENU}, 'L');
    PumpUntil([] { return false; }, 500);
    EXPECT_EQ(target.fieldText(), typed);
}

TEST_F(PadLaunch, AHotKeyNamedByTheKeyboardLayoutStartsItsIcon) {
    // The layout names the slash key "/", and only that key: the keypad's
    // own slash is named otherwise.
    EXPECT_EQ(taskloom::LayoutKeyName(VK_OEM_2), "/");
    EXPECT_NE(taskloom::LayoutKeyName(VK_DIVIDE), "/");
    EXPECT_EQ(taskloom::ParseShortcut("Ctrl+Alt+/", nullptr, taskloom::LayoutKeyName).key, VK_OEM_2);
    auto pad = Make("0\tSlash\tCtrl+Alt+/\t" + echoExe() + " slash\r");
    ASSERT_EQ(pad->bar().size(), 1u);
    EXPECT_EQ(pad->bar()[0].hint, "Slash\tCtrl+Alt+/");
    EXPECT_FALSE(HotKeyFree(MOD_CONTROL | MOD_ALT, VK_OEM_2));
    PressKeys({VK_CONTROL, VK_MENU}, VK_OEM_2);
    EXPECT_NE(echoed().find("arg: slash\nend\n"), std::string::npos);
    EXPECT_FALSE(ModifierDown());
    pad->QuitBtnClick();
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL | MOD_ALT, VK_OEM_2));
}

TEST_F(PadLaunch, AHiddenPadKeepsItsClipsPaneThroughViewClipsAndExpandFromTheTray) {
    std::string five;
    for (int i = 0; i < 5; ++i) five += std::to_string(i) + "\tEcho\t\t" + echoExe() + "\r";
    auto pad = Make(five);
    const HWND w = pad->hwnd();
    pad->command(IDM_SHRINK);  // four icons shown: Expand will widen the window
    PressKeys({VK_SHIFT, VK_CONTROL}, VK_F9);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(w); }, 10000));

    // "&View Clips" from the tray's menu shows the pad with its pane.
    ASSERT_TRUE(ChooseFromMenu([&] { SendMessageA(w, TDeckForm::kTrayMessage, 1, WM_RBUTTONDOWN); }, 'V'));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(w) && IsWindowVisible(pad->clipsPane()); }, 10000));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(IsWindowVisible(pad->clipsPane()));

    // The window resized while the pad is hidden keeps the pane too.
    PressKeys({VK_SHIFT, VK_CONTROL}, VK_F9);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(w); }, 10000));
    RECT before{}, after{};
    GetWindowRect(w, &before);
    pad->command(IDM_EXPAND);
    GetWindowRect(w, &after);
    ASSERT_NE(after.right - after.left, before.right - before.left);
    PressKeys({VK_SHIFT, VK_CONTROL}, VK_F9);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(w) != FALSE; }, 10000));
    EXPECT_TRUE(IsWindowVisible(pad->clipsPane()));
    RECT pane{};
    GetWindowRect(pad->clipsPane(), &pane);
    EXPECT_EQ(pane.right - pane.left, after.right - after.left - 4);
    pad->QuitBtnClick();
}

// The note's window watched for its end: whether the run that showed it was
// still going then.
struct NoteEnd {
    TDeckForm* pad = nullptr;
    bool destroyed = false;
    bool duringTheRun = false;
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
        auto* self = reinterpret_cast<NoteEnd*>(data);
        if (msg == WM_DESTROY) {
            self->destroyed = true;
            self->duringTheRun = self->pad->engine().running();
        }
        if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, &NoteEnd::Proc, id);
        return DefSubclassProc(w, msg, wp, lp);
    }
};

TEST_F(PadLaunch, ExitWhileAScriptsNoteShowsEndsTheRunBeforeTheNoteGoes) {
    taskloom::WriteScriptFile(folder_ / "note.tks", NoteScript("Exit Note"));
    auto pad = Make("0\tNote\t\t" + (folder_ / "note.tks") + "\r");
    const HWND w = pad->hwnd();
    NoteEnd end{pad.get()};
    ASSERT_TRUE(pad->note());
    SetWindowSubclass(pad->note()->window(), &NoteEnd::Proc, 1, reinterpret_cast<DWORD_PTR>(&end));
    // The pad is closed (the uninstaller's way) while the note waits.
    std::thread closer([&] {
        HWND note = nullptr;
        WaitUntil(
            [&] { return (note = FindWindowA("TMemoPop", "Exit Note")) != nullptr && IsWindowVisible(note); },
            20000);
        PostMessageA(w, WM_CLOSE, 0, 0);
    });
    ClickIcon(*pad, 0);
    PumpUntil([&] { return pad->exited() && !pad->engine().running(); }, 20000);
    closer.join();
    ASSERT_TRUE(pad->exited());
    EXPECT_FALSE(pad->engine().running());
    // The run ended as the note's Abort ends it (the line after the note did
    // not run), and only then did the note go.
    EXPECT_EQ(pad->engine().delimiter(), '\r');
    EXPECT_TRUE(end.destroyed);
    EXPECT_FALSE(end.duringTheRun);
    EXPECT_EQ(pad->note(), nullptr);
    EXPECT_EQ(FindWindowA("TMemoPop", "Exit Note"), nullptr);
    EXPECT_TRUE(pad->macroBox().empty());
    EXPECT_FALSE(ModifierDown());
}

TEST_F(PadLaunch, AutoStartAutoDialAndTheMakersAddresses) {
    auto pad = Make("0\tEcho\t\t" + echoExe() + "\r");
    const std::string run = tessdeck::RunKeyPath();
    auto checkedItem = [&](int id) {
        return (GetMenuState(pad->popupMenu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    // Auto Start writes the program's path in lower case, and takes it away.
    EXPECT_FALSE(checkedItem(IDM_AUTOSTART));
    pad->command(IDM_AUTOSTART);
    EXPECT_TRUE(checkedItem(IDM_AUTOSTART));
    EXPECT_EQ(tessdeck::PadRegistry::ReadString(registry_.machine(), run, "Tessdeck"),
              "c:\\pads\\tessdeck.exe");
    pad->command(IDM_AUTOSTART);
    EXPECT_FALSE(checkedItem(IDM_AUTOSTART));
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyExA(registry_.machine(), run.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExA(k, "Tessdeck", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(k);

    // Auto Dial on turns Auto Add Clips on; off leaves it on.
    CheckMenuItem(pad->popupMenu(), IDM_AUTOADD, MF_BYCOMMAND | MF_UNCHECKED);
    pad->command(IDM_AUTODIAL);
    EXPECT_TRUE(checkedItem(IDM_AUTODIAL));
    EXPECT_TRUE(checkedItem(IDM_AUTOADD));
    pad->command(IDM_AUTODIAL);
    EXPECT_FALSE(checkedItem(IDM_AUTODIAL));
    EXPECT_TRUE(checkedItem(IDM_AUTOADD));

    // The web site and the mail address reach the programs that open them.
    {
        ShellCommand web("https", Quote(echoExe()) + " \"%1\"");
        ShellCommand mail("mailto", Quote(echoExe()) + " \"%1\"");
        pad->command(IDM_WEBSITE);
        EXPECT_NE(echoed().find("arg: https://taskloom.org\n"), std::string::npos);
        pad->command(IDM_EMAILUS);
        EXPECT_NE(echoed().find("arg: mailto:tessdeck@taskloom.org\n"), std::string::npos);
    }
    pad->QuitBtnClick();

    // Where the machine's Run key cannot be written, the user's takes the
    // value, and the next start checks the item from there.
    RegDeleteTreeA(registry_.machine(), run.c_str());
    RegDeleteKeyA(registry_.machine(), run.c_str());
    pad = Make("0\tEcho\t\t" + echoExe() + "\r");
    pad->command(IDM_AUTOSTART);
    EXPECT_EQ(tessdeck::PadRegistry::ReadString(registry_.user(), run, "Tessdeck"), "c:\\pads\\tessdeck.exe");
    pad->QuitBtnClick();
    pad = Make("0\tEcho\t\t" + echoExe() + "\r");
    EXPECT_TRUE(checkedItem(IDM_AUTOSTART));
    pad->QuitBtnClick();
}

// A key that another program holds: the icon's hint and the hot key report
// say so, and a press does not start it; the pad's own keys and an icon
// repeating another's key are reported as they work. Once the other program
// lets go, an unlock or a resume registers the key and it starts its icon.
TEST_F(PadLaunch, AKeyHeldByAnotherProgramIsReportedAndWorksOnceFreedAndResumed) {
    ChildProcess holder(Quote(ExeDir() + "tl_holdkey.exe") + " " + std::to_string(MOD_CONTROL | MOD_ALT) +
                        " " + std::to_string('K') + " " + Quote("Key Holder"));
    const HWND holderWindow = WaitForWindow("Key Holder", holder.id(), 30000);
    ASSERT_TRUE(holderWindow);
    ASSERT_FALSE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'K'));
    auto pad =
        Make("0\tHeld\tCtrl+Alt+K\t" + echoExe() + " held\r" + "1\tFree\tCtrl+Alt+J\t" + echoExe() +
             " free\r" + "2\tTwin\tAlt+Ctrl+J\t" + echoExe() + " twin\r" + "3\tPlain\t\t" + echoExe() + "\r");
    ASSERT_EQ(pad->bar().size(), 4u);
    EXPECT_EQ(pad->iconHint(0), "Held\tCtrl+Alt+K (in use)");
    EXPECT_EQ(pad->iconHint(1), "Free\tCtrl+Alt+J");
    EXPECT_EQ(pad->iconHint(2), "Twin\tCtrl+Alt+J");
    EXPECT_EQ(pad->iconHint(3), "Plain");
    // The bar's tooltip asks for the hint it shows, and shows the key too.
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(pad->toolBar(), TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = tessdeck::kBarButtonFirstId;
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(pad->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "Held  Ctrl+Alt+K (in use)");

    // Help, "Hot Key Report...": a box that Enter closes.
    const std::string inUseReport =
        "Show/hide the pad: Shift+Ctrl+F9 - works\n"
        "1. Held: Ctrl+Alt+K - in use by another program\n"
        "2. Free: Ctrl+Alt+J - works\n"
        "3. Twin: Ctrl+Alt+J - starts icon 2 instead (the same key)\n"
        "4. Plain: no hot key\n\n"
        "A key in use is tried again when the session is unlocked or the computer resumes, and works once "
        "the other program has let it go.";
    EXPECT_EQ(pad->hotKeyReport(), inUseReport);
    std::string shown;
    bool closedByEnter = false;
    std::thread reader([&] {
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindWindowA("#32770", "Hot Key Report")) && IsWindowVisible(box); },
                  10000);
        if (!box) return;
        shown = MessageBoxTexts(box);
        SetForegroundWindow(box);
        WaitUntil([&] { return GetForegroundWindow() == box; }, 5000);
        PressKey(VK_RETURN);
        closedByEnter = WaitUntil([&] { return !IsWindow(box); }, 5000);
        if (!closedByEnter) PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    pad->command(IDM_HOTKEYREPORT);
    reader.join();
    EXPECT_NE(shown.find(inUseReport), std::string::npos) << shown;
    EXPECT_TRUE(closedByEnter);

    // The free key starts the first icon with it; the held one starts nothing.
    PressKeys({VK_CONTROL, VK_MENU}, 'J');
    EXPECT_NE(echoed().find("arg: free\nend\n"), std::string::npos);
    PressKeys({VK_CONTROL, VK_MENU}, 'K');
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(ReadWholeFile(echoOut()), "");
    // An unlock while the key is still held changes nothing.
    SendMessageA(pad->hwnd(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    EXPECT_EQ(pad->iconHint(0), "Held\tCtrl+Alt+K (in use)");

    // The other program lets go; the resume registers the key.
    PostMessageA(holderWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(holder.waitForExit(10000));
    EXPECT_EQ(pad->iconHint(0), "Held\tCtrl+Alt+K (in use)");
    EXPECT_EQ(SendMessageA(pad->hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
    EXPECT_EQ(pad->iconHint(0), "Held\tCtrl+Alt+K");
    EXPECT_EQ(pad->hotKeyReport().find("in use"), std::string::npos) << pad->hotKeyReport();
    PressKeys({VK_CONTROL, VK_MENU}, 'K');
    EXPECT_NE(echoed().find("arg: held\nend\n"), std::string::npos);
    EXPECT_FALSE(ModifierDown());
    pad->QuitBtnClick();
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'K'));
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'J'));
}

// An icon with the pad's own show/hide key leaves that key to the pad: it
// shows and hides the pad, and another pad loaded after it does not take
// the key away.
TEST_F(PadLaunch, AnIconWithTheShowHideKeyLeavesTheKeyToThePad) {
    auto pad = Make("0\tToggle\tCtrl+Shift+F9\t" + echoExe() + " toggle\r");
    EXPECT_TRUE(pad->showHideHeld());
    EXPECT_NE(pad->hotKeyReport().find("1. Toggle: Shift+Ctrl+F9 - shows and hides the pad"),
              std::string::npos)
        << pad->hotKeyReport();
    taskloom::WriteTextFile(folder_ / "launch.tkp", "0\tEcho\t\t" + echoExe() + "\r");
    pad->OpenPadClick(false);
    EXPECT_FALSE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, VK_F9));
    const HWND w = pad->hwnd();
    PressKeys({VK_SHIFT, VK_CONTROL}, VK_F9);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(w); }, 10000));
    pad->QuitBtnClick();
    EXPECT_TRUE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, VK_F9));
}

// The real program, in its own process: the hot keys pressed here reach
// it, and its exit in the middle of a script ends the script and the
// program and frees every key.
TEST_F(PadLaunch, TheProgramTakesHotKeysFromTheKeyboardAndExitsDuringAScript) {
    const std::string padKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessdeck";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, padKey.c_str());
    Target target(Quote(kTargetTitle), kTargetTitle);
    ASSERT_TRUE(target.field());
    std::vector<std::string> lines = {std::string("{:TO ") + kTargetTitle + "}"};
    for (int i = 0; i < 40; ++i) lines.insert(lines.end(), {"x", "{:Pause1/10 1}"});
    taskloom::WriteScriptFile(folder_ / "long.tks", lines);
    taskloom::WriteTextFile(folder_ / "real.tkp", "0\tEcho\tCtrl+Alt+E\t" + echoExe() + " real\r" +
                                                      "1\tLong\tCtrl+Alt+L\t" + (folder_ / "long.tks") +
                                                      "\r");
    ChildProcess pad(Quote(FromBuildPath(TESSDECK_EXE)) + " " + Quote(folder_ / "real.tkp"), folder_.path());
    const HWND w = WaitForWindow("Tessdeck", pad.id(), 30000);
    ASSERT_TRUE(w);
    // Start-up is over when the tray icon is there (its last step). Probing
    // the show/hide key instead would hold it for a moment now and then, and
    // the pad, registering it at that moment, would silently go without it.
    ASSERT_TRUE(WaitUntil([&] { return TrayIconThere(w); }, 20000));

    PressKeys({VK_CONTROL, VK_MENU}, 'E');
    EXPECT_NE(echoed().find("arg: real\nend\n"), std::string::npos);
    PressKeys({VK_CONTROL, VK_MENU}, 'L');
    ASSERT_TRUE(WaitUntil([&] { return ControlText(target.field()).size() >= 3; }, 20000));
    PostMessageA(w, WM_COMMAND, IDM_QUIT, 0);
    EXPECT_TRUE(pad.waitForExit(20000));
    EXPECT_LT(target.fieldText().size(), 40u);
    for (UINT key : {'E', 'L'}) EXPECT_TRUE(HotKeyFree(MOD_CONTROL | MOD_ALT, key));
    EXPECT_TRUE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, VK_F9));
    EXPECT_FALSE(ModifierDown());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, padKey.c_str());
}

// The real program closed while a script's note shows: the run and the
// note end, the program ends cleanly and saves its settings.
TEST_F(PadLaunch, TheProgramClosedWhileAScriptsNoteShowsEndsCleanlyAndSavesItsSettings) {
    const std::string padKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessdeck";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, padKey.c_str());
    taskloom::WriteScriptFile(folder_ / "note.tks", NoteScript("Closing Note"));
    taskloom::WriteTextFile(folder_ / "note.tkp", "0\tNote\tCtrl+Alt+N\t" + (folder_ / "note.tks") + "\r");
    ChildProcess pad(Quote(FromBuildPath(TESSDECK_EXE)) + " " + Quote(folder_ / "note.tkp"), folder_.path());
    const HWND w = WaitForWindow("Tessdeck", pad.id(), 30000);
    ASSERT_TRUE(w);
    // Start-up is over when the tray icon is there (its last step). Probing
    // the show/hide key instead would hold it for a moment now and then, and
    // the pad, registering it at that moment, would silently go without it.
    ASSERT_TRUE(WaitUntil([&] { return TrayIconThere(w); }, 20000));
    PressKeys({VK_CONTROL, VK_MENU}, 'N');
    HWND note = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (note = FindWindowA("TMemoPop", "Closing Note")) != nullptr && IsWindowVisible(note); },
        20000));
    PostMessageA(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pad.waitForExit(20000));
    EXPECT_EQ(pad.exitCode(), 0u);
    // Saved on the way out: the place, and the delimiter the run never set.
    EXPECT_EQ(tessdeck::PadRegistry::ReadString(HKEY_LOCAL_MACHINE, padKey, "Settings"),
              "\r,428,47,0,1,1,0,1");
    EXPECT_EQ(tessdeck::PadRegistry::ReadString(HKEY_LOCAL_MACHINE, padKey, "Pad"), folder_ / "note.tkp");
    EXPECT_FALSE(ModifierDown());
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'N'));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, padKey.c_str());
}

}  // namespace
