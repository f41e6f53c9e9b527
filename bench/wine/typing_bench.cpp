// typing_bench: how fast and how faithfully typed text reaches an edit field
// of another program, end to end (from the first key sent to the last
// character in the field), under Wine.
//
//   typing_bench.exe [--quick] [--runs N] [--notepad-runs N] [--chars N]
//                    [--xdotool-chars N] [--seed N] [--receiver target|notepad]
//                    [--xdotool PATH | --no-xdotool]
//
// Defaults: 10,000 characters, 2 runs on our target and 1 on notepad, xdotool
// typing the first 1,000 of them (its rate is steady; the whole text would
// take it over a minute a run): about 8 minutes in all, most of it waiting
// for the receivers, which take in 100 to 200 characters a second under
// Wine. --xdotool-chars 0 has xdotool type the whole text too.
// --quick: 300 characters, one run on each, xdotool 100: checks it works.
//
// Three senders type the same fixed-seed text (every printable character
// from 32 to 126, Enter and Tab) into the same field, one after the other in
// each run (their order turns from run to run):
//   taskloom  the real SendKeyString, its 1 ms waits and its message
//             processing after every key kept, with the fine timer on
//   floor     a bare loop of keybd_event calls for the same keys: no waits,
//             no message processing; what the platform itself allows
//   xdotool   `xdotool type` at its default delay, through the X server into
//             the same Wine window (Wine only; started as a Unix program)
// Receivers: our target program (tl_target.exe, beside this program or in
// ../../tests/win32/) and Wine's notepad. Each measurement waits until the
// whole text has arrived, reads it back and compares it exactly.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/wine/wine_measure.h"
#include "engine/sendkey.h"
#include "win32/win32_desktop.h"
#include "tests/win32/helpers.h"

