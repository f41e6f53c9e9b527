// composer_bench: Loomwright's start-up beside Wine's notepad, and the cost
// of running a script by Test in the composer beside the console runner.
//
//   composer_bench.exe [--quick] [--runs N] [--lines N]
//   (default 10 runs and scripts of up to 10,000 lines; --quick: 3 runs)
//
// Start-up: from CreateProcess to the program's main window visible (the
// composer shows its window after VexaInit has listed the titles and read
// the first title's menu), polled every millisecond; each program is closed
// before the next start. Notepad and the composer take turns.
//
// Test overhead: scripts of label lines and counted loops (no keys) of a
// quarter, half and all of --lines. Each block "{.Ln}", "{:LoopTimes Ln 2}" runs
// three lines (label, loop back, label, loop done: four line runs per two
// lines). Timed: TestBtnClick on the composer's form (hosted in this
// process, every line selected through MacroBoxClick, as a user's Test
// does), "taskloom run FILE" as a process (its start included), and the
// engine alone with an in-memory list (the floor).
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

// Milliseconds from the start of `commandLine` to its window titled `title`
// visible; negative when it never showed.
double StartUp(const std::string& commandLine, const std::string& title) {
    const double start = NowMs();
    wintest::ChildProcess program(commandLine);
    const double deadline = start + 30000;
    for (;;) {
        const HWND w = FindWindowA(nullptr, title.c_str());
        if (w && IsWindowVisible(w)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == program.id()) {
                const double shown = NowMs() - start;
                PostMessageA(w, WM_CLOSE, 0, 0);
                program.waitForExit(10000);
                return shown;
            }
        }
        if (NowMs() > deadline) return -1;
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
    std::vector<NumberOption> numbers{{"--runs", 10}, {"--lines", 10000}};
    bool quick = false;
    std::vector<std::string> rest;
    if (!ReadOptions(argc, argv, numbers, quick, rest) || !rest.empty() || numbers[0].value < 1 ||
        numbers[1].value < 4) {
        std::printf("usage: composer_bench [--quick] [--runs N] [--lines N]\n");
        return 1;
    }
    const int runs = quick ? 3 : static_cast<int>(numbers[0].value);
    const int most = static_cast<int>(numbers[1].value);
    const std::string composer = wintest::FromBuildPath(LOOMWRIGHT_EXE);
    std::printf("composer_bench: %d runs a figure\n", runs);

    std::vector<double> notepad, loomwright;
    for (int i = 0; i < runs; ++i) {
        const double n = StartUp("notepad.exe", "Untitled - Notepad");
        const double l = StartUp(wintest::Quote(composer), "Taskloom - New");
        if (n < 0 || l < 0) {
            std::printf("a program did not show its window\n");
            return 1;
        }
        notepad.push_back(n);
        loomwright.push_back(l);
    }
    std::printf("start-up to the main window shown\n");
    std::printf("  %-30s %s\n", "notepad", Describe(Summarize(notepad), "ms").c_str());
    std::printf("  %-30s %s\n", "loomwright", Describe(Summarize(loomwright), "ms").c_str());

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
    return 0;
}
