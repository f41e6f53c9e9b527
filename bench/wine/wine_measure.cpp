#include "bench/wine/wine_measure.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "tests/win32/helpers.h"

namespace taskloom::winebench {

double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / perMs;
}

Summary Summarize(std::vector<double> values) {
    Summary s;
    s.count = values.size();
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    s.min = values.front();
    s.max = values.back();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    // Nearest rank.
    const std::size_t rank = (n * 9 + 9) / 10;
    s.p90 = values[std::min(n, std::max<std::size_t>(rank, 1)) - 1];
    return s;
}

std::string Describe(const Summary& s, const char* unit, int decimals) {
    char text[200];
    std::snprintf(text, sizeof text, "median %.*f %s (min %.*f, p90 %.*f, max %.*f, n=%zu)", decimals,
                  s.median, unit, decimals, s.min, decimals, s.p90, decimals, s.max, s.count);
    return text;
}

namespace {

// Length of a longest common subsequence, from the shortest edit script of
// insertions and deletions (Myers): O((n + m) D) for D edits, so a text that
// arrived whole costs one pass.
std::size_t CommonSubsequenceLength(const std::string& a, const std::string& b) {
    const long n = static_cast<long>(a.size()), m = static_cast<long>(b.size());
    const long most = n + m;
    if (most == 0) return 0;
    std::vector<long> v(static_cast<std::size_t>(2 * most + 2), 0);
    const long offset = most;
    for (long d = 0; d <= most; ++d) {
        for (long k = -d; k <= d; k += 2) {
            long x;
            if (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                x = v[offset + k + 1];
            else
                x = v[offset + k - 1] + 1;
            long y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            v[offset + k] = x;
            if (x >= n && y >= m) return static_cast<std::size_t>((n + m - d) / 2);
        }
    }
    return 0;
}

}  // namespace

TextDifference CompareTexts(const std::string& typed, const std::string& received) {
    TextDifference diff;
    std::array<long, 256> balance{};
    for (unsigned char c : typed) ++balance[c];
    for (unsigned char c : received) --balance[c];
    for (long b : balance) {
        if (b > 0) diff.lost += static_cast<std::size_t>(b);
        if (b < 0) diff.extra += static_cast<std::size_t>(-b);
    }
    const std::size_t common = typed.size() - diff.lost;
    diff.reordered = common - CommonSubsequenceLength(typed, received);
    return diff;
}

std::string WithNewlines(const std::string& fieldText) {
    std::string out;
    out.reserve(fieldText.size());
    for (std::size_t i = 0; i < fieldText.size(); ++i) {
        if (fieldText[i] == '\r' && i + 1 < fieldText.size() && fieldText[i + 1] == '\n') continue;
        out += fieldText[i];
    }
    return out;
}

std::optional<std::string> UnixPath(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(const WCHAR*);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto convert = kernel ? reinterpret_cast<Convert>(reinterpret_cast<void*>(
                                      GetProcAddress(kernel, "wine_get_unix_file_name")))
                                : nullptr;
    if (!convert) return std::nullopt;
    const int wide = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    if (wide <= 0) return std::nullopt;
    std::wstring path(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, path.data(), wide);
    char* unix = convert(path.c_str());
    if (!unix) return std::nullopt;
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool StartUnixProgram(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    return true;
}

std::size_t TextLength(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return 0;
    return length;
}

Arrival WaitForLength(HWND control, std::size_t length, DWORD quietMs, DWORD timeoutMs) {
    Arrival a;
    const double start = NowMs();
    std::size_t last = TextLength(control);
    // Already whole: it was when the sender returned, which is all we know.
    a.lastChangeMs = start;
    for (;;) {
        const double now = NowMs();
        const std::size_t current = TextLength(control);
        if (current != last) {
            last = current;
            a.lastChangeMs = now;
        }
        if (current == length) {
            a.complete = true;
            return a;
        }
        if (now - a.lastChangeMs >= quietMs || now - start >= timeoutMs) return a;
        Sleep(5);
    }
}

bool WaitForQuiet(HWND control, DWORD quietMs, DWORD timeoutMs) {
    const double start = NowMs();
    double changed = start;
    std::size_t last = TextLength(control);
    for (;;) {
        Sleep(20);
        const double now = NowMs();
        const std::size_t current = TextLength(control);
        if (current != last) {
            last = current;
            changed = now;
        }
        if (now - changed >= quietMs) return true;
        if (now - start >= timeoutMs) return false;
    }
}

std::string TempFile(const std::string& stem) {
    char dir[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof dir, dir);
    std::string base = (n > 0 && n < sizeof dir) ? std::string(dir, n) : std::string(".\\");
    return base + stem + "_" + std::to_string(GetCurrentProcessId());
}

bool FileExists(const std::string& file) {
    return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FindProgram(const char* name) {
    for (const char* dir : {"", "..\\..\\tests\\win32\\"}) {
        const std::string path = wintest::ExeDir() + dir + name;
        if (FileExists(path)) return path;
    }
    return {};
}

std::string RequireProgram(const char* name) {
    std::string path = FindProgram(name);
    if (path.empty()) std::printf("%s not found beside this program or in ..\\..\\tests\\win32\\\n", name);
    return path;
}

int ReadRuns(int argc, char** argv, const char* program, long defaultRuns) {
    std::vector<NumberOption> numbers = {{"--runs", defaultRuns}};
    bool quick = false;
    std::vector<std::string> rest;
    if (!ReadOptions(argc, argv, numbers, quick, rest) || !rest.empty() || numbers[0].value < 1) {
        std::fprintf(stderr, "usage: %s [--quick] [--runs N]\n", program);
        return 0;
    }
    return quick ? 3 : static_cast<int>(numbers[0].value);
}

bool ReadOptions(int argc, char** argv, std::vector<NumberOption>& numbers, bool& quick,
                 std::vector<std::string>& rest) {
    quick = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--quick") {
            quick = true;
            continue;
        }
        bool known = false;
        for (NumberOption& n : numbers) {
            if (a != n.name) continue;
            known = true;
            char* end = nullptr;
            const long v = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : -1;
            if (i + 1 >= argc || end == argv[i + 1] || *end != '\0' || v < 0) {
                std::fprintf(stderr, "%s needs a number\n", n.name);
                return false;
            }
            n.value = v;
            ++i;
        }
        if (!known) rest.push_back(a);
    }
    return true;
}

}  // namespace taskloom::winebench