namespace taskloom::winebench {
namespace {

struct Options {
    bool target = true, notepad = true;
    std::size_t chars = 10000;
    int runs = 2;
    int notepadRuns = 1;
    std::size_t xdotoolChars = 1000;  // 0: the same count as the others
    unsigned seed = 1;
    std::string xdotool = "/usr/bin/xdotool";
};

bool ParseOptions(int argc, char** argv, Options& o) {
    std::vector<NumberOption> numbers = {
        {"--chars", 10000}, {"--runs", 2}, {"--notepad-runs", 1}, {"--xdotool-chars", 1000}, {"--seed", 1}};
    bool quick = false;
    std::vector<std::string> rest;
    if (!ReadOptions(argc, argv, numbers, quick, rest)) return false;
    if (quick)
        numbers = {{"--chars", 300},
                   {"--runs", 1},
                   {"--notepad-runs", 1},
                   {"--xdotool-chars", 100},
                   {"--seed", numbers[4].value}};
    o.chars = static_cast<std::size_t>(numbers[0].value);
    o.runs = static_cast<int>(numbers[1].value);
    o.notepadRuns = static_cast<int>(numbers[2].value);
    o.xdotoolChars = static_cast<std::size_t>(numbers[3].value);
    o.seed = static_cast<unsigned>(numbers[4].value);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string& a = rest[i];
        if (a == "--receiver" && i + 1 < rest.size()) {
            const std::string& r = rest[++i];
            o.target = r == "target";
            o.notepad = r == "notepad";
            if (!o.target && !o.notepad) return false;
        } else if (a == "--xdotool" && i + 1 < rest.size()) {
            o.xdotool = rest[++i];
        } else if (a == "--no-xdotool") {
            o.xdotool.clear();
        } else {
            return false;
        }
    }
    return o.chars >= 97 && o.runs >= 1;
}

// The text as codes: printable characters as themselves, 13 for Enter and 9
// for Tab (the key string's codes for those keys). It opens with every one
// of them once, in shuffled order; the rest is drawn at random, Enter and
// Tab each one time in 40.
std::string MakeText(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string all;
    for (int c = 32; c <= 126; ++c) all += static_cast<char>(c);
    all += '\r';
    all += '\t';
    std::shuffle(all.begin(), all.end(), gen);
    std::string text = all.substr(0, std::min(n, all.size()));
    std::uniform_int_distribution<int> kind(0, 39), printable(32, 126);
    while (text.size() < n) {
        const int k = kind(gen);
        text += k == 0 ? '\r' : k == 1 ? '\t' : static_cast<char>(printable(gen));
    }
    return text;
}

// What the field shows for the text once line breaks are single "\n".
std::string Expected(const std::string& codes) {
    std::string out = codes;
    std::replace(out.begin(), out.end(), '\r', '\n');
    return out;
}

std::size_t FieldLength(const std::string& codes) {
    return codes.size() + static_cast<std::size_t>(std::count(codes.begin(), codes.end(), '\r'));
}

struct Receiver {
    std::string name;
    std::string title;
    std::unique_ptr<wintest::ChildProcess> process;
    HWND main = nullptr;
    HWND edit = nullptr;
};

bool StartReceiver(Receiver& r, const std::string& commandLine, const std::string& title) {
    try {
        r.process = std::make_unique<wintest::ChildProcess>(commandLine);
    } catch (const std::exception& e) {
        std::printf("%s: %s\n", r.name.c_str(), e.what());
        return false;
    }
    r.title = title;
    r.main = wintest::WaitForWindow(title, r.process->id());
    r.edit = r.main ? wintest::FindChildByClass(r.main, "Edit") : nullptr;
    if (!r.edit)
        std::printf("%s: no window \"%s\" with an edit field showed up\n", r.name.c_str(), title.c_str());
    return r.edit != nullptr;
}

enum class Sender { Taskloom, Floor, Xdotool };
const char* const kSenderNames[] = {"taskloom", "floor", "xdotool"};

struct Result {
    bool ran = false;
    bool complete = false;
    double charsPerSecond = 0;
    double sendMs = 0, arriveMs = 0;
    TextDifference diff;
};

// The bare platform loop: the events SendKeyString would send, back to back.
void TypeFloor(const std::string& codes) {
    for (unsigned char code : codes) {
        BYTE vk = code;
        bool shift = false;
        if (code >= 32) {
            const SHORT scan = VkKeyScanA(static_cast<char>(code));
            vk = static_cast<BYTE>(scan & 0xFF);
            shift = ((scan >> 8) & 0xFF) != 0;
        }
        const BYTE sc = static_cast<BYTE>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        if (shift) keybd_event(VK_SHIFT, 42, 0, 0);
        keybd_event(vk, sc, 0, 0);
        keybd_event(vk, sc, KEYEVENTF_KEYUP, 0);
        if (shift) keybd_event(VK_SHIFT, 42, KEYEVENTF_KEYUP, 0);
    }
}

void ReleaseModifiers(Desktop& desktop) {
    bool anyDown = false;
    for (std::uint8_t vk : {kVkShift, kVkControl, kVkMenu}) anyDown = anyDown || desktop.isKeyDown(vk);
    if (anyDown) std::printf("  warning: a modifier was left down; released\n");
    SendKeyString(desktop, kReleaseString);
}

Result Measure(Win32Desktop& desktop, Receiver& r, Sender sender, const std::string& codes,
               const std::string& xdotoolCommand) {
    Result result;
    // Keys of an earlier measurement that are still on their way would mix
    // with this one's.
    if (!WaitForQuiet(r.edit, 1000, 600000)) {
        std::printf("  the receiver's text never stopped changing\n");
        return result;
    }
    SendMessageTimeoutA(r.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""), SMTO_ABORTIFHUNG, 5000, nullptr);
    ActivateWindow(desktop, static_cast<Wnd>(reinterpret_cast<intptr_t>(r.main)));
    if (!wintest::WaitUntil([&] { return GetForegroundWindow() == r.main; }, 5000)) {
        std::printf("  %s: could not bring the receiver forward\n", kSenderNames[static_cast<int>(sender)]);
        return result;
    }
    Sleep(300);
    const double start = NowMs();
    switch (sender) {
        case Sender::Taskloom:
            desktop.fineTimer(true);
            SendKeyString(desktop, codes);
            desktop.fineTimer(false);
            break;
        case Sender::Floor:
            TypeFloor(codes);
            break;
        case Sender::Xdotool:
            if (!StartUnixProgram(xdotoolCommand + " \"" + r.title + "\"")) {
                std::printf("  xdotool: cannot start %s\n", xdotoolCommand.c_str());
                return result;
            }
            break;
    }
    result.ran = true;
    result.sendMs = NowMs() - start;
    // Generous: notepad takes in some 150 characters a second, xdotool types
    // one every 12 ms or more.
    const DWORD timeoutMs = static_cast<DWORD>(codes.size() * 40 + 30000);
    const Arrival a = WaitForLength(r.edit, FieldLength(codes), 5000, timeoutMs);
    // A stray key after the whole text would show within a short while.
    Sleep(300);
    const std::string received = WithNewlines(wintest::ControlText(r.edit));
    result.arriveMs = a.lastChangeMs - start;
    result.complete = a.complete;
    result.diff = CompareTexts(Expected(codes), received);
    result.charsPerSecond = result.arriveMs > 0 ? codes.size() * 1000.0 / result.arriveMs : 0;
    ReleaseModifiers(desktop);
    return result;
}

