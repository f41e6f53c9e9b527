#include "wingui/startup_trace.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace wingui {

namespace {

struct Trace {
    bool read = false;
    bool on = false;
    HANDLE out = INVALID_HANDLE_VALUE;
    bool ownsOut = false;
    char program[32] = "taskloom";
    double createdMs = 0;  // the process's creation, on the system clock
    double lastMs = 0;
};

Trace& State() {
    static Trace trace;
    return trace;
}

double MsOf(const FILETIME& t) {
    ULARGE_INTEGER u;
    u.LowPart = t.dwLowDateTime;
    u.HighPart = t.dwHighDateTime;
    return static_cast<double>(u.QuadPart) / 10000.0;
}

double NowMs() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return MsOf(now);
}

void Read(Trace& t) {
    t.read = true;
    char value[MAX_PATH + 1];
    const DWORD n = GetEnvironmentVariableA("TASKLOOM_STARTUP_TRACE", value, sizeof value);
    if (n == 0 || n >= sizeof value || std::strcmp(value, "0") == 0) return;
    if (std::strcmp(value, "1") == 0) {
        t.out = GetStdHandle(STD_ERROR_HANDLE);
    } else {
        t.out = CreateFileA(value, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        t.ownsOut = t.out != INVALID_HANDLE_VALUE;
    }
    if (t.out == nullptr || t.out == INVALID_HANDLE_VALUE) return;
    t.on = true;
    FILETIME created, ended, kernel, user;
    t.createdMs =
        GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user) ? MsOf(created) : NowMs();
    t.lastMs = t.createdMs;
}

}  // namespace

void StartupTraceBegin(const char* program) {
    Trace& t = State();
    std::snprintf(t.program, sizeof t.program, "%s", program);
    if (!t.read) Read(t);
}

bool StartupTraceOn() {
    Trace& t = State();
    if (!t.read) Read(t);
    return t.on;
}

void StartupStep(const char* step) {
    Trace& t = State();
    if (!t.read) Read(t);
    if (!t.on) return;
    const double now = NowMs();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    const double privateMb = GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)
                                 ? static_cast<double>(memory.PagefileUsage) / 1048576.0
                                 : -1.0;
    char line[256];
    const int n = std::snprintf(line, sizeof line, "%-12s %9.1f ms %+9.1f ms %7.2f MB  %s\r\n", t.program,
                                now - t.createdMs, now - t.lastMs, privateMb, step);
    t.lastMs = now;
    if (n <= 0) return;
    DWORD written = 0;
    WriteFile(t.out, line, static_cast<DWORD>(std::min<int>(n, sizeof line - 1)), &written, nullptr);
}

}  // namespace wingui
