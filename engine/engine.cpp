// The interpreter's run loop and command dispatch, and the commands that
// switch windows, pause, start programs, load text, press menus, show notes
// and click controls. The loops, the clips commands and the captures have
// files of their own.
#include "engine/engine.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "engine/engine_run.h"
#include "engine/filestore.h"
#include "engine/lookup.h"
#include "engine/sendkey.h"
#include "engine/starter.h"
#include "engine/text.h"

namespace taskloom {

// The label lines of one list generation of the host: each line's text,
// folded as EqualsNoCase compares, to its first position. Built on the
// second lookup under the same generation, so that a host whose list is
// never reported unchanged costs no more than the plain search.
struct Engine::LabelIndex {
    std::uint64_t generation = 0;
    bool seen = false;   // a lookup ran under `generation`
    bool built = false;  // `first` holds that generation's label lines
    std::unordered_map<std::string, std::size_t> first;
};

namespace {

constexpr unsigned kPauseSliceMs = 10;
constexpr int kShowNormal = 1;
constexpr int kShow = 5;

std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Whether a folded line has the shape of a label line "{." ... "}".
bool LabelShaped(const std::string& folded) {
    static const std::string open = FoldCase("{."), close = FoldCase("}");
    return folded.size() >= open.size() + close.size() && StartsWith(folded, open) &&
           folded.compare(folded.size() - close.size(), close.size(), close) == 0;
}

// First line of a text: up to its first line break.
std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

}  // namespace

std::int32_t CommandCount(const LineReading& r) {
    return Contains(r.scriptLine, " ") ? ReadCount(r.parameter) : 1;
}

NoteHeader ReadNoteHeader(const std::string& parameter) {
    NoteHeader h;
    const size_t first = parameter.find(' ');
    if (first == std::string::npos)
        throw ScriptError("the note needs \"x y title\": no blank after x in \"" + parameter + "\"");
    const std::string xs = parameter.substr(0, first);
    const size_t second = parameter.find(' ', first + 1);
    if (second == std::string::npos)
        throw ScriptError("the note needs \"x y title\": no blank after y in \"" + parameter + "\"");
    const std::string ys = parameter.substr(first + 1, second - first - 1);
    auto x = ToInteger(xs), y = ToInteger(ys);
    if (!x) throw ScriptError("the note's x \"" + xs + "\" is not a whole number");
    if (!y) throw ScriptError("the note's y \"" + ys + "\" is not a whole number");
    h.x = *x;
    h.y = *y >= 400 ? 350 : *y;
    h.title = parameter.substr(second + 1);
    return h;
}

Engine::Engine(Desktop& desktop, Host& host)
    : d_(desktop),
      host_(host),
      clips_(host.flavor() == Flavor::Pad ? kPadClipsLimit : kComposerClipsLimit),
      labels_(std::make_unique<LabelIndex>()) {}

Engine::~Engine() = default;

std::vector<std::string>& Engine::memoLines() { return host_.flavor() == Flavor::Pad ? source_ : memo_; }

std::string Engine::clipboardLine() { return FirstLine(d_.clipboardText()); }

void Engine::send(const std::string& keys) {
    if (keys.empty()) return;
    waitForForeground();
    if (observer_) observer_->keysSent(keys);
    lastKeysTo_ = d_.foregroundWindow();
    SendKeyString(d_, keys);
}

RunEnd Engine::RunScript() { return RunFrom(0); }

RunEnd Engine::RunFrom(std::size_t index, const Breakpoints& breaks) {
    if (running_) return RunEnd::Refused;
    paused_.reset();
    auto run = std::make_unique<Run>();
    run->index = index;
    return go(std::move(run), breaks.empty() ? Pausing::Never : Pausing::AtBreaks, breaks, false);
}

RunEnd Engine::Step(std::size_t index) {
    if (running_) return RunEnd::Refused;
    const bool resumed = paused_ != nullptr;
    std::unique_ptr<Run> run = resumed ? std::move(paused_) : std::make_unique<Run>();
    run->index = index;
    return go(std::move(run), Pausing::AfterOneLine, {}, resumed);
}

RunEnd Engine::Resume(const Breakpoints& breaks) {
    if (running_) return RunEnd::Refused;
    if (!paused_) return RunFrom(0, breaks);
    return go(std::move(paused_), Pausing::AtBreaks, breaks, true);
}

std::size_t Engine::pausedAt() const { return paused_ ? paused_->index : 0; }

void Engine::endPausedRun() { paused_.reset(); }

RunEnd Engine::go(std::unique_ptr<Run> run, Pausing pausing, const Breakpoints& breaks, bool resumed) {
    running_ = true;
    // However the run ends (also by an exception from inside a line), the
    // modifier keys it pressed are released before control returns.
    struct Cleanup {
        Engine& e;
        ~Cleanup() {
            static constexpr std::uint8_t kVk[] = {kVkShift, kVkControl, kVkMenu};
            // Nothing may escape a destructor that can run while an exception
            // is on its way out: the key-state query is guarded as well.
            for (std::uint8_t vk : kVk) {
                try {
                    if (e.d_.isKeyDown(vk))
                        e.d_.keyEvent({vk, static_cast<std::uint8_t>(e.d_.mapVirtualKey(vk)), true, false});
                } catch (...) {
                }
            }
            try {
                e.d_.fineTimer(false);
            } catch (...) {
            }
            e.running_ = false;
        }
    } cleanup{*this};
    d_.fineTimer(true);
    stop_ = false;
    if (!resumed) {
        lastKeysTo_ = 0;
        activated_ = 0;
        if (target_ < 1) target_ = ForegroundWindow(d_);
    } else if (const Wnd back = run->foreground;
               back > 0 && d_.isVisible(back) && d_.foregroundWindow() != back) {
        // While the run was paused the user worked elsewhere (pressed Step in
        // the composer, say): the window that had the foreground when the run
        // paused takes it back, so that the next keys go where they would
        // have gone in one go.
        ActivateWindow(d_, back);
        activated_ = back;  // the next keys wait until it has the foreground
    }
    bool first = true;
    try {
        while (run->index < host_.lineCount() && !stop_) {
            const bool pause = !first && (pausing == Pausing::AfterOneLine ||
                                          (pausing == Pausing::AtBreaks && breaks.count(run->index) != 0));
            // A fresh run stops at a breakpoint on the line it begins with;
            // a resumed one goes on from it.
            const bool pauseFirst =
                first && !resumed && pausing == Pausing::AtBreaks && breaks.count(run->index) != 0;
            if (pause || pauseFirst) {
                if (observer_) observer_->runEnds("paused before line " + std::to_string(run->index + 1));
                run->foreground = d_.foregroundWindow();
                paused_ = std::move(run);
                return RunEnd::Paused;
            }
            first = false;
            runLine(*run);
            if (run->over) break;
            ++run->index;
        }
    } catch (const RunError& e) {
        if (observer_) observer_->runEnds(std::string("abandoned: ") + e.what());
        throw;
    }
    if (!run->over && stop_) {
        run->end = RunEnd::Stopped;
        target_ = -2;  // the request's visible form outlasts the run
    }
    if (observer_) {
        static const char* kHow[] = {"completed", "stopped", "ended by a message", "ended by the clips file",
                                     "refused",   "paused"};
        observer_->runEnds(kHow[static_cast<int>(run->end)]);
    }
    return run->end;
}

void Engine::runLine(Run& run) {
    host_.selectLine(run.index);
    scriptLine_.clear();
    run.alt = run.ctrl = run.shift = false;
    run.lineText = host_.line(run.index);
    if (observer_) observer_->lineStarts(run.index, run.lineText);
    const std::size_t index = run.index;
    try {
        LineReading r = ReadScriptLine(run.lineText);
        run.alt = r.alt;
        run.ctrl = r.ctrl;
        run.shift = r.shift;
        scriptLine_ = r.scriptLine;
        send(r.keys);
        SendKeyString(d_, kReleaseString);
        if (r.command) dispatch(run, r);
        d_.processMessages();
        std::string second;
        if (run.alt) second += static_cast<char>(kAltUp);
        if (run.ctrl) second += static_cast<char>(kCtrlUp);
        if (run.shift) second += static_cast<char>(kShiftUp);
        if (observer_ && !second.empty()) observer_->keysSent(second);
        SendKeyString(d_, second);
    } catch (const RunError&) {
        throw;
    } catch (const std::exception& e) {
        throw RunError(index, run.lineText, e.what());
    }
}

void Engine::dispatch(Run& run, const LineReading& r) {
    switch (ClassifyCommand(r)) {
        case CommandKind::Remark:
            remark(run);
            break;
        case CommandKind::Pause:
            pause(r);
            break;
        case CommandKind::ClipsAdd:
            capture(r);
            break;
        case CommandKind::ClipsClear:
            clips_.clear();
            outcome([] { return "clips cleared"; });
            break;
        case CommandKind::ClipsCopy:
            clipsCopy(r);
            break;
        case CommandKind::ClipsPaste:
            clipsPaste(r);
            break;
        case CommandKind::ClipsDelimit:
            clipsDelimit(r);
            break;
        case CommandKind::WindowSwitch:
            windowSwitch(run, r);
            break;
        case CommandKind::Run:
            startProgram(r);
            break;
        case CommandKind::Load:
            loadText(r);
            break;
        case CommandKind::Menu:
            menuByMnemonics(run, r);
            break;
        case CommandKind::PopUp:
            note(run, r);
            break;
        case CommandKind::ClipsSave:
            clipsSave(r);
            break;
        case CommandKind::ClipsLoad:
            clipsLoad(r);
            break;
        case CommandKind::Mouse:
            mouseClick(r);
            break;
        case CommandKind::Loop:
            jumpOrLoop(run, r);
            break;
        case CommandKind::Nothing:
            outcome([] { return "no such command: nothing done"; });
            break;
    }
}

// A remark block: the next line holding "{:" runs next.
void Engine::remark(Run& run) {
    std::size_t i = run.index + 1;
    while (i < host_.lineCount() && !Contains(host_.line(i), "{:")) ++i;
    outcome([&] {
        const std::size_t skipped = i - run.index - 1;
        return "remark: " + std::to_string(skipped) + (skipped == 1 ? " line" : " lines") + " skipped";
    });
    run.index = i - 1;
}

// The first line equal to "{." + label + "}" without regard to case. A long
// script whose loops jump locally would otherwise pay a search from the top
// at every jump; while the host reports the list unchanged, the label lines
// are looked up in an index instead.
bool Engine::findLabel(const std::string& label, std::size_t& where) {
    const std::string wanted = "{." + label + "}";
    LabelIndex& x = *labels_;
    const std::uint64_t generation = host_.listGeneration();
    if (!x.seen || x.generation != generation) {
        x.generation = generation;
        x.seen = true;
        x.built = false;
        x.first.clear();
        const std::size_t n = host_.lineCount();
        for (std::size_t i = 0; i < n; ++i) {
            if (EqualsNoCase(host_.line(i), wanted)) {
                where = i;
                return true;
            }
        }
        return false;
    }
    if (!x.built) {
        const std::size_t n = host_.lineCount();
        for (std::size_t i = 0; i < n; ++i) {
            std::string folded = FoldCase(host_.line(i));
            if (LabelShaped(folded)) x.first.try_emplace(std::move(folded), i);
        }
        x.built = true;
    }
    const auto it = x.first.find(FoldCase(wanted));
    if (it == x.first.end()) return false;
    where = it->second;
    return true;
}

void Engine::endWithMessage(Run& run, const std::string& text) {
    host_.showMessage(text);
    if (host_.flavor() == Flavor::Pad) host_.clearLines();
    run.over = true;
    run.end = RunEnd::Message;
}

void Engine::pause(const LineReading& r) {
    std::int64_t n = CommandCount(r);
    if (n < 1) n = 1;
    const bool tenths = r.scriptLine.find("1/10", 5) != std::string::npos;
    const std::uint64_t total = static_cast<std::uint64_t>(n) * (tenths ? 100 : 1000);
    outcome([&] { return "pause " + std::to_string(total) + " ms"; });
    // Waits in short slices, letting messages run between them, so that a
    // stop request cuts the pause short.
    const std::uint64_t start = d_.tickMs();
    while (!stop_) {
        const std::uint64_t elapsed = d_.tickMs() - start;
        if (elapsed >= total) break;
        d_.sleep(static_cast<unsigned>(std::min<std::uint64_t>(kPauseSliceMs, total - elapsed)));
        d_.processMessages();
    }
}

// Keys that the previous window has not taken in yet would follow the
// focus into the next one (or be lost on the way): before a switch, wait
// while it is still taking them in.
void Engine::waitForDrain(Wnd next) {
    // Only keys sent to another window can be carried into the next one.
    if (!lastKeysTo_ || !next || lastKeysTo_ == next) return;
    waitForKeysTaken();
}

// The same wait before a window that the run cannot name takes the
// foreground: the note, or a program it starts.
void Engine::waitForKeysTaken() {
    if (!lastKeysTo_) return;
    struct EndWait {
        Desktop& d;
        ~EndWait() { d.endInputWait(); }
    } endWait{d_};
    const std::uint64_t start = d_.tickMs();
    std::uint64_t moved = start, taken = 0;
    while (!stop_) {
        const Desktop::InputProgress p = d_.inputProgress(lastKeysTo_);
        if (p.drained) break;
        const std::uint64_t now = d_.tickMs();
        if (p.taken != taken) {
            taken = p.taken;
            moved = now;
        }
        if (now - moved >= drainTimeoutMs || now - start >= drainLimitMs) break;
        d_.processMessages();
        d_.sleep(1);
    }
}

void Engine::activateTarget() {
    if (target_ > 0) {
        waitForDrain(target_);
        ActivateWindow(d_, target_);
        activated_ = target_;
    }
}

// Keys sent before the window just brought forward has taken the foreground
// go to the window that had it (the composer, when a Test starts from its
// window): the first word of a line was seen to land there. They wait for
// the switch to have happened, letting messages run, which is also when a
// late focus event of our own window is handled.
void Engine::waitForForeground() {
    const Wnd w = activated_;
    activated_ = 0;
    if (w <= 0 || !d_.isWindow(w)) return;
    const std::uint64_t start = d_.tickMs();
    while (!stop_ && !d_.hasTakenForeground(w) && d_.tickMs() - start < foregroundTimeoutMs) {
        d_.processMessages();
        d_.sleep(1);
    }
}

void Engine::windowSwitch(Run& run, const LineReading& r) {
    std::string search;
    if (StartsWith(r.scriptLine, ":TO")) {
        search = r.parameter;
        target_ = FindWindowByTitle(d_, search);
    } else {
        search = TitlePrefixSearch(d_, r.parameter);
        target_ = FindWindowByTitle(d_, search);
    }
    waitForDrain(target_);
    if (stop_) return;  // stopped while waiting: the run ends before its next line
    ActivateWindow(d_, target_);
    activated_ = target_;
    if (target_ == 0 || !d_.isVisible(target_)) {
        outcome([&] { return "window \"" + search + "\" not found or hidden"; });
        endWithMessage(run, "Inactive Window: \r" + search + "\rQuitting Script...");
        return;
    }
    outcome([&] { return "switched to \"" + WindowText(d_, target_) + "\""; });
}

void Engine::startProgram(const LineReading& r) {
    std::string text = r.parameter;
    if (const size_t pp = text.find("%%"); pp != std::string::npos) text.replace(pp, 2, clipboardLine());
    waitForKeysTaken();
    if (target_ < -1) return;  // stopped while waiting
    ShellStart s;
    Wnd owner;
    if (host_.flavor() == Flavor::Composer) {
        s = ComposerStart(text, FileExists);
        owner = d_.foregroundWindow();
        d_.shellExecute(owner, s.file, s.params, s.dir, kShow);
    } else {
        s = ExecProgram(TrimBlanks(text), FileExists);
        owner = host_.ownWindow();
        d_.shellExecute(owner, s.file, s.params, s.dir, kShowNormal);
    }
    outcome([&] { return "started \"" + s.file + "\" with \"" + s.params + "\" in \"" + s.dir + "\""; });
    d_.sleep(200);
}

void Engine::loadText(const LineReading& r) {
    const std::string& name = r.parameter;
    if (!FileExists(name)) {
        outcome([&] { return "file \"" + name + "\" not found"; });
        return;
    }
    std::vector<std::string> lines = ReadTextLines(name);
    source_ = lines;
    memoLines() = lines;
    host_.textLoaded(lines);
    outcome([&] { return "loaded " + std::to_string(lines.size()) + " lines"; });
}

void Engine::menuByMnemonics(Run& run, const LineReading& r) {
    activateTarget();
    std::string keys(1, static_cast<char>(kAltDown));
    run.alt = true;
    const std::string& p = r.parameter;
    for (size_t i = p.find('&'); i != std::string::npos && i + 1 < p.size(); i = p.find('&', i + 2))
        keys += p[i + 1];
    send(keys);
}

void Engine::note(Run& run, const LineReading& r) {
    const NoteHeader h = ReadNoteHeader(r.parameter);
    std::vector<std::string>& memo = memoLines();
    memo.clear();
    std::size_t i = run.index + 1;
    for (; i < host_.lineCount(); ++i) {
        const std::string text = host_.line(i);
        if (Contains(text, "{:")) break;
        if (StartsWith(text, "@")) {
            std::string name = text.substr(1);
            if (!FileExists(name)) name = host_.programDir() + name;
            if (!FileExists(name))
                throw FileError(text.substr(1), "no such file, here or in " + host_.programDir(),
                                "cannot show the note's file");
            memo = ReadTextLines(name);
        } else {
            memo.push_back(text);
        }
    }
    run.index = i - 1;
    if (memo.empty()) {
        outcome([&] { return "note without lines not shown"; });
        return;
    }
    waitForKeysTaken();
    if (target_ < -1) return;  // stopped while waiting
    const NoteAnswer a = host_.showNote(h.title, memo, h.x, h.y);
    outcome([&] { return a == NoteAnswer::Abort ? "note: Abort" : "note: Continue"; });
    if (a == NoteAnswer::Abort) {
        if (host_.flavor() == Flavor::Composer)
            requestStop();
        else
            host_.clearLines();
    }
}

void Engine::mouseClick(const LineReading& r) {
    const Wnd control = FindControl(d_, target_, r.parameter);
    if (!control) {
        outcome([&] { return "control \"" + r.parameter + "\" not found"; });
        return;
    }
    const std::string& s = r.scriptLine;
    if (StartsWith(s, ":MouseClick")) {
        d_.postMessage(control, kWmLButtonDown, 0, 0);
        d_.postMessage(control, kWmLButtonUp, 0, 0);
    } else if (StartsWith(s, ":MouseDblClick")) {
        d_.postMessage(control, kWmLButtonDblClk, 0, 0);
    } else {
        d_.postMessage(control, kWmRButtonDown, 0, 0);
        d_.postMessage(control, kWmRButtonUp, 0, 0);
    }
    outcome([&] { return "clicked control \"" + r.parameter + "\""; });
}

}  // namespace taskloom
