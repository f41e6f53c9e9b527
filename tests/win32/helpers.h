// Helpers for tests that drive real windows: programs started and always
// ended, windows waited for, and texts read until the receiver has caught up.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace taskloom::wintest {

// A program started for a test. The destructor ends it if it still runs, so
// a failing test leaves nothing behind.
class ChildProcess {
public:
    // Starts `commandLine` (CreateProcessA); throws std::runtime_error when
    // it cannot be started.
    explicit ChildProcess(const std::string& commandLine);
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

private:
    PROCESS_INFORMATION info_{};
};

// The folder of the running test program, with a trailing backslash.
std::string ExeDir();

// Quotes one command-line argument.
std::string Quote(const std::string& arg);

// Calls `done` every 20 ms until it answers true or `timeoutMs` has passed;
// answers whether it did.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// The visible top-level window with exactly this title that belongs to the
// process `pid` (any process when 0); nullptr when none showed up in time.
HWND WaitForWindow(const std::string& title, DWORD pid, DWORD timeoutMs = 15000);

// The first child (depth first) of `parent` whose class name is `className`.
HWND FindChildByClass(HWND parent, const std::string& className);

// A control's whole text through WM_GETTEXT, which works across processes
// (GetWindowTextA only sees another program's window captions).
std::string ControlText(HWND control);

// Reads the control until its text stops changing: the receiver may take in
// typed keys more slowly than they were sent. With `expected`, returns as
// soon as the text equals it and has stayed so for a short while; otherwise
// (or when it never does) after `quietMs` without change, or at `timeoutMs`.
std::string ReadUntilStable(HWND control, const std::optional<std::string>& expected = std::nullopt,
                            DWORD quietMs = 2000, DWORD timeoutMs = 30000);

}  // namespace taskloom::wintest
