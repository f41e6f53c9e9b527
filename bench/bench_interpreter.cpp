// Interpreter speed on the simulated desktop, for scripts of labels, jumps
// and counted loops that type nothing beyond the release string of each
// line. Every figure is the median of several runs; the script is built and
// the desktop set up outside the timed part.
//
// Two hosts hold the script: one that reports when its list changes (as the
// console runner's host does), so that the engine can index the label lines,
// and one that never does, so that every jump searches the list from the top
// (the engine's behaviour with a host that reports nothing).
#include <cinttypes>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "engine/engine.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using namespace taskloom::bench;

namespace {

class ListHost : public Host {
public:
    ListHost(const std::vector<std::string>& lines, bool reportsGeneration)
        : lines_(lines), reports_(reportsGeneration) {}
    Flavor flavor() const override { return Flavor::Composer; }
    std::size_t lineCount() override { return lines_.size(); }
    std::string line(std::size_t i) override { return lines_.at(i); }
    void clearLines() override {
        lines_.clear();
        ++generation_;
    }
    std::uint64_t listGeneration() override { return reports_ ? generation_ : Host::listGeneration(); }
    void selectLine(std::size_t) override { ++executed; }
    void showMessage(const std::string&) override { ++messages; }
    NoteAnswer showNote(const std::string&, const std::vector<std::string>&, int, int) override {
        return NoteAnswer::Continue;
    }
    std::string programDir() override { return {}; }

    std::size_t executed = 0, messages = 0;

private:
    std::vector<std::string> lines_;
    bool reports_;
    std::uint64_t generation_ = 0;
};

// Blocks of five lines, each run as twelve: a label, a counted loop back to
// it (five times), a jump over one label line to the next. The jumps are
// local: each label is at most two lines away.
std::vector<std::string> LocalJumps(std::size_t executedLines) {
    std::vector<std::string> s;
    for (std::size_t k = 0; k * 12 < executedLines; ++k) {
        const std::string n = std::to_string(k);
        s.insert(s.end(), {"{.L" + n + "}", "{:LoopTimes L" + n + " 5}", "{:Goto N" + n + "}",
                           "{.X" + n + "}", "{.N" + n + "}"});
    }
    return s;
}

// A chain of jumps between the top and the bottom half: "{:Goto Fi}" near
// the top, its label "{.Fi}" in the bottom half, from where "{:Goto Ti+1}"
// leads back up. Every label searched for from the top is far down.
std::vector<std::string> FarJumps(std::size_t scriptLines) {
    const std::size_t n = scriptLines / 4;
    std::vector<std::string> s{"{:Goto F0}"};
    for (std::size_t i = 1; i < n; ++i)
        s.insert(s.end(), {"{.T" + std::to_string(i) + "}", "{:Goto F" + std::to_string(i) + "}"});
    for (std::size_t i = 0; i < n; ++i)
        s.insert(s.end(), {"{.F" + std::to_string(i) + "}",
                           i + 1 < n ? "{:Goto T" + std::to_string(i + 1) + "}" : "{:Goto End}"});
    s.push_back("{.End}");
    return s;
}

struct Result {
    std::size_t executed = 0;
    double seconds = 0;
    double linesPerSecond() const { return executed / seconds; }
    double microsPerLine() const { return seconds * 1e6 / executed; }
};

// One figure: the median over `runs` of the time per run, where small
// scripts are run several times back to back (each time on a fresh desktop,
// host and engine, all made before the clock starts) so that one timing is
// long enough to measure.
Result Time(const std::vector<std::string>& script, bool reportsGeneration, int runs) {
    struct Setup {
        sim::SimDesktop d;
        ListHost host;
        Engine engine{d, host};
        Setup(const std::vector<std::string>& s, bool reports) : host(s, reports) {
            d.setForegroundDirect(d.addWindow(""));
        }
    };
    // (The searching host's time grows with the square of the script: its
    // small scripts are repeated less.)
    const std::size_t budget = reportsGeneration ? 40'000 : 2'000;
    const std::size_t repeat = std::max<std::size_t>(1, budget / std::max<std::size_t>(1, script.size()));
    Result r;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        std::vector<std::unique_ptr<Setup>> setups;
        for (std::size_t k = 0; k < repeat; ++k)
            setups.push_back(std::make_unique<Setup>(script, reportsGeneration));
        bool completed = true;
        times.push_back(Seconds([&] {
                            for (auto& s : setups) completed &= s->engine.RunScript() == RunEnd::Completed;
                        }) /
                        static_cast<double>(repeat));
        for (auto& s : setups) {
            if (!completed || s->host.messages) Fail("the script did not run to its end");
            if (s->d.keyLog().size() != 3 * s->host.executed) Fail("keys beyond the release strings");
        }
        r.executed = setups.front()->host.executed;
    }
    r.seconds = Median(times);
    return r;
}

const char* HostName(bool reports) { return reports ? "indexed labels " : "search from top"; }

// Results by (lines run, host), so that a slow case is timed once. A run of
// the searching host over 100,000 lines takes most of a minute: it gets one
// run, and says so.
struct Bench {
    Options o;
    std::map<std::pair<std::size_t, bool>, std::pair<Result, int>> done;
    std::pair<Result, int> local(std::size_t n, bool reports) {
        auto it = done.find({n, reports});
        if (it != done.end()) return it->second;
        const int runs = (!reports && n >= 100'000) ? 1 : o.runs;
        return done[{n, reports}] = {Time(LocalJumps(n), reports, runs), runs};
    }
};

void PrintRow(bool reports, const Result& r, int runs, int defaultRuns) {
    std::printf("   %s  %8zu lines run  %8.3f s  %10.0f lines/s", HostName(reports), r.executed, r.seconds,
                r.linesPerSecond());
    if (runs != defaultRuns) std::printf("  (%d run)", runs);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    Bench b{ParseOptions(argc, argv), {}};
    const Options& o = b.o;
    const std::size_t big = o.quick ? 10'000 : 100'000;
    const std::size_t far = o.quick ? 1'000 : 10'000;
    std::printf("bench_interpreter: medians of %d runs%s\n\n", o.runs, o.quick ? " (quick)" : "");

    std::printf("A. %zu-line script of labels, local jumps and counted loops\n", LocalJumps(big).size());
    for (bool reports : {true, false}) {
        const auto [r, runs] = b.local(big, reports);
        PrintRow(reports, r, runs, o.runs);
    }

    const std::vector<std::string> farScript = FarJumps(far);
    std::printf("\nB. %zu-line script whose jumps search labels far down\n", farScript.size());
    for (bool reports : {true, false}) PrintRow(reports, Time(farScript, reports, o.runs), o.runs, o.runs);

    std::printf("\nC. growth with the number of lines run (local jumps; the script grows with it)\n");
    for (bool reports : {true, false}) {
        double previous = 0;
        for (std::size_t n : {std::size_t{1'000}, std::size_t{10'000}, std::size_t{100'000}}) {
            if (n > big) break;
            const auto [r, runs] = b.local(n, reports);
            std::printf("   %s  %8zu lines run  %9.2f ms  %7.2f us/line", HostName(reports), r.executed,
                        r.seconds * 1e3, r.microsPerLine());
            if (previous > 0) std::printf("  x%.1f time for x10 lines", r.seconds / previous);
            if (runs != o.runs) std::printf("  (%d run)", runs);
            std::printf("\n");
            previous = r.seconds;
        }
    }
    return 0;
}
