// composer_bench: Loomwright's start-up beside Wine's notepad, and the cost
// of running a script by Test in the composer beside the console runner.
//
//   composer_bench.exe [--quick] [--runs N] [--lines N] [--trace-runs N]
//                      [--compare EXE] [--start-only]
//   (default 10 runs and scripts of up to 10,000 lines; --quick: 3 runs)
//
// Start-up: from CreateProcess to the program's main window visible, and on
// to "ready for input" (WaitForInputIdle: the program has taken its first
// look at an empty queue, so the work it posted to itself at start is done;
// the composer's window list is filled before its window shows), polled
// every millisecond; each program is closed before the next start. Notepad,
// the composer and, with --compare, another build of the composer (a
// before-and-after in one run) take turns. Then --trace-runs starts of each
// composer with the start-up trace on (TASKLOOM_STARTUP_TRACE), summed up as
// a table of steps.
//
// Test overhead: scripts of label lines and counted loops (no keys) of a
// quarter, half and all of --lines. Each block "{.Ln}", "{:LoopTimes Ln 2}" runs
// three lines (label, loop back, label, loop done: four line runs per two
// lines). Timed: TestBtnClick on the composer's form (hosted in this
// process, every line selected through MacroBoxClick, as a user's Test
// does), "taskloom run FILE" as a process (its start included), and the
// engine alone with an in-memory list (the floor). --start-only leaves it out.
//
// The last lines: the start-up medians as ratios to notepad's.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/wine/wine_measure.h"
#include "engine/engine.h"
#include "engine/filestore.h"
#include "win32/win32_desktop.h"
#include "tests/sim/memory_host.h"
#include "tests/win32/composer_thread.h"
#include "tests/win32/helpers.h"

namespace {

using namespace taskloom;
using namespace taskloom::winebench;

struct Start {
    double shown = -1;  // ms to the main window visible
    double ready = -1;  // ms to ready for input
};

// The start of `commandLine` until its window titled `title` is visible and
// the program is ready for input; negative figures when it never showed.
Start StartUp(const std::string& commandLine, const std::string& title) {
    Start s;
    const double start = NowMs();
    wintest::ChildProcess program(commandLine);
    const double deadline = start + 30000;
    for (;;) {
        const HWND w = FindWindowA(nullptr, title.c_str());
        if (w && IsWindowVisible(w)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == program.id()) {
                s.shown = NowMs() - start;
                if (program.waitForInputIdle(30000)) s.ready = NowMs() - start;
                PostMessageA(w, WM_CLOSE, 0, 0);
                program.waitForExit(10000);
                return s;
            }
        }
        if (NowMs() > deadline) return s;
        Sleep(1);
    }
}

