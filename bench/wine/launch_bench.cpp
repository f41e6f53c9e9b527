// launch_bench: from an icon's hot key pressed to the started program's
// first window, beside the same program started from a console.
//
//   launch_bench.exe [--quick] [--runs N]   (default 20 runs; --quick: 3)
//
// Tessdeck is started with a pad of one icon, keyed Ctrl+Alt+K, whose
// program text starts tl_target.exe with a title of its own. Hot key: the
// time from the key press (keybd_event from this process, the way the
// wineserver turns keyboard input into WM_HOTKEY) to tl_target's window
// visible, polled every millisecond. Console: the time from CreateProcess
// of the same command line to the same window. Each started target is closed
// and has ended before the next start; the two ways take turns, after one
// untimed start of each.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/wine/wine_measure.h"
#include "engine/filestore.h"
#include "tests/win32/helpers.h"

namespace {

using namespace taskloom;
using namespace taskloom::winebench;

const char* const kTitle = "LaunchBenchTarget";

// The visible window titled kTitle, polled every millisecond; null at the
// deadline.
HWND WaitForTarget(DWORD timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        const HWND w = FindWindowA(nullptr, kTitle);
        if (w && IsWindowVisible(w)) return w;
        if (NowMs() > deadline) return nullptr;
        Sleep(1);
    }
}

// Closes the target and waits until its process has ended.
bool CloseTarget(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(w, WM_CLOSE, 0, 0);
    const bool ended = process && WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    return ended && wintest::WaitUntil([] { return FindWindowA(nullptr, kTitle) == nullptr; }, 5000);
}

double ByHotKey() {
    const double start = NowMs();
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(VK_MENU, 0, 0, 0);
    keybd_event('K', 0, 0, 0);
    keybd_event('K', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    const HWND w = WaitForTarget(30000);
    const double shown = NowMs() - start;
    return w && CloseTarget(w) ? shown : -1;
}

double ByConsole(const std::string& commandLine, const std::string& folder) {
    const double start = NowMs();
    wintest::ChildProcess program(commandLine, folder);
    const HWND w = WaitForTarget(30000);
    const double shown = NowMs() - start;
    return w && CloseTarget(w) ? shown : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = ReadRuns(argc, argv, "launch_bench", 20);
    if (runs < 1) return 1;
    const std::string target = RequireProgram("tl_target.exe");
    if (target.empty()) return 1;
    wintest::TempFolder folder;
    const std::string padFile = folder / "launch.tkp";
    const std::string programText = target + " " + kTitle;
    WriteTextFile(padFile, "0\tTarget\tCtrl+Alt+K\t" + programText + "\r");
    std::printf("launch_bench: %d runs\n", runs);

    wintest::ChildProcess pad(
        wintest::Quote(wintest::FromBuildPath(TESSDECK_EXE)) + " " + wintest::Quote(padFile), folder.path());
    // Started once its last hot key, the show/hide key, is taken.
    const bool started = wintest::WaitForWindow("Tessdeck", pad.id(), 60000) != nullptr &&
                         wintest::WaitUntil(
                             [] {
                                 if (!RegisterHotKey(nullptr, 0xB002, MOD_SHIFT | MOD_CONTROL, VK_F9))
                                     return true;
                                 UnregisterHotKey(nullptr, 0xB002);
                                 return false;
                             },
                             30000);
    if (!started) {
        std::printf("the pad did not start\n");
        return 1;
    }
    if (ByHotKey() < 0 || ByConsole(wintest::Quote(target) + " " + kTitle, folder.path()) < 0) {
        std::printf("the target did not show its window in the warm-up\n");
        return 1;
    }
    std::vector<double> hotKey, console;
    for (int i = 0; i < runs; ++i) {
        const double h = ByHotKey();
        const double c = ByConsole(wintest::Quote(target) + " " + kTitle, folder.path());
        if (h < 0 || c < 0) {
            std::printf("the target did not show its window or did not end\n");
            return 1;
        }
        hotKey.push_back(h);
        console.push_back(c);
    }
    const Summary hs = Summarize(hotKey), cs = Summarize(console);
    std::printf("to tl_target's first window shown\n");
    std::printf("  %-22s %s\n", "console (CreateProcess)", Describe(cs, "ms").c_str());
    std::printf("  %-22s %s\n", "pad hot key", Describe(hs, "ms").c_str());
    std::printf("  hot key - console (medians): %.1f ms\n", hs.median - cs.median);
    PostMessageA(FindWindowA(nullptr, "Tessdeck"), WM_CLOSE, 0, 0);
    pad.waitForExit(20000);
    return 0;
}
