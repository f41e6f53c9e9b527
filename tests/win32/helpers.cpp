#include "tests/win32/helpers.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace taskloom::wintest {

ChildProcess::ChildProcess(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');  // CreateProcessA may write into the command line
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_))
        throw std::runtime_error("cannot start " + commandLine + " (error " +
                                 std::to_string(GetLastError()) + ")");
}

ChildProcess::ChildProcess(DWORD pid) {
    info_.hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!info_.hProcess) throw std::runtime_error("cannot open process " + std::to_string(pid));
    info_.dwProcessId = pid;
}

ChildProcess::~ChildProcess() {
    if (running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    if (info_.hThread) CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool ChildProcess::waitForExit(DWORD ms) const { return WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0; }

std::string ExeDir() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        path.resize(path.size() * 2);  // cut: try again with room to spare
    }
    return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string Quote(const std::string& arg) { return "\"" + arg + "\""; }

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

HWND WaitForWindow(const std::string& title, DWORD pid, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND h = FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); h;
                 h = FindWindowExA(nullptr, h, nullptr, title.c_str())) {
                DWORD owner = 0;
                GetWindowThreadProcessId(h, &owner);
                if ((pid == 0 || owner == pid) && IsWindowVisible(h)) {
                    found = h;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

namespace {

struct ClassSearch {
    const std::string* name;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND h, LPARAM p) {
    auto* search = reinterpret_cast<ClassSearch*>(p);
    char cls[256];
    if (GetClassNameA(h, cls, sizeof cls) > 0 && lstrcmpiA(cls, search->name->c_str()) == 0) {
        search->found = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindChildByClass(HWND parent, const std::string& className) {
    ClassSearch search{&className, nullptr};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    // Room for text that grows between the two messages.
    std::string text(length + 256, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &got))
        return {};
    text.resize(std::min<size_t>(got, text.size() - 1));
    return text;
}

std::string ReadUntilStable(HWND control, const std::optional<std::string>& expected, DWORD quietMs,
                            DWORD timeoutMs) {
    // Once the expected text is there, a short quiet spell is enough to see
    // that no stray key follows it.
    constexpr DWORD kConfirmMs = 200;
    const ULONGLONG start = GetTickCount64();
    std::string last = ControlText(control);
    ULONGLONG changed = start;
    for (;;) {
        Sleep(20);
        const ULONGLONG now = GetTickCount64();
        std::string text = ControlText(control);
        if (text != last) {
            last = std::move(text);
            changed = now;
            continue;
        }
        const DWORD quiet = (expected && last == *expected) ? kConfirmMs : quietMs;
        if (now - changed >= quiet || now - start >= timeoutMs) return last;
    }
}

}  // namespace taskloom::wintest
