// The script engine of one program: the interpreter that runs the script
// list line by line, and the state that outlives a run (the target window,
// the clips buffer, its delimiter, the clips file, the source list).
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/clips.h"
#include "engine/desktop.h"
#include "engine/errors.h"
#include "engine/host.h"
#include "engine/loops.h"
#include "engine/script_line.h"

namespace taskloom {

// How a run ended.
enum class RunEnd {
    Completed,   // the last line ran (or the list was emptied)
    Stopped,     // a stop request (-2 in the target window)
    Message,     // "Undefined Label" or "Inactive Window" was shown
    EndOfClips,  // ":LoopEOF" found no open clips file or an empty line
    Refused,     // a run was already in progress
    Paused,      // a step ran, or a breakpoint's line comes next: the run goes
                 // on from pausedAt() when it is stepped or resumed
};

// Lines (indexes from 0) before which a run pauses.
using Breakpoints = std::set<std::size_t>;

// A line that a command could not carry out: the run is abandoned. Names the
// line (counted from 1) and its text; what() holds the cause. The message
// shows the line and the cause cut to a readable length (a script line may
// be megabytes long); lineText() keeps the whole line.
class RunError : public TaskloomError {
public:
    RunError(std::size_t index, std::string lineText, const std::string& cause)
        : TaskloomError("line " + std::to_string(index + 1) + " (" + Cut(lineText, kShownLine) +
                        "): " + Cut(cause, kShownCause)),
          index_(index),
          lineText_(std::move(lineText)) {}
    std::size_t index() const { return index_; }
    const std::string& lineText() const { return lineText_; }

    static constexpr std::size_t kShownLine = 120, kShownCause = 300;

private:
    static std::string Cut(const std::string& text, std::size_t most) {
        return text.size() <= most ? text : text.substr(0, most) + "...";
    }
    std::size_t index_;
    std::string lineText_;
};

// Observes a run for the trace; every call is skipped when none is set.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void lineStarts(std::size_t /*index*/, const std::string& /*text*/) {}
    // The keys of the line, of a command that types, and the release of the
    // modifiers that the line pressed (the release string that follows every
    // line is not reported).
    virtual void keysSent(const std::string& /*keys*/) {}
    virtual void outcome(const std::string& /*what*/) {}
    virtual void runEnds(const std::string& /*how*/) {}
};

class Engine {
public:
    Engine(Desktop& desktop, Host& host);
    ~Engine();

    // Runs the host's script list from its first line. Returns how the run
    // ended; a command that fails throws RunError (the run is abandoned).
    // Modifier keys the run left down are released however it ends.
    RunEnd RunScript();
    bool running() const { return running_; }

    // A run that pauses, to be stepped through. It keeps what a whole run
    // keeps from line to line (its loop counters; the target window, the
    // clips buffer and the clips file are the engine's anyway), so that every
    // line runs exactly as it would in one go.
    //
    // RunFrom begins a new run at line `index` (a paused one is dropped) and
    // pauses before each line of `breaks` it reaches, its first line too.
    RunEnd RunFrom(std::size_t index, const Breakpoints& breaks = {});
    // Runs line `index` of the paused run (of a new run when none is paused)
    // and pauses before the line that would run after it, jumps and loops
    // followed. Ends the run when no line follows.
    RunEnd Step(std::size_t index);
    // Goes on with the paused run from pausedAt() (a new run from the first
    // line when none is paused), pausing before the next line of `breaks`
    // after the one it goes on from.
    RunEnd Resume(const Breakpoints& breaks = {});
    bool paused() const { return paused_ != nullptr; }
    // The line a paused run runs next; 0 when none is paused.
    std::size_t pausedAt() const;
    // Forgets the paused run (the list was edited, a new script came).
    void endPausedRun();

    // The stop request: the run ends before its next line, and a running
    // pause or wait is cut short. Safe to call from another thread. The
    // request is held apart from the target window, which the run rewrites
    // when a line switches or looks up windows, so that nothing but the
    // start of the next run takes it back; the target window reads -2, the
    // form in which the programs see and make the request.
    void requestStop() {
        stop_ = true;
        target_ = -2;
    }
    bool stopRequested() const { return stop_; }

    // While a stop request stands in a run, -2 whatever the run last wrote.
    Wnd targetWnd() const { return running_ && stop_ ? Wnd{-2} : target_.load(); }
    // Below -1: the stop request.
    void setTargetWnd(Wnd w) {
        if (w < -1)
            requestStop();
        else
            target_ = w;
    }
    const std::string& scriptLine() const { return scriptLine_; }

    ClipsBuffer& clips() { return clips_; }
    int delimiter() const { return delimiter_; }
    void setDelimiter(int d) { delimiter_ = d; }
    std::vector<std::string>& sourceLines() { return source_; }
    // The note's text (in the pad the same lines as the source list).
    std::vector<std::string>& memoLines();
    const std::string& clipsFileName() const { return clipsName_; }
    void closeClipsFile();

