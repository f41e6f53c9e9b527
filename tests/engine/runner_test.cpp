// The console runner's portable part: what `taskloom run` answers to its
// command line, and how an interrupt from another thread ends a run.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <regex>
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

TEST(ConsoleRunner, UsageErrorsAndUnreadableScripts) {
    const std::string file = TempScript("ok.tks", {"a"});
    auto run = [](const Lines& args, std::string& err) {
        sim::SimDesktop d;
        d.setForegroundDirect(d.addWindow("Editor"));
        std::ostringstream out, e;
        cli::Platform p;
        p.desktop = &d;
        p.out = &out;
        p.err = &e;
        const int status = cli::Main(args, p);
        err = e.str();
        return status;
    };
    std::string err;
    const Lines usage[] = {
        {},
        {"walk", file},
        {"run"},
        {"run", "--note=maybe", file},
        {"run", "--delimiter=words", file},
        {"run", "--fast", file},
        {"run", file, file},
        {"--version", file},
    };
    for (const Lines& args : usage) {
        SCOPED_TRACE(args.empty() ? "(none)" : args.back());
        EXPECT_EQ(run(args, err), cli::kExitUsage);
        if (!args.empty()) {
            EXPECT_EQ(err.rfind("taskloom: ", 0), 0u) << err;  // says what is wrong
        }
    }
    EXPECT_EQ(run({"run", "--delimiter=;", file}, err), cli::kExitOk) << err;
    // A missing file and a folder: named, with the reason.
    const std::string missing = ::testing::TempDir() + "taskloom-runner-no-such.tks";
    EXPECT_EQ(run({"run", missing}, err), cli::kExitUnreadable);
    EXPECT_NE(err.find(missing), std::string::npos) << err;
    EXPECT_EQ(run({"run", ::testing::TempDir()}, err), cli::kExitUnreadable);
    EXPECT_NE(err.find("taskloom: "), std::string::npos) << err;
    std::remove(file.c_str());
}

TEST(ConsoleRunner, VersionIsTheReleasesAndWantsNoDisplay) {
    // No desktop at all: the version is printed before anything needs one.
    std::ostringstream out, err;
    cli::Platform p;
    p.out = &out;
    p.err = &err;
    EXPECT_EQ(cli::Main({"--version"}, p), cli::kExitOk);
    EXPECT_TRUE(std::regex_match(out.str(), std::regex("taskloom [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << out.str();
    EXPECT_EQ(err.str(), "");
}