void PrintResult(Sender sender, const Result& r, std::size_t chars) {
    if (!r.ran) return;
    std::printf(
        "  %-8s %8.1f chars/s  %zu chars, sent in %7.0f ms, in the field after %7.0f ms%s; lost %zu, "
        "extra %zu, reordered %zu\n",
        kSenderNames[static_cast<int>(sender)], r.charsPerSecond, chars, r.sendMs, r.arriveMs,
        r.complete ? "" : " (incomplete)", r.diff.lost, r.diff.extra, r.diff.reordered);
    std::fflush(stdout);
}

void Bench(Win32Desktop& desktop, Receiver& r, int runs, const std::string& codes, const std::string& xdCodes,
           const std::string& xdotoolCommand) {
    std::printf("\nreceiver: %s; %d run(s); taskloom and floor type %zu characters, xdotool %zu\n",
                r.name.c_str(), runs, codes.size(), xdotoolCommand.empty() ? std::size_t{0} : xdCodes.size());
    // The first text a field takes in costs more (fonts, buffers): a short
    // one is typed first and not counted.
    const std::string warmUp = codes.substr(0, 300);
    const Result w = Measure(desktop, r, Sender::Floor, warmUp, xdotoolCommand);
    std::printf(" warm-up: %zu characters with the floor, %.1f chars/s, not counted\n", warmUp.size(),
                w.charsPerSecond);
    std::vector<double> rates[3];
    std::vector<double> ratioFloor, ratioXdotool;
    std::size_t faults[3] = {0, 0, 0};
    bool allExact[3] = {true, true, true};
    for (int run = 0; run < runs; ++run) {
        std::printf(" run %d\n", run + 1);
        Result results[3];
        for (int i = 0; i < 3; ++i) {
            const auto s = static_cast<Sender>((run + i) % 3);
            if (s == Sender::Xdotool && xdotoolCommand.empty()) continue;
            const std::string& text = s == Sender::Xdotool ? xdCodes : codes;
            Result& res = results[static_cast<int>(s)];
            res = Measure(desktop, r, s, text, xdotoolCommand);
            PrintResult(s, res, text.size());
        }
        for (int s = 0; s < 3; ++s) {
            if (!results[s].ran) continue;
            rates[s].push_back(results[s].charsPerSecond);
            faults[s] += results[s].diff.lost + results[s].diff.extra + results[s].diff.reordered;
            allExact[s] = allExact[s] && results[s].diff.exact() && results[s].complete;
        }
        if (results[0].ran && results[1].ran && results[1].charsPerSecond > 0)
            ratioFloor.push_back(results[0].charsPerSecond / results[1].charsPerSecond);
        if (results[0].ran && results[2].ran && results[2].charsPerSecond > 0)
            ratioXdotool.push_back(results[0].charsPerSecond / results[2].charsPerSecond);
    }
    std::printf(" summary for %s:\n", r.name.c_str());
    for (int s = 0; s < 3; ++s) {
        if (rates[s].empty()) continue;
        std::printf("  %-8s %s; %s\n", kSenderNames[s], Describe(Summarize(rates[s]), "chars/s").c_str(),
                    allExact[s]
                        ? "every run exact"
                        : ("NOT exact: " + std::to_string(faults[s]) + " faulty characters in all").c_str());
    }
    if (!ratioFloor.empty())
        std::printf("  taskloom / floor:   %s\n", Describe(Summarize(ratioFloor), "", 3).c_str());
    if (!ratioXdotool.empty())
        std::printf("  taskloom / xdotool: %s\n", Describe(Summarize(ratioXdotool), "", 2).c_str());
    std::fflush(stdout);
}

}  // namespace
}  // namespace taskloom::winebench