std::vector<std::string> LoopScript(int lines) {
    std::vector<std::string> script;
    for (int i = 0; i < lines / 2; ++i) {
        script.push_back("{.L" + std::to_string(i) + "}");
        script.push_back("{:LoopTimes L" + std::to_string(i) + " 2}");
    }
    return script;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<NumberOption> numbers{{"--runs", 10}, {"--lines", 10000}, {"--trace-runs", -1}};
    bool quick = false;
    std::vector<std::string> rest;
    bool ok = ReadOptions(argc, argv, numbers, quick, rest) && numbers[0].value >= 1 && numbers[1].value >= 4;
    std::string compare;
    bool startOnly = false;
    for (std::size_t i = 0; ok && i < rest.size(); ++i) {
        if (rest[i] == "--start-only")
            startOnly = true;
        else if (rest[i] == "--compare" && i + 1 < rest.size())
            compare = rest[++i];
        else
            ok = false;
    }
    if (!ok) {
        std::printf(
            "usage: composer_bench [--quick] [--runs N] [--lines N] [--trace-runs N] [--compare EXE] "
            "[--start-only]\n");
        return 1;
    }
    const int runs = quick ? 3 : static_cast<int>(numbers[0].value);
    const int most = static_cast<int>(numbers[1].value);
    const int traceRuns = numbers[2].value < 0 ? runs : static_cast<int>(numbers[2].value);
    const std::string composer = wintest::FromBuildPath(LOOMWRIGHT_EXE);
    std::printf("composer_bench: %d runs a figure\n", runs);

    struct Program {
        std::string name, command, title;
        std::vector<double> shown, ready;
    };
    std::vector<Program> programs{{"notepad", "notepad.exe", "Untitled - Notepad", {}, {}},
                                  {"loomwright", wintest::Quote(composer), "Taskloom - New", {}, {}}};
    if (!compare.empty()) programs.push_back({"compared", wintest::Quote(compare), "Taskloom - New", {}, {}});
    for (int i = 0; i < runs; ++i) {
        for (Program& p : programs) {
            const Start s = StartUp(p.command, p.title);
            if (s.shown < 0 || s.ready < 0) {
                std::printf("%s did not show its window or never waited for input\n", p.name.c_str());
                return 1;
            }
            p.shown.push_back(s.shown);
            p.ready.push_back(s.ready);
        }
    }
    std::printf("start-up, taking turns (ms)\n");
    for (const Program& p : programs) {
        std::printf("  %-12s shown %s\n", p.name.c_str(), Describe(Summarize(p.shown), "ms").c_str());
        std::printf("  %-12s ready %s\n", "", Describe(Summarize(p.ready), "ms").c_str());
    }
    if (!compare.empty()) std::printf("  (compared: %s)\n", compare.c_str());

    for (std::size_t k = 1; traceRuns > 0 && k < programs.size(); ++k)
        PrintTracedSteps(programs[k].name, traceRuns,
                         [&] { StartUp(programs[k].command, programs[k].title); });

    auto ratios = [&] {
        const double shown = Summarize(programs[0].shown).median, ready = Summarize(programs[0].ready).median;
        std::printf("ratio to notepad (medians)\n");
        for (std::size_t k = 1; k < programs.size(); ++k)
            std::printf("  %-12s shown %.2f (goal 1.0: %s), ready %.2f (goal 1.5: %s)\n",
                        programs[k].name.c_str(), Summarize(programs[k].shown).median / shown,
                        Summarize(programs[k].shown).median <= shown ? "met" : "missed",
                        Summarize(programs[k].ready).median / ready,
                        Summarize(programs[k].ready).median <= 1.5 * ready ? "met" : "missed");
    };
    if (startOnly) {
        ratios();
        return 0;
    }

    std::printf("running loop scripts (no keys): composer Test, taskloom run, engine alone\n");
    wintest::TempFolder folder;
    Win32Desktop desktop;
    loomwright::ComposerThread form;
    for (int lines : {most / 4, most / 2, most}) {
        const std::vector<std::string> script = LoopScript(lines);
        WriteScriptFile(folder / "loop.tks", script);
        std::vector<double> test, runner, floor;
        for (int i = 0; i < runs; ++i) {
            double ms = 0;
            form.call([&] {
                form.object().setScript(script);
                const double start = NowMs();
                form.object().TestBtnClick();
                ms = NowMs() - start;
            });
            test.push_back(ms);

            const double start = NowMs();
            wintest::Finished done = wintest::CapturedRun(wintest::Quote(wintest::TaskloomExe()) + " run " +
                                                              wintest::Quote(folder / "loop.tks"),
                                                          folder.path())
                                         .finish(120000);
            runner.push_back(NowMs() - start);
            if (done.status != 0) {
                std::printf("taskloom run failed (%lu): %s\n", done.status, done.err.c_str());
                return 1;
            }

            sim::MemoryHost host(Flavor::Composer, script);
            Engine engine(desktop, host);
            const double e = NowMs();
            engine.RunScript();
            floor.push_back(NowMs() - e);
        }
        const Summary t = Summarize(test), r = Summarize(runner), f = Summarize(floor);
        std::printf("  %5d lines (%5d line runs)\n", lines, lines * 2);
        std::printf("    %-26s %s\n", "composer Test", Describe(t, "ms").c_str());
        std::printf("    %-26s %s\n", "taskloom run (process)", Describe(r, "ms").c_str());
        std::printf("    %-26s %s\n", "engine, in-memory list", Describe(f, "ms").c_str());
        std::printf("    composer / runner: %.2f; composer per line run: %.1f us\n", t.median / r.median,
                    t.median * 1000.0 / (lines * 2));
    }
    ratios();
    return 0;
}
