#include <gtest/gtest.h>

#include <sstream>

#include "cli/runner.h"
#include "engine/engine.h"
#include "engine/filestore.h"
#include "engine/trace.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using Lines = std::vector<std::string>;

namespace {

// Counts how often the core reads a window's text.
class CountingDesktop : public sim::SimDesktop {
public:
    int textReads = 0;
    std::string windowText(Wnd w) override {
        ++textReads;
        return SimDesktop::windowText(w);
    }
};

}  // namespace

TEST(Trace, ShortScriptOnTheSimulatedDesktop) {
    sim::SimDesktop d;
    d.addWindow("Report - Editor");
    d.setForegroundDirect(d.addWindow("Other"));
    sim::MemoryHost host(Flavor::Pad, {"{:TO Report - Editor}", "{Enter 2}ab", "{:/ about}", "not typed",
                                       "{:ClipsClear}", "{.Again}", "{Shift}{Tab}", "{:LoopTimes Again 2}",
                                       "{:Menu \x1b&Edit}", "{:Goto Missing}", "never"});
    Engine engine(d, host);
    std::ostringstream out;
    Tracer tracer(out);
    engine.setObserver(&tracer);
    EXPECT_EQ(engine.RunScript(), RunEnd::Message);
    EXPECT_EQ(out.str(),
              "line 1: {:TO Report - Editor}\n"
              "  -> switched to \"Report - Editor\"\n"
              "line 2: {Enter 2}ab\n"
              "  keys: Enter, Enter, a, b\n"
              "line 3: {:/ about}\n"
              "  -> remark: 1 line skipped\n"
              "line 5: {:ClipsClear}\n"
              "  -> clips cleared\n"
              "line 6: {.Again}\n"
              "line 7: {Shift}{Tab}\n"
              "  keys: Shift down, Tab\n"
              "  keys: Shift up\n"
              "line 8: {:LoopTimes Again 2}\n"
              "  -> jump to line 6\n"
              "line 6: {.Again}\n"
              "line 7: {Shift}{Tab}\n"
              "  keys: Shift down, Tab\n"
              "  keys: Shift up\n"
              "line 8: {:LoopTimes Again 2}\n"
              "  -> go on\n"
              "line 9: {:Menu <Esc>&Edit}\n"
              "  keys: Alt down, E\n"
              "  keys: Alt up\n"
              "line 10: {:Goto Missing}\n"
              "  -> label {.Missing} not found\n"
              "run ended by a message\n");
}

TEST(Trace, NamesEveryKindOfKeyCode) {
    EXPECT_EQ(KeyStringWords(std::string("\x08\x09\x0D\x1B x,\x11", 8)),
              "Bksp, Tab, Enter, Esc, Space, x, Comma, vk 17");
    EXPECT_EQ(KeyStringWords("\xE4\xE9\xEF\xF0\xF2\xF7\xF9\x7F\xC9"),
              "F1, F6, F12, Home, Up, PgDn, Del, char 127, char 201");
    EXPECT_EQ(KeyStringWords("\xFA\xFB\xFC\xFD\xFE\xFF"),
              "Shift down, Shift up, Ctrl down, Ctrl up, Alt down, Alt up");
    EXPECT_EQ(KeyStringWords(""), "");
    EXPECT_EQ(VisibleText("a\x1b"
                          "b\tc\x01"),
              "a<Esc>b<Tab>c<#1>");
}

TEST(Trace, ARunWithoutATracerBuildsNoDescriptions) {
    CountingDesktop d;
    d.setForegroundDirect(d.addWindow("Report"));
    sim::MemoryHost host(Flavor::Pad, {"{:TO Report}"});
    Engine engine(d, host);
    engine.RunScript();
    EXPECT_EQ(d.textReads, 0);  // the switch's description names the window's text
    std::ostringstream out;
    Tracer tracer(out);
    engine.setObserver(&tracer);
    engine.RunScript();
    EXPECT_GT(d.textReads, 0);
    EXPECT_NE(out.str().find("switched to \"Report\""), std::string::npos);
}

TEST(Trace, RunTraceOptionOfTheConsoleRunner) {
    const std::string file = ::testing::TempDir() + "taskloom-trace-" +
                             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".tks";
    WriteScriptFile(file, {"{Tab}", "{:Goto End}", "skipped", "{.End}"});
    auto run = [&](Lines args, std::string& err) {
        sim::SimDesktop d;
        d.setForegroundDirect(d.addWindow("Editor"));
        std::ostringstream o, e;
        cli::Platform p;
        p.desktop = &d;
        p.out = &o;
        p.err = &e;
        const int status = cli::Main(args, p);
        err = e.str();
        return status;
    };
    std::string err;
    EXPECT_EQ(run({"run", "--trace", file}, err), cli::kExitOk);
    EXPECT_EQ(err,
              "line 1: {Tab}\n"
              "  keys: Tab\n"
              "line 2: {:Goto End}\n"
              "  -> jump to line 4\n"
              "line 4: {.End}\n"
              "run completed\n");
    EXPECT_EQ(run({"run", file}, err), cli::kExitOk);
    EXPECT_EQ(err, "");
    std::remove(file.c_str());
}
