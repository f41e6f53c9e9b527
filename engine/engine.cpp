#include "engine/engine.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstring>
#include <unordered_map>

#include "engine/filestore.h"
#include "engine/lookup.h"
#include "engine/sendkey.h"
#include "engine/starter.h"
#include "engine/text.h"

namespace taskloom {

// The clips file stays open between commands and between runs, for writing
// at its end or for reading from its current line.
struct Engine::ClipsFile {
    std::FILE* file = nullptr;
    bool writing = false;
    ~ClipsFile() {
        if (file) std::fclose(file);
    }
};

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

struct Engine::Run {
    std::size_t index = 0;
    std::map<std::size_t, std::int32_t> loopCounters;  // one per ":LoopTimes" line
    bool alt = false, ctrl = false, shift = false;     // modifier flags of the line
    bool over = false;                                 // the run ends after this line
    RunEnd end = RunEnd::Completed;
    std::string lineText;
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

FieldAddress ReadFieldAddress(const std::string& scriptLine) {
    // By position: L between the first and second blank, C between the
    // second and third, N the rest; a part that is missing reads as 0.
    FieldAddress a;
    const size_t first = scriptLine.find(' ');
    if (first == std::string::npos) return a;
    std::string_view rest = std::string_view(scriptLine).substr(first + 1);
    auto number = [](std::string_view s) { return ToInteger(s).value_or(0); };
    const size_t second = rest.find(' ');
    if (second == std::string_view::npos) return a;
    a.line = number(rest.substr(0, second));
    rest.remove_prefix(second + 1);
    const size_t third = rest.find(' ');
    if (third == std::string_view::npos) {
        a.length = number(rest);  // two numbers: the second is the length
        return a;
    }
    a.column = number(rest.substr(0, third));
    a.length = number(rest.substr(third + 1));
    return a;
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

void Engine::closeClipsFile() {
    clipsFile_.reset();
    clipsName_.clear();
}

std::string Engine::clipboardLine() { return FirstLine(d_.clipboardText()); }

void Engine::send(const std::string& keys) {
    if (keys.empty()) return;
    if (observer_) observer_->keysSent(keys);
    lastKeysTo_ = d_.foregroundWindow();
    SendKeyString(d_, keys);
}

RunEnd Engine::RunScript() {
    if (running_) return RunEnd::Refused;
    running_ = true;
    Run run;
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
    lastKeysTo_ = 0;
    if (target_ < 1) target_ = ForegroundWindow(d_);
    try {
        while (run.index < host_.lineCount() && target_ >= -1) {
            runLine(run);
            if (run.over) break;
            ++run.index;
        }
    } catch (const RunError& e) {
        if (observer_) observer_->runEnds(std::string("abandoned: ") + e.what());
        throw;
    }
    if (!run.over && target_ < -1) run.end = RunEnd::Stopped;
    if (observer_) {
        static const char* kHow[] = {"completed", "stopped", "ended by a message", "ended by the clips file",
                                     "refused"};
        observer_->runEnds(kHow[static_cast<int>(run.end)]);
    }
    return run.end;
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
    const std::string& s = r.scriptLine;
    if (StartsWith(s, ":/")) {
        // Remark block: the next line holding "{:" runs next.
        std::size_t i = run.index + 1;
        while (i < host_.lineCount() && !Contains(host_.line(i), "{:")) ++i;
        outcome([&] {
            const std::size_t skipped = i - run.index - 1;
            return "remark: " + std::to_string(skipped) + (skipped == 1 ? " line" : " lines") + " skipped";
        });
        run.index = i - 1;
    } else if (StartsWith(s, ":Pause")) {
        pause(r);
    } else if (StartsWith(s, ":ClipsAdd")) {
        capture(r);
    } else if (s == ":ClipsClear") {
        clips_.clear();
        outcome([] { return "clips cleared"; });
    } else if (s.substr(0, s.find(' ')) == ":ClipsCopy") {
        clipsCopy(r);
    } else if (s.substr(0, s.find(' ')) == ":ClipsPaste") {
        clipsPaste(r);
    } else if (StartsWith(s, ":ClipsDelimit")) {
        clipsDelimit(r);
    } else if (StartsWith(UpperCase(s), ":TO")) {
        windowSwitch(run, r);
    } else if (StartsWith(s, ":Run") && r.parameter.compare(" ") > 0) {
        startProgram(r);
    } else if (StartsWith(s, ":Load")) {
        loadText(r);
    } else if (StartsWith(s, ":Menu")) {
        menuByMnemonics(run, r);
    } else if (StartsWith(s, ":PopUp")) {
        note(run, r);
    } else if (StartsWith(s, ":ClipsSave")) {
        clipsSave(r);
    } else if (StartsWith(s, ":ClipsLoad")) {
        clipsLoad(r);
    } else if (StartsWith(s, ":Mouse")) {
        mouseClick(r);
    } else if (StartsWith(s, ":Loop") || StartsWith(s, ":Goto")) {
        jumpOrLoop(run, r);
    } else {
        outcome([] { return "no such command: nothing done"; });
    }
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

void Engine::jumpOrLoop(Run& run, const LineReading& r) {
    const std::string& s = r.scriptLine;
    const size_t blank = s.find(' ');
    const std::string keyword = blank == std::string::npos ? std::string() : s.substr(0, blank);
    const std::string& value = r.parameter;
    const size_t vb = value.find(' ');
    const std::string label = value.substr(0, vb);
    const std::string rest = vb == std::string::npos ? std::string() : value.substr(vb + 1);

    std::size_t labelIndex = 0;
    if (!findLabel(label, labelIndex)) {
        outcome([&] { return "label {." + label + "} not found"; });
        endWithMessage(run, "Undefined Label: \r{." + label + "}\rQuitting Script...");
        return;
    }
    bool jump = false;
    if (StartsWith(keyword, ":Goto")) {
        jump = true;
    } else if (StartsWith(keyword, ":LoopTimes")) {
        std::int32_t& counter = run.loopCounters.try_emplace(run.index, -1).first->second;
        if (counter == 1) {
            counter = -1;
        } else {
            bool go = true;
            if (counter < 0) {
                const std::int32_t n = ReadCount(rest);
                if (n < 2)
                    go = false;
                else
                    counter = n;
            }
            if (go) {
                --counter;
                jump = true;
            }
        }
    } else if (StartsWith(keyword, ":LoopEOF")) {
        if (!clipsFile_) {
            outcome([&] { return "no clips file is open"; });
            run.over = true;
            run.end = RunEnd::EndOfClips;
            return;
        }
        clips_.clear();
        std::string line;
        readClipsLine(line);
        if (line.empty()) {
            outcome([&] { return "end of the clips file"; });
            run.over = true;
            run.end = RunEnd::EndOfClips;
            return;
        }
        clips_.setLines(SplitCommaText(line));
        jump = true;
    } else if (StartsWith(keyword, ":LoopWindow")) {
        target_ = FindWindowByTitle(d_, rest);
        const bool visible = target_ != 0 && d_.isVisible(target_);
        outcome([&] {
            return std::string("window \"") + rest + (visible ? "\" visible" : "\" missing or hidden");
        });
        jump = visible ? Contains(keyword, "WindowInactive") : Contains(keyword, "WindowActive");
    } else if (StartsWith(keyword, ":LoopFile")) {
        const bool exists = FileExists(rest);
        outcome([&] { return std::string("file \"") + rest + (exists ? "\" exists" : "\" not found"); });
        jump = exists ? Contains(keyword, "NotFound") : Contains(keyword, "Exists");
    } else if (StartsWith(keyword, ":LoopMenu")) {
        const bool enabled = MenuPathEnabled(d_, target_, rest.empty() ? rest : rest.substr(1));
        outcome([&] { return enabled ? "menu item enabled" : "menu item disabled or missing"; });
        jump = enabled ? Contains(keyword, "Disabled") : Contains(keyword, "Enabled");
    } else if (StartsWith(keyword, ":LoopClipboard")) {
        const std::string clip = clipboardLine();
        if (Contains(keyword, "Contains")) {
            const bool occurs = !rest.empty() && Contains(clip, rest);
            jump = occurs ? Contains(keyword, "NOT") : !Contains(keyword, "NOT");
        } else {
            const int c = clip.compare(rest);
            if (c < 0)
                jump = !(Contains(keyword, "LT") || Contains(keyword, "LE"));
            else if (c == 0)
                jump = !(Contains(keyword, "EQ") || Contains(keyword, "LE") || Contains(keyword, "GE"));
            else
                jump = !(Contains(keyword, "GT") || Contains(keyword, "GE"));
        }
    } else if (StartsWith(keyword, ":LoopControl")) {
        const bool byClipboard =
            StartsWith(keyword, ":LoopControlEQ") || StartsWith(keyword, ":LoopControlNE");
        const std::string wanted = byClipboard ? clipboardLine() : rest;
        const Wnd control = FindControl(d_, target_, wanted);
        if (!control) {
            outcome([&] { return "control \"" + wanted + "\" not found"; });
            jump = Contains(keyword, "ControlEnabled") || StartsWith(keyword, ":LoopControlEQ");
        } else {
            const bool enabled = d_.isEnabled(control);
            outcome([&] { return "control \"" + wanted + (enabled ? "\" enabled" : "\" disabled"); });
            if (Contains(keyword, "ControlDisabled") && enabled)
                jump = true;
            else if (Contains(keyword, "ControlEnabled") && !enabled)
                jump = true;
            else
                jump = StartsWith(keyword, ":LoopControlNE");
        }
    } else {
        outcome([] { return "no such loop: nothing done"; });
        return;
    }
    outcome([&] { return jump ? "jump to line " + std::to_string(labelIndex + 1) : std::string("go on"); });
    // The label line runs next (it does nothing); for a label on the first
    // line the index wraps and the step to the next line brings it to 0.
    if (jump) run.index = labelIndex - 1;
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
    while (target_ >= -1) {
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
    struct EndWait {
        Desktop& d;
        ~EndWait() { d.endInputWait(); }
    } endWait{d_};
    const std::uint64_t start = d_.tickMs();
    std::uint64_t moved = start, taken = 0;
    while (target_ >= -1) {
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
    if (target_ < -1) return;  // stopped while waiting: the run ends before its next line
    ActivateWindow(d_, target_);
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

void Engine::clipsCopy(const LineReading& r) {
    const std::vector<std::string>& lines = clips_.lines();
    if (lines.empty()) return;
    const std::int32_t n = CommandCount(r);
    const std::string& line = (n < 1 || static_cast<size_t>(n) > lines.size()) ? lines.back() : lines[n - 1];
    d_.setClipboardText(line);
    outcome([&] { return "clipboard: \"" + line + "\""; });
}

void Engine::clipsPaste(const LineReading& r) {
    activateTarget();
    const std::vector<std::string>& lines = clips_.lines();
    if (lines.empty()) return;
    const std::int32_t n = CommandCount(r);
    // A count below 1 names no line: like ":ClipsCopy", the last line is typed.
    // A copy: messages run while it is typed, and a handler may add clips.
    const std::string line = (n < 1 || static_cast<size_t>(n) > lines.size()) ? lines.back() : lines[n - 1];
    send(line);
    d_.sleep(100);
}

void Engine::clipsDelimit(const LineReading& r) {
    const std::string& s = r.scriptLine;
    const std::string keyword = s.substr(0, s.find(' '));
    if (Contains(s, "Line"))
        delimiter_ = kDelimiterLine;
    else if (Contains(s, "None"))
        delimiter_ = kDelimiterNone;
    else if (keyword == ":ClipsDelimiterTab")
        delimiter_ = '\t';
    else if (!r.parameter.empty())
        delimiter_ = static_cast<unsigned char>(r.parameter[0]);
    else
        delimiter_ = ' ';
    outcome([&] {
        return delimiter_ == kDelimiterLine   ? std::string("clips delimiter: new line")
               : delimiter_ == kDelimiterNone ? std::string("clips delimiter: none")
               : delimiter_ == '\t'           ? std::string("clips delimiter: tab")
                                    : "clips delimiter: \"" + std::string(1, char(delimiter_)) + "\"";
    });
}

void Engine::clipsSave(const LineReading& r) {
    const std::string& name = r.parameter;
    // A file open for reading under this name is opened again for writing:
    // saving what was loaded must not abandon the run.
    if (name != clipsName_ || !clipsFile_ || !clipsFile_->writing) {
        closeClipsFile();
        auto f = std::make_unique<ClipsFile>();
        errno = 0;
        f->file = std::fopen(name.c_str(), "ab");
        if (!f->file) throw FileError(name, std::strerror(errno), "cannot open the clips file");
        f->writing = true;
        clipsFile_ = std::move(f);
        clipsName_ = name;
        outcome([&] { return "clips file \"" + name + "\" opened for writing"; });
    }
    const std::string line = JoinCommaText(clips_.lines()) + "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), clipsFile_->file) != line.size() ||
        std::fflush(clipsFile_->file) != 0)
        throw FileError(name, std::strerror(errno), "cannot write the clips file");
    outcome([&] { return "clips saved"; });
}

bool Engine::readClipsLine(std::string& line) {
    line.clear();
    if (!clipsFile_) return false;
    if (clipsFile_->writing)
        throw FileError(clipsName_, "it is open for writing (saved earlier)", "cannot read the clips file");
    int c;
    bool any = false;
    while ((c = std::fgetc(clipsFile_->file)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (c == '\r') {
            int next = std::fgetc(clipsFile_->file);
            if (next != '\n' && next != EOF) std::ungetc(next, clipsFile_->file);
            break;
        }
        line += static_cast<char>(c);
        if (line.size() > (64u << 20))
            throw FileError(clipsName_, "a line is longer than 64 MB", "cannot read the clips file");
    }
    if (std::ferror(clipsFile_->file))
        throw FileError(clipsName_, std::strerror(errno), "cannot read the clips file");
    return any;
}

void Engine::clipsLoad(const LineReading& r) {
    const std::string& name = r.parameter;
    // A file open for writing under this name (saved to earlier) is opened
    // again for reading from its first line.
    if (name != clipsName_ || !clipsFile_ || clipsFile_->writing) {
        closeClipsFile();
        errno = 0;
        std::FILE* f = std::fopen(name.c_str(), "rb");
        if (!f) throw FileError(name, std::strerror(errno), "cannot open the clips file");
        clipsFile_ = std::make_unique<ClipsFile>();
        clipsFile_->file = f;
        clipsName_ = name;
        outcome([&] { return "clips file \"" + name + "\" opened for reading"; });
    }
    clips_.clear();
    std::string line;
    readClipsLine(line);
    clips_.setLines(SplitCommaText(line));
    outcome([&] { return "clips loaded: " + std::to_string(clips_.lineCount()) + " lines"; });
}

// --- capture -----------------------------------------------------------

void Engine::AddClips(const std::string& text, bool fromClipboard) {
    if (host_.flavor() == Flavor::Composer) {
        clips_.addComposer(fromClipboard ? clipboardLine() : text, delimiter_);
    } else {
        clips_.addPad(fromClipboard ? d_.clipboardText() : text, delimiter_);
    }
    outcome([&] { return "clips: " + std::to_string(clips_.lineCount()) + " lines"; });
}

void Engine::ClipIt(const std::string& keys) {
    std::string all = keys;
    all += {static_cast<char>(kShiftDown), static_cast<char>(kKeyEnd), static_cast<char>(kShiftUp),
            static_cast<char>(kCtrlDown),  static_cast<char>(kKeyIns), static_cast<char>(kCtrlUp)};
    send(all);
    d_.processMessages();
}

void Engine::ClipControl() {
    const FieldAddress a = ReadFieldAddress(scriptLine_);
    if (a.line < 1) return;
    const std::string line =
        static_cast<size_t>(a.line) <= source_.size() ? source_[a.line - 1] : std::string();
    const size_t from = static_cast<size_t>(std::max(a.column, 1) - 1);
    const size_t count = a.length < 1 ? 0 : static_cast<size_t>(a.length);
    AddClips(from < line.size() ? line.substr(from, count) : std::string(), false);
}

namespace {

std::string Repeat(unsigned char code, std::int64_t times) {
    if (times <= 0) return {};
    if (static_cast<std::uint64_t>(times) > kMaxLineKeys)
        throw ScriptError("the field address asks for " + std::to_string(times) + " key strokes; at most " +
                          std::to_string(kMaxLineKeys) + " are sent");
    return std::string(static_cast<size_t>(times), static_cast<char>(code));
}

}  // namespace

// The console copies when it takes in the copy keys, which may be long
// after they were sent (they wait in its queue): a fixed wait alone would
// read the clipboard's old text, the previous field. The clipboard is
// emptied before the copy keys go, and this waits until it holds text
// again, at most drainTimeoutMs (a console that copies nothing), cut short
// by a stop request. `emptied`: the clipboard's sequence number after
// emptying.
void Engine::waitForClipboardText(std::uint64_t emptied) {
    if (emptied == 0) return;  // the desktop cannot tell
    const std::uint64_t start = d_.tickMs();
    std::uint64_t seen = emptied;
    while (target_ >= -1 && d_.tickMs() - start < drainTimeoutMs) {
        const std::uint64_t now = d_.clipboardSequence();
        if (now != seen) {
            seen = now;
            if (!d_.clipboardText().empty()) return;
        }
        d_.processMessages();
        d_.sleep(1);
    }
}

void Engine::CopyPasteDOS() {
    const FieldAddress a = ReadFieldAddress(scriptLine_);
    const std::string alt(1, static_cast<char>(kAltDown)), altUp(1, static_cast<char>(kAltUp));
    send(alt + " ek" + altUp);
    if (a.line < 1) return;
    send(Repeat(kKeyDown, std::int64_t{a.line} - 1));
    send(Repeat(kKeyRight, std::int64_t{a.column} - 1));
    std::string mark{static_cast<char>(kShiftDown), static_cast<char>(kKeyRight),
                     static_cast<char>(kKeyLeft)};
    send(mark + Repeat(kKeyRight, std::int64_t{a.length} - 1));
    d_.emptyClipboard(target_ > 0 ? static_cast<Wnd>(target_) : 0);
    const std::uint64_t emptied = d_.clipboardSequence();
    send(std::string(1, static_cast<char>(kShiftUp)) + alt + " ey" + altUp);
    waitForClipboardText(emptied);
    d_.sleep(clips_.lineCount() == 0 ? 200 : 10);
    AddClips("", true);
}

void Engine::capture(const LineReading& r) {
    const std::string& s = r.scriptLine;
    if (s == ":ClipsAddClipboard") {
        AddClips("", true);
        return;
    }
    activateTarget();
    d_.processMessages();
    if (StartsWith(s, ":ClipsAddDOS")) {
        CopyPasteDOS();
        return;
    }
    d_.emptyClipboard(target_ > 0 ? static_cast<Wnd>(target_) : 0);
    ClipIt(std::string(1, static_cast<char>(kKeyHome)));
    d_.sleep(clips_.lineCount() == 0 ? 200 : 50);
    const std::string pasted = clipboardLine();
    if (s == ":ClipsAddText" || s == ":ClipsAddForm") {
        AddClips(pasted, false);
    } else if (StartsWith(s, ":ClipsAddControls")) {
        source_ = GetControls(d_, target_);
        ClipControl();
    } else if (StartsWith(s, ":ClipsAddFile")) {
        ClipControl();
    }
}

}  // namespace taskloom
