// The line reader: any stored line reads into keys and at most one command,
// or is refused with a ScriptError (too many keys); nothing else is thrown.
// Also the brace escaping it relies on: reducing undoes escaping, and a line
// the composer writes as literal text types exactly that text.
#include <string>

#include "engine/script_line.h"
#include "engine/text.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

namespace {

std::string Reduced(std::string_view s) {
    return TripleBraces(TripleBraces(s, '{', BraceMode::Reduce), '}', BraceMode::Reduce);
}

std::string Escaped(std::string_view s) {
    return TripleBraces(TripleBraces(s, '{', BraceMode::Escape), '}', BraceMode::Escape);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);

    fuzz::AllowingScriptError([&] {
        const LineReading r = ReadScriptLine(text);
        FUZZ_CHECK(r.keys.size() <= kMaxLineKeys);
        FUZZ_CHECK(r.literalLine == StartsWith(text, "{{{"));
        if (r.literalLine) {
            FUZZ_CHECK(!r.command);
            FUZZ_CHECK(r.keys == Reduced(text));
        }
        if (r.command) {
            FUZZ_CHECK(StartsWith(r.scriptLine, ":"));
            FUZZ_CHECK(r.scriptLine.find('}') == std::string::npos);
            const std::size_t blank = r.scriptLine.find(' ');
            FUZZ_CHECK(r.parameter ==
                       (blank == std::string::npos ? r.scriptLine : r.scriptLine.substr(blank + 1)));
        } else {
            FUZZ_CHECK(r.scriptLine.empty() && r.parameter.empty());
        }
        // A modifier flag is only set by its key name, which puts its code in.
        if (r.shift) FUZZ_CHECK(r.keys.find('\xFA') != std::string::npos);
        if (r.ctrl) FUZZ_CHECK(r.keys.find('\xFC') != std::string::npos);
        if (r.alt) FUZZ_CHECK(r.keys.find('\xFE') != std::string::npos);
    });

    fuzz::NotThrowing([&] {
        for (char brace : {'{', '}'})
            FUZZ_CHECK(TripleBraces(TripleBraces(text, brace, BraceMode::Escape), brace, BraceMode::Reduce) ==
                       text);
    });

    // Text with a leading brace, escaped as the composer stores it, is a
    // literal line that types exactly the text.
    const std::string literal = "{" + std::string(text);
    fuzz::AllowingScriptError([&] {
        const LineReading r = ReadScriptLine(Escaped(literal));
        FUZZ_CHECK(r.literalLine && !r.command);
        FUZZ_CHECK(r.keys == literal);
    });
    return 0;
}
