// The run trace: each line as it runs, the keys it sends, what its command
// did and how the run ended, written as plain text lines to a stream.
//
//   line 2: {Shift}ab{Enter}
//     keys: Shift down, a, b, Enter
//     keys: Shift up
//     -> switched to "Report - Editor"
//   run completed
//
// The engine calls the tracer only while one is set, so a run without a
// trace builds none of this text.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace taskloom {

// The name of one key-string code: "Enter", "Tab", "Bksp", "Esc", "Space",
// printable characters as themselves ("Comma" for ","), "F1".."F12", the
// navigation keys ("Home", "PgDn", ...), "Shift down", "Alt up", ...; other
// codes as "vk 17" (0..31) or "char 233" (127..227).
std::string NameOfKeyCode(unsigned char code);

// The codes of a key string named and joined by ", ".
std::string KeyStringWords(std::string_view keys);

// A line's text as it can be shown on one console line: control characters
// (the ESC of menu paths) as "<Esc>", "<Tab>" or "<#n>".
std::string VisibleText(std::string_view text);

class Tracer : public RunObserver {
public:
    explicit Tracer(std::ostream& out) : out_(out) {}

    void lineStarts(std::size_t index, const std::string& text) override;
    void keysSent(const std::string& keys) override;
    void outcome(const std::string& what) override;
    void runEnds(const std::string& how) override;

private:
    std::ostream& out_;
};

}  // namespace taskloom