namespace taskloom::winebench {

std::vector<StepFigure> ReadStepTable(const std::string& traceFile) {
    std::vector<std::string> order;
    struct Values {
        std::vector<double> step, since, mb;
    };
    std::vector<Values> values;
    const HANDLE f = CreateFileA(traceFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    std::string text;
    if (f != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
        CloseHandle(f);
    }
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        char program[64];
        double since = 0, step = 0, mb = 0;
        int nameAt = 0;
        if (std::sscanf(line.c_str(), "%63s %lf ms %lf ms %lf MB %n", program, &since, &step, &mb, &nameAt) <
                4 ||
            nameAt <= 0)
            continue;
        const std::string name = line.substr(static_cast<std::size_t>(nameAt));
        std::size_t i = std::find(order.begin(), order.end(), name) - order.begin();
        if (i == order.size()) {
            order.push_back(name);
            values.emplace_back();
        }
        values[i].step.push_back(step);
        values[i].since.push_back(since);
        values[i].mb.push_back(mb);
    }
    std::vector<StepFigure> table;
    for (std::size_t i = 0; i < order.size(); ++i) {
        StepFigure s;
        s.step = order[i];
        s.stepMs = Summarize(values[i].step).median;
        s.sinceMs = Summarize(values[i].since).median;
        s.privateMb = Summarize(values[i].mb).median;
        s.runs = values[i].step.size();
        table.push_back(s);
    }
    return table;
}

void PrintStepTable(const std::vector<StepFigure>& steps) {
    if (steps.empty()) {
        std::printf("    no trace lines (a build without the start-up trace?)\n");
        return;
    }
    std::printf("    %9s %9s %9s  %s\n", "step ms", "since ms", "private", "step (medians)");
    for (const StepFigure& s : steps)
        std::printf("    %9.1f %9.1f %6.2f MB  %s%s\n", s.stepMs, s.sinceMs, s.privateMb, s.step.c_str(),
                    s.runs == steps.front().runs ? "" : " (not every run)");
}

TraceEnvironment::TraceEnvironment(const std::string& file) {
    SetEnvironmentVariableA("TASKLOOM_STARTUP_TRACE", file.empty() ? nullptr : file.c_str());
}
TraceEnvironment::~TraceEnvironment() { SetEnvironmentVariableA("TASKLOOM_STARTUP_TRACE", nullptr); }

void PrintTracedSteps(const std::string& name, int runs, const std::function<void()>& startOnce) {
    wintest::TempFolder traceFolder;
    const std::string file = traceFolder / "trace.txt";
    {
        TraceEnvironment trace(file);
        for (int i = 0; i < runs; ++i) startOnce();
    }
    std::printf("start-up steps of %s, %d traced runs\n", name.c_str(), runs);
    PrintStepTable(ReadStepTable(file));
}

}  // namespace taskloom::winebench