int main(int argc, char** argv) {
    using namespace taskloom;
    using namespace taskloom::winebench;
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::fprintf(
            stderr,
            "usage: typing_bench [--quick] [--runs N] [--notepad-runs N] [--chars N (97 or more)] "
            "[--xdotool-chars N] [--seed N] [--receiver target|notepad] [--xdotool PATH | --no-xdotool]\n");
        return 1;
    }
    const std::string codes = MakeText(o.chars, o.seed);
    const std::string xdCodes = o.xdotoolChars ? MakeText(o.xdotoolChars, o.seed) : codes;

    // xdotool reads the text from a file (Enter as a line break); a small
    // shell script gives the receiver's X window the input focus first, as
    // a person's click would, and then types into whatever has it.
    std::string xdotoolCommand;
    const std::string xdFile = TempFile("typing_bench_xdotool") + ".txt";
    const std::string xdScript = TempFile("typing_bench_xdotool") + ".sh";
    if (!o.xdotool.empty()) {
        const std::optional<std::string> unixFile = UnixPath(xdFile), unixScript = UnixPath(xdScript);
        if (!unixFile || !unixScript) {
            std::printf("xdotool: not under Wine; left out\n");
        } else if (!FileExists("Z:" + o.xdotool)) {  // the Z: drive reaches the Unix root
            std::printf("xdotool: %s not found; left out\n", o.xdotool.c_str());
        } else {
            std::ofstream(xdFile, std::ios::binary) << Expected(xdCodes);
            std::ofstream(xdScript, std::ios::binary)
                << "#!/bin/sh\n"
                << "tool='" << o.xdotool << "'\n"
                << "\"$tool\" search --limit 1 --name \"^$1\\$\" windowfocus --sync\n"
                << "exec \"$tool\" type --file '" << *unixFile << "'\n";
            xdotoolCommand = "/bin/sh " + *unixScript;
        }
    }
    std::printf(
        "typing_bench: seed %u; SendKeyString waits 1 ms before about one key in four and lets messages "
        "run after every key\n",
        o.seed);

    Win32Desktop desktop;
    if (o.target) {
        Receiver r;
        r.name = "our target (tl_target.exe)";
        const std::string exe = RequireProgram("tl_target.exe");
        if (!exe.empty() &&
            StartReceiver(r, wintest::Quote(exe) + " \"Taskloom Bench Target\"", "Taskloom Bench Target"))
            Bench(desktop, r, o.runs, codes, xdCodes, xdotoolCommand);
    }
    if (o.notepad && o.notepadRuns > 0) {
        Receiver r;
        r.name = "Wine's notepad";
        if (StartReceiver(r, "notepad.exe", "Untitled - Notepad"))
            Bench(desktop, r, o.notepadRuns, codes, xdCodes, xdotoolCommand);
    }
    DeleteFileA(xdFile.c_str());
    DeleteFileA(xdScript.c_str());
    return 0;
}
