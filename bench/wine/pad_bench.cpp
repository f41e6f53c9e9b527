// pad_bench: Tessdeck's start-up and its idle cost beside Wine's notepad.
//
//   pad_bench.exe [--quick] [--runs N] [--idle-seconds N] [--trace-runs N]
//                 [--compare EXE]
//   (default 10 runs and 60 idle seconds; --quick: 3 runs, 10 seconds)
//
// Start-up: from CreateProcess to the program's main window visible (the
// pad: its bar "Tessdeck", started with a pad file of five icons; notepad:
// "Untitled - Notepad"), polled every millisecond; each program is closed
// (WM_CLOSE) before the next start and the two take turns. One untimed
// start of each comes first: the pad's first start in a fresh prefix writes
// its registry key and the ".tks" association.
//
// With --compare, another build of the pad (a before-and-after in one run)
// takes its turn too. Then --trace-runs starts of each pad with the start-up
// trace on (TASKLOOM_STARTUP_TRACE), summed up as a table of steps.
//
// Idle: the programs started side by side and left alone for a few seconds
// to settle; then their processor time (kernel and user, GetProcessTimes)
// over the idle period as a share of the wall time, and their working set
// and private bytes (GetProcessMemoryInfo) at its end.
//
// The last lines: the pads' start-up medians and private bytes beside
// notepad's.
#include <windows.h>
#include <psapi.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/wine/wine_measure.h"
#include "engine/filestore.h"
#include "tests/win32/helpers.h"

namespace {

using namespace taskloom;
using namespace taskloom::winebench;

const char* const kPadTitle = "Tessdeck";
const char* const kNotepadTitle = "Untitled - Notepad";

const std::string kFivePad =
    "0\tProgram\t\tnotepad.exe\r3\tWeb\t\thttp://example.org\r5\tScript\t\tc:\\a.tks\r"
    "9\tClock\t\tclock.exe\r41\tHelp\t\thelp.exe\r";

// The program's visible window titled `title`, polled every millisecond up
// to `timeoutMs`; null when it never showed.
HWND WaitForOwnWindow(DWORD pid, const char* title, DWORD timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title); w;
             w = FindWindowExA(nullptr, w, nullptr, title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w)) return w;
        }
        if (NowMs() > deadline) return nullptr;
        Sleep(1);
    }
}

bool Close(HWND w, const wintest::ChildProcess& program) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    return program.waitForExit(20000);
}

// Milliseconds from the start of `commandLine` to its window visible;
// negative when it never showed or did not end when closed.
double StartUp(const std::string& commandLine, const char* title, const std::string& folder) {
    const double start = NowMs();
    wintest::ChildProcess program(commandLine, folder);
    const HWND w = WaitForOwnWindow(program.id(), title, 30000);
    if (!w) return -1;
    const double shown = NowMs() - start;
    return Close(w, program) ? shown : -1;
}

double Seconds(const FILETIME& t) {
    ULARGE_INTEGER u;
    u.LowPart = t.dwLowDateTime;
    u.HighPart = t.dwHighDateTime;
    return static_cast<double>(u.QuadPart) / 1e7;
}

// Kernel plus user time of the process in seconds; negative when unknown.
double ProcessorSeconds(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
    return Seconds(kernel) + Seconds(user);
}

// The whole of a file that reports no size (Linux's /proc files).
std::string ReadUnknownSize(const std::string& name) {
    std::string text;
    const HANDLE f = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(f);
    return text;
}

