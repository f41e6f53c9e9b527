// capture_bench: how long one capture command takes on the real desktop,
// its fixed waits included.
//
//   capture_bench.exe [--quick] [--runs N]   (default 20 runs; --quick: 3)
//
//   ":ClipsAddText" on our target program (tl_target.exe, beside this program
//   or in ../../tests/win32/), whose field holds a few lines with the caret
//   on the last: the target is activated, its current line is selected and
//   copied by keys, and after the fixed wait (200 ms into an empty clips
//   buffer, 50 ms otherwise) the clipboard's line is added. Measured both
//   ways, and every capture is checked against the line.
//   ":ClipsAddClipboard": the clipboard's text added as it is.
// Each figure is one run of a one-line script (its release keys included).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/wine/wine_measure.h"
#include "engine/engine.h"
#include "win32/win32_desktop.h"
#include "tests/sim/memory_host.h"
#include "tests/win32/helpers.h"

namespace taskloom::winebench {
namespace {

constexpr char kTitle[] = "Taskloom Capture Target";
constexpr char kLine[] = "Order 4711: 3 x Widget (blue), due 2025-01-31";

struct Series {
    std::vector<double> ms;
    int wrong = 0;
};

void Report(const char* what, const Series& s) {
    std::printf(
        "  %-44s %s%s\n", what, Describe(Summarize(s.ms), "ms").c_str(),
        s.wrong ? (", " + std::to_string(s.wrong) + " captures WRONG").c_str() : ", every capture right");
}

}  // namespace
}  // namespace taskloom::winebench

int main(int argc, char** argv) {
    using namespace taskloom;
    using namespace taskloom::winebench;
    const int runs = ReadRuns(argc, argv, "capture_bench", 20);
    if (runs == 0) return 1;
    const std::string exe = RequireProgram("tl_target.exe");
    if (exe.empty()) return 1;
    wintest::ChildProcess target(wintest::Quote(exe) + " " + wintest::Quote(kTitle));
    const HWND main = wintest::WaitForWindow(kTitle, target.id());
    const HWND edit = main ? wintest::FindChildByClass(main, "Edit") : nullptr;
    if (!edit) {
        std::printf("the target window did not show up\n");
        return 1;
    }
    const std::string text = std::string("first line\r\nsecond line\r\n") + kLine;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    SendMessageTimeoutA(edit, EM_SETSEL, text.size(), text.size(), SMTO_ABORTIFHUNG, 5000, nullptr);

    Win32Desktop desktop;
    std::printf("capture_bench: %d runs of each\n", runs);

    Series emptyBuffer, filledBuffer, clipboard;
    {
        sim::MemoryHost host(Flavor::Pad, {"{:ClipsAddText}"});
        Engine engine(desktop, host);
        for (int i = 0; i < 2 * runs; ++i) {
            // Turn about: into an empty buffer, then into one that holds a line.
            const bool empty = i % 2 == 0;
            if (empty) engine.clips().clear();
            engine.setTargetWnd(static_cast<Wnd>(reinterpret_cast<intptr_t>(main)));
            const double start = NowMs();
            engine.RunScript();
            const double ms = NowMs() - start;
            Series& s = empty ? emptyBuffer : filledBuffer;
            s.ms.push_back(ms);
            const std::vector<std::string> lines = engine.clips().lines();
            if (lines.empty() || lines.back() != kLine) ++s.wrong;
        }
    }
    {
        const std::string clip = "copied elsewhere";
        desktop.setClipboardText(clip);
        sim::MemoryHost host(Flavor::Pad, {"{:ClipsAddClipboard}"});
        Engine engine(desktop, host);
        for (int i = 0; i < runs; ++i) {
            engine.clips().clear();
            const double start = NowMs();
            engine.RunScript();
            clipboard.ms.push_back(NowMs() - start);
            const std::vector<std::string> lines = engine.clips().lines();
            if (lines.empty() || lines.back() != clip) ++clipboard.wrong;
        }
    }
    Report(":ClipsAddText into an empty clips buffer", emptyBuffer);
    Report(":ClipsAddText into a buffer holding a line", filledBuffer);
    Report(":ClipsAddClipboard", clipboard);
    for (BYTE vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
        if (GetAsyncKeyState(vk) & 0x8000) std::printf("  warning: virtual key %d left down\n", vk);
    return 0;
}
