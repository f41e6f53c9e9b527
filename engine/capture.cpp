// Capture: the clips commands that copy a field of the target window (the
// caret's line, a control's text, a console's marked text) into the clips
// buffer.
#include <algorithm>

#include "engine/engine.h"
#include "engine/engine_run.h"
#include "engine/lookup.h"
#include "engine/sendkey.h"
#include "engine/text.h"
#include "engine/window_picker.h"

namespace taskloom {

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
void Engine::waitForClipboardText(std::uint64_t emptied, bool stoppable) {
    if (emptied == 0) return;  // the desktop cannot tell
    const std::uint64_t start = d_.tickMs();
    std::uint64_t seen = emptied;
    while (!(stoppable && stopRequested()) && d_.tickMs() - start < drainTimeoutMs) {
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

std::string Engine::CopyDosScreen() {
    d_.emptyClipboard(host_.ownWindow());
    const std::uint64_t emptied = d_.clipboardSequence();
    send(DosScreenCopyKeys());
    // Outside a run: a stop request left by the last run does not apply.
    waitForClipboardText(emptied, running_);
    return d_.clipboardText();
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
    // The copy keys queue up behind the text typed before them; on a busy
    // machine the fixed wait alone ran out before the target had copied,
    // and an empty line was captured. The wait starts once it has taken
    // them in.
    waitForKeysTaken();
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