    void setObserver(RunObserver* o) { observer_ = o; }

    // Before a window switch, the window that took the previous keys is
    // given time to take them in: the wait ends when it has, when it has
    // taken in nothing for drainTimeoutMs (it hangs, or keeps its keys),
    // after drainLimitMs in all, or at a stop request.
    unsigned drainTimeoutMs = 5000;
    unsigned drainLimitMs = 300000;
    // Keys after a window switch (or a command's activation of the target)
    // wait until that window has taken the foreground, at most this long: a
    // window that never does gets the keys where they go, as before.
    unsigned foregroundTimeoutMs = 3000;

    // The capture procedures and commands, public for the tests and for the
    // programs' own menu items that do the same work.
    void AddClips(const std::string& text, bool fromClipboard);
    void ClipIt(const std::string& keys);
    void ClipControl();
    void CopyPasteDOS();
    // Copy DOS Screen on the Windows page: the console window in front (the
    // caller has brought it forward) is sent its Edit, Mark keys over 80
    // columns and 25 lines and Edit, Copy, and the text it copied comes
    // back. As for a console field, the clipboard is emptied first and read
    // once the console has copied, so a console that takes its keys in late
    // never gives the clipboard's previous text; one that copies nothing
    // gives "" after drainTimeoutMs.
    std::string CopyDosScreen();

private:
    struct Run;
    enum class Pausing { Never, AtBreaks, AfterOneLine };
    RunEnd go(std::unique_ptr<Run> run, Pausing pausing, const Breakpoints& breaks, bool resumed);
    void runLine(Run& run);
    void send(const std::string& keys);
    void dispatch(Run& run, const LineReading& r);
    void remark(Run& run);
    void jumpOrLoop(Run& run, const LineReading& r);
    bool loopHolds(Run& run, LoopFamily family, const std::string& keyword, const std::string& rest);
    bool countedLoopDone(Run& run, const std::string& rest);
    bool nextClipsLine(Run& run);
    bool windowLoopHolds(const std::string& keyword, const std::string& title);
    bool fileLoopHolds(const std::string& keyword, const std::string& name);
    bool menuLoopHolds(const std::string& keyword, const std::string& path);
    bool controlLoopHolds(const std::string& keyword, const std::string& text);
    bool findLabel(const std::string& label, std::size_t& where);
    void endWithMessage(Run& run, const std::string& text);
    void pause(const LineReading& r);
    void windowSwitch(Run& run, const LineReading& r);
    void startProgram(const LineReading& r);
    void loadText(const LineReading& r);
    void menuByMnemonics(Run& run, const LineReading& r);
    void note(Run& run, const LineReading& r);
    void mouseClick(const LineReading& r);
    void clipsCopy(const LineReading& r);
    void clipsPaste(const LineReading& r);
    void clipsDelimit(const LineReading& r);
    void clipsSave(const LineReading& r);
    void clipsLoad(const LineReading& r);
    bool readClipsLine(std::string& line);
    void capture(const LineReading& r);
    void activateTarget();
    void waitForDrain(Wnd next);
    void waitForKeysTaken();
    void waitForForeground();
    void waitForClipboardText(std::uint64_t emptied, bool stoppable = true);
    std::string clipboardLine();
    // The description is built only when an observer is set: a run without
    // a trace pays nothing for it.
    template <class Describe>
    void outcome(Describe&& describe) {
        if (observer_) observer_->outcome(describe());
    }

    Desktop& d_;
    Host& host_;
    std::atomic<Wnd> target_{0};
    std::string scriptLine_;
    ClipsBuffer clips_;
    int delimiter_ = kDelimiterLine;
    std::vector<std::string> source_;
    std::vector<std::string> memo_;
    std::string clipsName_;
    struct ClipsFile;
    std::unique_ptr<ClipsFile> clipsFile_;
    struct LabelIndex;
    std::unique_ptr<LabelIndex> labels_;
    RunObserver* observer_ = nullptr;
    std::unique_ptr<Run> paused_;  // the run that a step or a breakpoint paused
    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
    Wnd lastKeysTo_ = 0;  // the window that had the focus when keys were last sent
    Wnd activated_ = 0;   // brought forward, not yet seen to have taken the foreground
};

// Count of a command: the parameter read as a repeat count, 1 without a blank.
std::int32_t CommandCount(const LineReading& r);
// Field address "L C N" after the command word; missing or non-numeric parts
// read as 0.
struct FieldAddress {
    std::int32_t line = 0, column = 0, length = 0;
};
FieldAddress ReadFieldAddress(const std::string& scriptLine);
// The note header "x y title": throws ScriptError when x or y is not a whole
// number or a blank is missing.
struct NoteHeader {
    int x = 0, y = 0;
    std::string title;
};
NoteHeader ReadNoteHeader(const std::string& parameter);

}  // namespace taskloom
