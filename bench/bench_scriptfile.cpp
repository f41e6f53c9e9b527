// Script files through the file store: a 100,000-line script written once,
// then read and split back into lines (ReadScriptFile), and written again
// (WriteScriptFile). Medians of several runs; MB are 10^6 bytes of the file.
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/bench_util.h"
#include "engine/filestore.h"

using namespace taskloom;
using namespace taskloom::bench;

namespace {

// Lines of the kinds a recorded script has: key lines, window switches and
// notes (quoted: they hold blanks), menu paths with ESC, labels and loops,
// block text with quotes and commas, and empty lines.
std::vector<std::string> TypicalScript(std::size_t lines) {
    const std::vector<std::string> kinds{
        "{:TO Report - Editor}",
        "{Enter 2}Dear sir",
        "{Ctrl}{Shift}{End}",
        "{:Menu \x1b&File\x1b&Save &As...}",
        "{.Again}",
        "{:LoopWindowActive Again Saved - Editor}",
        "Invoice 4711, \"urgent\", due 2024-03-01",
        "",
        "{:PopUp 100 200 Please check the total}",
        "{:ClipsAddControls 3 1 12}",
        "plain",
        "{:PauseSeconds 2}",
    };
    std::vector<std::string> s;
    s.reserve(lines);
    for (std::size_t i = 0; i < lines; ++i) s.push_back(kinds[i % kinds.size()]);
    s.back() = "{.End}";  // an empty last line would not be read back
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = ParseOptions(argc, argv);
    const std::size_t count = o.quick ? 10'000 : 100'000;
    const std::vector<std::string> script = TypicalScript(count);
    const std::string file =
        (std::filesystem::temp_directory_path() / ("taskloom-bench-" + std::to_string(::getpid()) + ".tks"))
            .string();
    WriteScriptFile(file, script);
    const double mb = static_cast<double>(std::filesystem::file_size(file)) / 1e6;

    std::vector<std::string> back;
    const double read = MedianSeconds(o.runs, [&] { back = ReadScriptFile(file); });
    if (back != script) Fail("the script read back differs from the one written");
    const double write = MedianSeconds(o.runs, [&] { WriteScriptFile(file, script); });
    std::filesystem::remove(file);

    std::printf("bench_scriptfile: %zu lines, %.2f MB file, medians of %d runs%s\n", count, mb, o.runs,
                o.quick ? " (quick)" : "");
    std::printf("   read + split (ReadScriptFile)   %8.2f ms  %8.1f MB/s  %11.0f lines/s\n", read * 1e3,
                mb / read, count / read);
    std::printf("   join + write (WriteScriptFile)  %8.2f ms  %8.1f MB/s  %11.0f lines/s\n", write * 1e3,
                mb / write, count / write);
    return 0;
}
