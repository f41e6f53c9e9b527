// The console runner's portable part: what `taskloom run` answers to its
// command line, and how an interrupt from another thread ends a run.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "cli/runner.h"
#include "engine/filestore.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using Lines = std::vector<std::string>;

namespace {

std::string TempScript(const std::string& name, const Lines& lines) {
    const std::string file = ::testing::TempDir() + "taskloom-runner-" +
                             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + name;
    WriteScriptFile(file, lines);
    return file;
}

// A desktop whose window search hands over to another thread in the middle
// of the n-th lookup and waits until that thread has done its part: an
// interrupt that lands exactly while a line looks a window up.
class HandOverDesktop : public sim::SimDesktop {
public:
    int lookups = 0, handOverAt = 3;
    std::mutex m;
    std::condition_variable cv;
    bool handedOver = false, done = false;

    Wnd findWindow(const std::string& title) override {
        if (++lookups == handOverAt) {
            std::unique_lock lock(m);
            handedOver = true;
            cv.notify_all();
            cv.wait(lock, [&] { return done; });
        }
        if (lookups > 10'000) throw std::runtime_error("the window loop outlasted the interrupt");
        return SimDesktop::findWindow(title);
    }
};

}  // namespace

TEST(ConsoleRunner, InterruptDuringAWindowLoopStopsTheRun) {
    const std::string file = TempScript("loop.tks", {"{.L}", "{:LoopWindowInactive L Editor}", "after"});
    HandOverDesktop d;
    d.setForegroundDirect(d.addWindow("Editor"));
    std::atomic<Engine*> running{nullptr};
    std::ostringstream out, err;
    cli::Platform p;
    p.desktop = &d;
    p.out = &out;
    p.err = &err;
    p.running = &running;
    // What the console's Ctrl+C handler does, on its own thread.
    std::thread interrupt([&] {
        std::unique_lock lock(d.m);
        d.cv.wait(lock, [&] { return d.handedOver; });
        if (Engine* e = running.load()) e->requestStop();
        d.done = true;
        d.cv.notify_all();
    });
    const int status = cli::Main({"run", file}, p);
    interrupt.join();
    EXPECT_EQ(status, cli::kExitStopped) << err.str();
    EXPECT_EQ(d.lookups, d.handOverAt) << "the loop looked windows up after the interrupt";
    EXPECT_EQ(d.text(d.foregroundWindow()), "Editor");
    EXPECT_EQ(running.load(), nullptr);
    std::remove(file.c_str());
}