// Under Wine, the processor seconds (user and system, at 100 ticks a
// second) of the one Unix process of this Wine prefix whose command line
// holds `program`, read from Z:\proc\PID\stat; negative when there is not
// exactly one. A cross-check of GetProcessTimes, which Wine may not fill for
// another process.
double UnixProcessorSeconds(const char* program) {
    char prefix[1024];
    const DWORD n = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (n == 0 || n >= sizeof prefix) return -1;
    const std::string wanted = std::string("WINEPREFIX=") + prefix + '\0';
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    double seconds = -1;
    int matches = 0;
    do {
        const std::string pid = found.cFileName;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string dir = "Z:\\proc\\" + pid + "\\";
        std::string command = ReadUnknownSize(dir + "cmdline");
        for (char& c : command) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (command.find(program) == std::string::npos) continue;
        if (ReadUnknownSize(dir + "environ").find(wanted) == std::string::npos) continue;
        const std::string stat = ReadUnknownSize(dir + "stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        std::vector<std::string> fields;
        std::size_t at = close + 2;
        while (at < stat.size()) {
            const std::size_t end = stat.find(' ', at);
            fields.push_back(stat.substr(at, end == std::string::npos ? std::string::npos : end - at));
            if (end == std::string::npos) break;
            at = end + 1;
        }
        if (fields.size() < 13) continue;
        seconds = (std::stod(fields[11]) + std::stod(fields[12])) / 100.0;
        ++matches;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return matches == 1 ? seconds : -1;
}

// One program kept running for the idle measurement.
struct Idler {
    Idler(const std::string& commandLine, const char* title, const std::string& folder)
        : program(commandLine, folder), title(title) {
        window = WaitForOwnWindow(program.id(), title, 30000);
        handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.id());
    }
    ~Idler() {
        if (window) Close(window, program);
        if (handle) CloseHandle(handle);
    }
    Idler(const Idler&) = delete;
    Idler& operator=(const Idler&) = delete;

    wintest::ChildProcess program;
    const char* title;
    HWND window = nullptr;
    HANDLE handle = nullptr;
    double cpuBefore = 0;
};

// Private bytes in MB; negative when unknown.
double PrivateMb(const Idler& idler) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(idler.handle, &memory, sizeof memory)) return -1;
    return memory.PagefileUsage / 1048576.0;
}

