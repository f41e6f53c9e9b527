// clips_bench: Tessdeck's clipboard collection. This process copies N
// distinct texts, one every M milliseconds (on a fixed schedule), as another
// program would; the pad, started with the 50K pane, collects them.
//
//   clips_bench.exe [--quick] [--runs N] [--count N] [--interval MS] [--watch 0]
//   (default one run of 1000 texts every 10 ms; --quick: 200 texts)
//
// Checked: the pane holds every text, in order, none twice. Latency: from
// the copy (its CloseClipboard returned) to the pad's clips hint ("Clips
// n/m", set in the same step as the pane) first counting that clip's line,
// seen by a thread here that reads the hint about every millisecond. It
// reads the text the window system keeps for the clips image
// (GetWindowTextA of another program's window sends it no message), so the
// watching does not interrupt the pad. "--watch 0" leaves that thread out.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench/wine/wine_measure.h"
#include "engine/filestore.h"
#include "tests/win32/helpers.h"

namespace {

using namespace taskloom;
using namespace taskloom::winebench;

const std::string kPadKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessdeck";

bool Copy(const std::string& text) {
    bool opened = false;
    for (int i = 0; i < 200 && !opened; ++i) {
        opened = OpenClipboard(nullptr) != FALSE;
        if (!opened) Sleep(1);
    }
    if (!opened) return false;
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
    GlobalUnlock(h);
    const bool ok = SetClipboardData(CF_TEXT, h) != nullptr;
    CloseClipboard();
    return ok;
}

std::string PaneText(HWND pane) {
    const LRESULT n = SendMessageA(pane, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
    const LRESULT got = SendMessageA(pane, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

struct Sample {
    double ms;
    std::size_t lines;  // m of the hint "Clips n/m"
};

BOOL CALLBACK FindHint(HWND h, LPARAM p) {
    char text[64] = {};
    GetWindowTextA(h, text, sizeof text);
    if (std::strncmp(text, "Clips ", 6) == 0) {
        *reinterpret_cast<HWND*>(p) = h;
        return FALSE;
    }
    return TRUE;
}

std::size_t HintLines(HWND image) {
    char text[64] = {};
    GetWindowTextA(image, text, sizeof text);
    const char* slash = std::strchr(text, '/');
    return slash ? static_cast<std::size_t>(std::strtoul(slash + 1, nullptr, 10)) : 0;
}

// One session: the pad started, the texts copied, the pane checked. False
// when the pane does not hold every text once, in order.
bool RunOnce(int count, int interval, bool watch) {
    const std::string exe = wintest::FromBuildPath(TESSDECK_EXE);
    wintest::TempFolder folder;
    WriteTextFile(folder / "one.tkp", "0\tProgram\t\tnotepad.exe\r");
    // The pad with the 50K pane, New Line, Auto Add and Auto Copy on.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPadKey.c_str());
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPadKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    const std::string settings = "\r,428,47,0,1,1,0,3";
    RegSetValueExA(key, "Settings", 0, REG_SZ, reinterpret_cast<const BYTE*>(settings.c_str()),
                   static_cast<DWORD>(settings.size() + 1));
    RegCloseKey(key);

    wintest::ChildProcess pad(wintest::Quote(exe) + " " + wintest::Quote(folder / "one.tkp"), folder.path());
    HWND window = wintest::WaitForWindow("Tessdeck", pad.id(), 60000);
    HWND pane = window ? wintest::FindChildByClass(window, "RichEdit20A") : nullptr;
    if (!pane) {
        std::printf("clips_bench: the pad did not show its pane\n");
        return false;
    }
    HWND image = nullptr;
    wintest::WaitUntil(
        [&] {
            EnumChildWindows(window, FindHint, reinterpret_cast<LPARAM>(&image));
            return image != nullptr;
        },
        20000);
    if (!image) {
        std::printf("clips_bench: the pad shows no clips hint\n");
        return false;
    }
    Sleep(1000);  // start-up done, the pad in the chain

    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "clip %05d", i);
        texts.emplace_back(text);
    }

    std::atomic<bool> stop{false};
    std::vector<Sample> samples;
    samples.reserve(200000);
    std::thread watcher([&] {
        std::size_t last = 0;
        while (!stop && watch) {
            const std::size_t n = HintLines(image);
            if (n != last) {
                samples.push_back({NowMs(), n});
                last = n;
            }
            Sleep(1);
        }
    });

    std::vector<double> copiedAt(texts.size(), 0);
    int failedCopies = 0;
    const double start = NowMs();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const double due = start + static_cast<double>(i) * interval;
        while (NowMs() < due) Sleep(1);
        if (!Copy(texts[i])) ++failedCopies;
        copiedAt[i] = NowMs();
    }
    const double copyingMs = NowMs() - start;
    WaitForQuiet(pane, 2000, 60000);
    stop = true;
    watcher.join();

    // The pane against the texts: every one, in order, none twice.
    const std::string paneText = PaneText(pane);
    const std::vector<std::string> lines = SplitTextLines(paneText);
    std::map<std::string, int> seen;
    for (const std::string& l : lines) ++seen[l];
    int missing = 0, twice = 0, outOfOrder = 0;
    std::string firstMissing;
    for (const std::string& t : texts) {
        if (seen[t] == 0 && ++missing <= 5) firstMissing += " \"" + t + "\"";
        if (seen[t] > 1) ++twice;
    }
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (lines[i] <= lines[i - 1]) ++outOfOrder;
    const bool exact = lines == texts;

    // Latency of each collected text: until the hint counts its line.
    std::map<std::string, std::size_t> index;
    for (std::size_t i = 0; i < texts.size(); ++i) index[texts[i]] = i;
    std::vector<double> latencies;
    std::size_t s = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const auto at = index.find(lines[k]);
        if (at == index.end()) continue;
        while (s < samples.size() && samples[s].lines < k + 1) ++s;
        if (s < samples.size()) latencies.push_back(samples[s].ms - copiedAt[at->second]);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    pad.waitForExit(20000);

    std::printf("clips_bench: %d texts, one every %d ms (copying took %.0f ms, %d copies failed)\n", count,
                interval, copyingMs, failedCopies);
    std::printf("  pane: %zu lines; %s; missing %d, twice %d, out of order %d\n", lines.size(),
                exact ? "every text once, in order" : "NOT every text once in order", missing, twice,
                outOfOrder);
    if (missing) std::printf("  first missing:%s\n", firstMissing.c_str());
    if (!latencies.empty()) {
        std::vector<double> sorted = latencies;
        std::sort(sorted.begin(), sorted.end());
        const double p99 = sorted[std::min(sorted.size() - 1, (sorted.size() * 99) / 100)];
        std::printf("  latency copy -> pane: %s; p99 %.1f ms\n", Describe(Summarize(latencies), "ms").c_str(),
                    p99);
    }
    return exact;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<NumberOption> numbers{{"--runs", 1}, {"--count", 1000}, {"--interval", 10}, {"--watch", 1}};
    bool quick = false;
    std::vector<std::string> rest;
    if (!ReadOptions(argc, argv, numbers, quick, rest) || !rest.empty() || numbers[0].value < 1 ||
        numbers[1].value < 1 || numbers[2].value < 1) {
        std::printf("usage: clips_bench [--quick] [--runs N] [--count N] [--interval MS]\n");
        return 1;
    }
    const int runs = static_cast<int>(numbers[0].value);
    const int count = quick ? 200 : static_cast<int>(numbers[1].value);
    bool allExact = true;
    for (int r = 0; r < runs; ++r)
        allExact = RunOnce(count, static_cast<int>(numbers[2].value), numbers[3].value != 0) && allExact;
    return allExact ? 0 : 1;
}
