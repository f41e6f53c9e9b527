// Helpers for tests that drive real windows: programs started and always
// ended, windows waited for, and texts read until the receiver has caught up.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace taskloom::wintest {

// A program started for a test. The destructor ends it if it still runs, so
// a failing test leaves nothing behind.
class ChildProcess {
public:
    // Starts `commandLine` (CreateProcessA) in `folder` (the test's current
    // folder when empty), its standard output and error going to the given
    // inheritable handles when there are any; throws std::runtime_error when
    // it cannot be started. `flags`: CreateProcessA's creation flags
    // (CREATE_NEW_CONSOLE: a console program gets a console window).
    explicit ChildProcess(const std::string& commandLine, const std::string& folder = {},
                          HANDLE out = nullptr, HANDLE err = nullptr, DWORD flags = 0);
    // Takes charge of a program that something else started (the shell);
    // throws std::runtime_error when it cannot be opened.
    explicit ChildProcess(DWORD pid);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    DWORD id() const { return info_.dwProcessId; }
    bool running() const;
    // Waits up to `ms` for the program to end by itself.
    bool waitForExit(DWORD ms) const;
    // Waits up to `ms` until the program, started, first waits for input
    // (WaitForInputIdle).
    bool waitForInputIdle(DWORD ms) const;
    // The exit status of a program that has ended; STILL_ACTIVE otherwise.
    DWORD exitCode() const;

private:
    PROCESS_INFORMATION info_{};
};

// A folder of its own for one test, made under the temporary folder and
// removed with everything in it when the test is over.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder with a trailing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// How a program that was run to its end went.
struct Finished {
    DWORD status = 0;
    bool timedOut = false;  // it was ended by force after the time allowed
    std::string out;        // standard output, lines ended by "\n"
    std::string err;        // standard error, lines ended by "\n"
    DWORD ms = 0;           // from start to end
};

// A program started in `folder` with its standard output and error caught in
// files there. finish() waits for its end; a program that is still running
// then (or when the object goes) is ended.
class CapturedRun {
public:
    CapturedRun(const std::string& commandLine, const std::string& folder);
    ~CapturedRun();
    CapturedRun(const CapturedRun&) = delete;
    CapturedRun& operator=(const CapturedRun&) = delete;
    CapturedRun(CapturedRun&&) = default;

    Finished finish(DWORD timeoutMs = 20000);

private:
    struct Files;
    std::unique_ptr<Files> files_;
    std::unique_ptr<ChildProcess> program_;
    ULONGLONG start_ = 0;
};

// The console runner taskloom.exe of this build.
std::string TaskloomExe();

// A path as the build gave it (a Unix path under Wine) as this program must
// use it: under Wine, drive Z: is the Unix root.
std::string FromBuildPath(const std::string& path);

// Writes the lines as the script file `name` (comma text) into `folder` and
// starts "taskloom.exe run OPTIONS FILE" there.
CapturedRun StartScript(const TempFolder& folder, const std::vector<std::string>& lines,
                        const std::string& options = {}, const std::string& name = "script.tks");

// Whether Shift, Ctrl or Alt is down as far as the keyboard state shared by
// every program goes.
bool ModifierDown();

// Key presses as the keyboard makes them (virtual key and scan code), to
// whichever window has the focus: one key down or up; a key pressed and let
// go; a combination (the modifiers down in turn, the key, the modifiers up
// again last first).
void KeyEvent(BYTE vk, bool up);
void PressKey(BYTE vk);
void PressKeys(std::initializer_list<BYTE> mods, BYTE vk);

// A tl_target started for a test with its window shown; ended with the
// object.
class Target {
public:
    // `options`: tl_target's options, the title among them when not the
    // default; `title`: the title its window shows.
    Target(const std::string& options, const std::string& title);
    HWND window() const { return window_; }
    // The multi-line field (nullptr in the form).
    HWND field() const { return field_; }
    // The first child control whose text is `text`; nullptr when none.
    HWND control(const std::string& text) const;
    // The field's text once it has stopped changing (see ReadUntilStable).
    std::string fieldText(const std::optional<std::string>& expected = std::nullopt) const;

private:
    ChildProcess process_;
    HWND window_ = nullptr;
    HWND field_ = nullptr;
};

// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& name);

// The libraries a program file imports (its import table), in lower case;
// empty when the file is not a readable 64-bit image.
std::vector<std::string> ImportedLibraries(const std::string& exePath);

// The folder of the running test program, with a trailing backslash.
std::string ExeDir();

// Quotes one command-line argument.
std::string Quote(const std::string& arg);

// Calls `done` every 20 ms until it answers true or `timeoutMs` has passed;
// answers whether it did.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// The same while running this thread's messages (for forms hosted on the
// test's own thread, and the hot keys' WM_HOTKEY).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Whether the test can take this hot key: false while someone holds it.
bool HotKeyFree(UINT mods, UINT vk);

// Whether the registry key `path` under `root` is there (and can be read).
bool KeyExists(HKEY root, const std::string& path);

// The visible top-level window with exactly this title that belongs to the
// process `pid` (any process when 0); nullptr when none showed up in time.
// The first program with a window in a fresh Wine prefix also starts the
// prefix's desktop: on a loaded machine that has taken more than 15 s.
HWND WaitForWindow(const std::string& title, DWORD pid, DWORD timeoutMs = 60000);

// Waits until a program that shows its window in front (a new program
// does) has done so: it waits for input and `main` has the foreground. A
// test that activates a window before that may lose the foreground to the
// program's own start-up.
void WaitForStartup(const ChildProcess& program, HWND main);

// The first child (depth first) of `parent` whose class name is `className`.
HWND FindChildByClass(HWND parent, const std::string& className);

// Sets a control's text through WM_SETTEXT (also across processes).
void SetControlText(HWND control, const std::string& text);

// A control's whole text through WM_GETTEXT, which works across processes
// (GetWindowTextA only sees another program's window captions).
std::string ControlText(HWND control);

// The texts of a message box's children, joined by "|", once the box has
// filled them in: a box can be visible a moment before its message and its
// buttons have their texts. Whatever is there after `timeoutMs`, when they
// never come.
std::string MessageBoxTexts(HWND box, DWORD timeoutMs = 5000);

// The hint that a tooltip of `form`'s thread shows for `control` ("" when
// none).
std::string HintOf(HWND form, HWND control);

// The text of a tree view's item (up to 1023 characters); empty when the
// item has none or is not there.
std::string TreeItemText(HWND tree, HTREEITEM item);

// Reads the control until its text stops changing: the receiver may take in
// typed keys more slowly than they were sent. With `expected`, returns as
// soon as the text equals it and has stayed so for a short while; otherwise
// (or when it never does) after `quietMs` without change, or at `timeoutMs`.
std::string ReadUntilStable(HWND control, const std::optional<std::string>& expected = std::nullopt,
                            DWORD quietMs = 2000, DWORD timeoutMs = 30000);

}  // namespace taskloom::wintest