void Report(const char* name, const Idler& idler, double cpuAfter, double wallSeconds) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    const bool haveMemory = GetProcessMemoryInfo(idler.handle, &memory, sizeof memory) != 0;
    if (idler.cpuBefore < 0 || cpuAfter < 0) {
        std::printf("  %-10s processor time unknown (GetProcessTimes failed: %lu)\n", name, GetLastError());
    } else {
        const double used = cpuAfter - idler.cpuBefore;
        std::printf("  %-10s processor %.3f s in %.1f s = %.4f %% (%.3f s since its start)\n", name, used,
                    wallSeconds, 100.0 * used / wallSeconds, cpuAfter);
    }
    if (haveMemory) {
        std::printf("  %-10s working set %.2f MB (peak %.2f MB), private %.2f MB\n", name,
                    memory.WorkingSetSize / 1048576.0, memory.PeakWorkingSetSize / 1048576.0,
                    memory.PagefileUsage / 1048576.0);
    } else {
        std::printf("  %-10s working set unknown (GetProcessMemoryInfo failed: %lu)\n", name, GetLastError());
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<NumberOption> numbers{{"--runs", 10}, {"--idle-seconds", 60}, {"--trace-runs", -1}};
    bool quick = false;
    std::vector<std::string> rest;
    bool ok = ReadOptions(argc, argv, numbers, quick, rest) && numbers[0].value >= 1 && numbers[1].value >= 1;
    std::string compare;
    for (std::size_t i = 0; ok && i < rest.size(); ++i) {
        if (rest[i] == "--compare" && i + 1 < rest.size())
            compare = rest[++i];
        else
            ok = false;
    }
    if (!ok) {
        std::printf(
            "usage: pad_bench [--quick] [--runs N] [--idle-seconds N] [--trace-runs N] [--compare EXE]\n");
        return 1;
    }
    const int runs = quick ? 3 : static_cast<int>(numbers[0].value);
    const long idleSeconds = quick ? 10 : numbers[1].value;
    const int traceRuns = numbers[2].value < 0 ? runs : static_cast<int>(numbers[2].value);
    const std::string padExe = wintest::FromBuildPath(TESSDECK_EXE);
    wintest::TempFolder folder;
    const std::string padFile = folder / "five.tkp";
    WriteTextFile(padFile, kFivePad);
    struct Program {
        std::string name, command;
        const char* title;
        std::vector<double> shown;
        double privateMb = -1;
    };
    std::vector<Program> programs{
        {"notepad", "notepad.exe", kNotepadTitle, {}},
        {"tessdeck", wintest::Quote(padExe) + " " + wintest::Quote(padFile), kPadTitle, {}}};
    if (!compare.empty())
        programs.push_back(
            {"compared", wintest::Quote(compare) + " " + wintest::Quote(padFile), kPadTitle, {}});
    std::printf("pad_bench: %d runs, %ld idle seconds\n", runs, idleSeconds);

    // Warm-up: the pad's first start writes its keys; the programs' files
    // come into the cache.
    for (const Program& p : programs) {
        if (StartUp(p.command, p.title, folder.path()) < 0) {
            std::printf("%s did not show its window in the warm-up\n", p.name.c_str());
            return 1;
        }
    }
    for (int i = 0; i < runs; ++i) {
        for (Program& p : programs) {
            const double ms = StartUp(p.command, p.title, folder.path());
            if (ms < 0) {
                std::printf("%s did not show its window or did not end\n", p.name.c_str());
                return 1;
            }
            p.shown.push_back(ms);
        }
    }
    std::printf("start-up to the main window shown, taking turns\n");
    for (const Program& p : programs)
        std::printf("  %-10s %s\n", p.name.c_str(), Describe(Summarize(p.shown), "ms").c_str());
    if (!compare.empty()) std::printf("  (compared: %s)\n", compare.c_str());

    for (std::size_t k = 1; traceRuns > 0 && k < programs.size(); ++k)
        PrintTracedSteps(programs[k].name, traceRuns,
                         [&] { StartUp(programs[k].command, programs[k].title, folder.path()); });

    std::printf("idle, side by side\n");
    {
        std::vector<std::unique_ptr<Idler>> idlers;
        for (const Program& p : programs) {
            idlers.push_back(std::make_unique<Idler>(p.command, p.title, folder.path()));
            if (!idlers.back()->window || !idlers.back()->handle) {
                std::printf("%s did not show its window or cannot be opened (%lu)\n", p.name.c_str(),
                            GetLastError());
                return 1;
            }
        }
        Sleep(5000);  // start-up work done, window painted
        const double start = NowMs();
        std::vector<double> unixBefore;
        for (std::size_t k = 0; k < programs.size(); ++k) {
            idlers[k]->cpuBefore = ProcessorSeconds(idlers[k]->handle);
            unixBefore.push_back(k == 0                           ? UnixProcessorSeconds("notepad.exe")
                                 : k == 1 && programs.size() == 2 ? UnixProcessorSeconds("tessdeck.exe")
                                                                  : -1);
        }
        Sleep(static_cast<DWORD>(idleSeconds * 1000));
        const double wall = (NowMs() - start) / 1000.0;
        for (std::size_t k = 0; k < programs.size(); ++k) {
            const char* name = programs[k].name.c_str();
            const double after = unixBefore[k] < 0 ? -1
                                 : k == 0          ? UnixProcessorSeconds("notepad.exe")
                                                   : UnixProcessorSeconds("tessdeck.exe");
            if (unixBefore[k] < 0 || after < 0) {
                std::printf("  %-10s Unix process not found in Z:\\proc (or not told apart)\n", name);
            } else {
                std::printf(
                    "  %-10s Unix process: processor %.2f s in %.1f s = %.4f %% (%.2f s since its start)\n",
                    name, after - unixBefore[k], wall, 100.0 * (after - unixBefore[k]) / wall, after);
            }
            Report(name, *idlers[k], ProcessorSeconds(idlers[k]->handle), wall);
            programs[k].privateMb = PrivateMb(*idlers[k]);
        }
    }

    const double notepadShown = Summarize(programs[0].shown).median;
    std::printf(
        "beside notepad (medians; goals: shown at most 1.0 times, private at most notepad's + 2 MB)\n");
    for (std::size_t k = 1; k < programs.size(); ++k) {
        const double shown = Summarize(programs[k].shown).median;
        const double extra = programs[k].privateMb - programs[0].privateMb;
        std::printf("  %-10s shown %.2f times notepad's (%s); private %.2f MB, notepad's + %.2f MB (%s)\n",
                    programs[k].name.c_str(), shown / notepadShown, shown <= notepadShown ? "met" : "missed",
                    programs[k].privateMb, extra, extra <= 2.0 ? "met" : "missed");
    }
    return 0;
}
