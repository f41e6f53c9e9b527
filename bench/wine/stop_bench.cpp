// stop_bench: how soon a run ends after a stop request from another thread,
// on the real desktop.
//
//   stop_bench.exe [--quick] [--runs N]   (default 20 runs; --quick: 3)
//
// Three scripts, each stopped N times at a random moment 50 to 300 ms into
// the run: an endless loop without pauses, an endless loop that types two
// characters a line into a receiver of ours (tl_receiver.exe, beside this
// program or in ../../tests/win32/), and a ":PauseSeconds 60". The figure is
// the time from the request to RunScript's return.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/wine/wine_measure.h"
#include "engine/engine.h"
#include "win32/win32_desktop.h"
#include "tests/sim/memory_host.h"
#include "tests/win32/helpers.h"

namespace {

constexpr char kReceiverTitle[] = "Taskloom Stop Bench Receiver";

}  // namespace

int main(int argc, char** argv) {
    using namespace taskloom;
    using namespace taskloom::winebench;
    const int runs = ReadRuns(argc, argv, "stop_bench", 20);
    if (runs == 0) return 1;
    const std::string exe = RequireProgram("tl_receiver.exe");
    if (exe.empty()) return 1;
    wintest::ChildProcess receiver(wintest::Quote(exe) + " " + wintest::Quote(kReceiverTitle));
    if (!wintest::WaitForWindow(kReceiverTitle, receiver.id())) {
        std::printf("the receiver did not show up\n");
        return 1;
    }
    struct Case {
        const char* name;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"endless loop without pauses", {"{.Spin}", "{:Goto Spin}"}},
        {"endless loop typing \"ab\" a line",
         {std::string("{:TO ") + kReceiverTitle + "}", "{.Type}", "ab", "{:Goto Type}"}},
        {":PauseSeconds 60", {"{:PauseSeconds 60}"}},
    };
    std::printf("stop_bench: %d stops of each, requested 50 to 300 ms into the run\n", runs);
    std::mt19937 gen(5);
    std::uniform_int_distribution<int> delay(50, 300);
    Win32Desktop desktop;
    for (const Case& c : cases) {
        std::vector<double> latencies;
        int notStopped = 0;
        for (int i = 0; i < runs; ++i) {
            sim::MemoryHost host(Flavor::Composer, c.lines);
            Engine engine(desktop, host);
            std::atomic<double> requestedAt{0};
            const int wait = delay(gen);
            std::atomic<bool> started{false};
            std::thread stopper([&] {
                while (!started) Sleep(1);
                Sleep(static_cast<DWORD>(wait));
                requestedAt = NowMs();
                engine.requestStop();
            });
            started = true;
            const RunEnd end = engine.RunScript();
            const double endedAt = NowMs();
            stopper.join();
            if (end != RunEnd::Stopped) ++notStopped;
            latencies.push_back(endedAt - requestedAt);
        }
        std::printf("  %-34s %s%s\n", c.name, Describe(Summarize(latencies), "ms", 2).c_str(),
                    notStopped ? (", " + std::to_string(notStopped) + " runs NOT stopped").c_str() : "");
    }
    for (BYTE vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
        if (GetAsyncKeyState(vk) & 0x8000) std::printf("  warning: virtual key %d left down\n", vk);
    return 0;
}
