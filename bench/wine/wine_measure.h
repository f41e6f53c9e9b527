// Small tools shared by the Wine benchmarks: a fine clock, summaries of
// repeated measurements, a comparison of typed and received text, and Unix
// programs (xdotool) started from inside Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace taskloom::winebench {

// Milliseconds on the performance counter.
double NowMs();

struct Summary {
    std::size_t count = 0;
    double median = 0, min = 0, max = 0, p90 = 0;
};
Summary Summarize(std::vector<double> values);
// "median 12.3 (min 11.0, p90 13.1, max 14.2, n=20)"
std::string Describe(const Summary& s, const char* unit, int decimals = 1);

// How the received text differs from the typed one. `lost` and `extra` are
// the characters one text has more of than the other, counted per
// character value; of the characters both have, `reordered` are those that
// do not fit into a longest common subsequence, that is, arrived in another
// order than they were typed.
struct TextDifference {
    std::size_t lost = 0, extra = 0, reordered = 0;
    bool exact() const { return lost == 0 && extra == 0 && reordered == 0; }
};
TextDifference CompareTexts(const std::string& typed, const std::string& received);

// A field's text with its line breaks ("\r\n") as single "\n".
std::string WithNewlines(const std::string& fieldText);

// The Unix path of a Windows path when running under Wine; nothing on
// Windows itself.
std::optional<std::string> UnixPath(const std::string& windowsPath);

// Starts a Unix program under Wine (Wine runs a Unix executable named in
// CreateProcess as a Unix process; its handle cannot be waited on, so the
// caller watches for its effect or for a file it writes at its end). False
// when it cannot be started.
bool StartUnixProgram(const std::string& commandLine);

// Waits until the control's text length is `length` or has not changed for
// `quietMs` (at most `timeoutMs`); answers the time (NowMs) of the last
// change seen (the call's own time when there was none), and whether the
// length was reached.
struct Arrival {
    double lastChangeMs = 0;
    bool complete = false;
};
Arrival WaitForLength(HWND control, std::size_t length, DWORD quietMs, DWORD timeoutMs);

// Waits until the control's text length has not changed for `quietMs`:
// whatever was typed before has all arrived. False at `timeoutMs`.
bool WaitForQuiet(HWND control, DWORD quietMs, DWORD timeoutMs);

// The control's text length (WM_GETTEXTLENGTH), 0 when it does not answer.
std::size_t TextLength(HWND control);

// A temporary file name of our own in the Windows temporary folder.
std::string TempFile(const std::string& stem);

bool FileExists(const std::string& file);

// One of our programs the benchmarks drive (tl_target.exe, tl_receiver.exe):
// beside the benchmark, or in the test folder of the same build tree
// (../../tests/win32/); empty when in neither.
std::string FindProgram(const char* name);

// Reads the options every benchmark here takes ("--runs N", "--quick") and
// the numbers one of them takes besides ("--chars N" ...): `numbers` holds
// the names and the defaults, and gets the values given. Other words are
// left in `rest`. False, after a message, when a number is missing or bad.
struct NumberOption {
    const char* name;
    long value;
};
bool ReadOptions(int argc, char** argv, std::vector<NumberOption>& numbers, bool& quick,
                 std::vector<std::string>& rest);

// For benchmarks that take only "--quick" and "--runs N": the number of runs
// (3 with --quick), or 0 after printing the usage of `program`.
int ReadRuns(int argc, char** argv, const char* program, long defaultRuns);

// FindProgram, saying where it looked when the program is in neither place.
std::string RequireProgram(const char* name);

}  // namespace taskloom::winebench

namespace taskloom::winebench {

// The start-up trace our programs write with TASKLOOM_STARTUP_TRACE set
// (one line a step: program, ms since the process was created, ms of the
// step, private MB after it, the step's name), summed up over the runs in
// the file: a run begins at its "process start to the program's entry"
// line. One row a step, in the order of the steps' first appearance.
struct StepFigure {
    std::string step;
    double stepMs = 0;     // median of the step's own time
    double sinceMs = 0;    // median of the time since the process was created
    double privateMb = 0;  // median of the private bytes after it
    std::size_t runs = 0;
};
std::vector<StepFigure> ReadStepTable(const std::string& traceFile);
void PrintStepTable(const std::vector<StepFigure>& steps);

// Puts TASKLOOM_STARTUP_TRACE in this process's environment (programs
// started afterwards inherit it) for the object's life; `file` empty: takes
// it out.
class TraceEnvironment {
public:
    explicit TraceEnvironment(const std::string& file);
    ~TraceEnvironment();
    TraceEnvironment(const TraceEnvironment&) = delete;
    TraceEnvironment& operator=(const TraceEnvironment&) = delete;
};

// Starts a program `runs` times with the start-up trace on (`startOnce`
// starts it once and waits for its window) and prints its steps' table.
void PrintTracedSteps(const std::string& name, int runs, const std::function<void()>& startOnce);

}  // namespace taskloom::winebench
