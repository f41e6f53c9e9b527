// The stop request on the real desktop: a run in an endless loop without
// pauses, one that types in an endless loop, one in a minute's pause and one
// in a loop that waits for a window to go all end soon after another thread
// asks. The figures are printed; the bound
// checked here is loose (a busy machine must not fail the test), and the
// Wine benchmark stop_bench reports the distribution.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/engine.h"
#include "win32/win32_desktop.h"
#include "tests/sim/memory_host.h"
#include "tests/win32/helpers.h"

namespace taskloom {
namespace {

constexpr char kReceiverTitle[] = "Taskloom Stop Receiver";

double NowMs() {
    LARGE_INTEGER f, now;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

struct StopCase {
    const char* name;
    std::vector<std::string> lines;
};

TEST(StopRequest, EndsLoopsAndPausesPromptly) {
    // The typing loop's keys go to a receiver of ours.
    wintest::ChildProcess receiver(wintest::Quote(wintest::ExeDir() + "tl_receiver.exe") + " --at=20,20 " +
                                   wintest::Quote(kReceiverTitle));
    ASSERT_TRUE(wintest::WaitForWindow(kReceiverTitle, receiver.id()));
    const std::string toReceiver = std::string("{:TO ") + kReceiverTitle + "}";
    const StopCase cases[] = {
        {"an endless loop without pauses", {"{.Spin}", "{:Goto Spin}"}},
        {"an endless loop that types", {toReceiver, "{.Type}", "ab", "{:Goto Type}"}},
        {"a pause of a minute", {"{:PauseSeconds 60}", "{:Goto Nowhere}"}},
        // The loop rewrites the target window at every round: the request
        // must outlast that.
        {"a loop that looks a window up",
         {"{.Look}", std::string("{:LoopWindowInactive Look ") + kReceiverTitle + "}", "{:Goto Nowhere}"}},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        Win32Desktop desktop;
        sim::MemoryHost host(Flavor::Composer, c.lines);
        Engine engine(desktop, host);
        std::atomic<double> requestedAt{0};
        std::atomic<bool> started{false};
        std::thread stopper([&] {
            // Well into the run: the loop has gone round many times, the
            // pause has begun.
            while (!started) Sleep(1);
            Sleep(400);
            requestedAt = NowMs();
            engine.requestStop();
        });
        started = true;
        const double runStart = NowMs();
        const RunEnd end = engine.RunScript();
        const double endedAt = NowMs();
        stopper.join();
        EXPECT_EQ(end, RunEnd::Stopped);
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        const double latency = endedAt - requestedAt;
        EXPECT_GE(latency, 0.0);
        EXPECT_LT(latency, 500.0);
        EXPECT_GE(requestedAt - runStart, 300.0) << "the stop came before the run was under way";
        std::printf("[ timing ] %s: stopped %.1f ms after the request (%zu lines run)\n", c.name, latency,
                    host.selected.size());
    }
    for (BYTE vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) EXPECT_FALSE(GetAsyncKeyState(vk) & 0x8000) << int(vk);
}

}  // namespace
}  // namespace taskloom
