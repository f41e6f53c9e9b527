// The note header "x y title": any text either reads or is refused with a
// ScriptError that says what is wrong; written headers read back, with a y
// of 400 or more shown at 350.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "engine/engine.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string text(fuzz::AsText(data, size));
    fuzz::AllowingScriptError([&] {
        const NoteHeader h = ReadNoteHeader(text);
        FUZZ_CHECK(h.y < 400);
        FUZZ_CHECK(text.size() >= h.title.size() + 4);  // "x y " at least
        FUZZ_CHECK(text.compare(text.size() - h.title.size(), h.title.size(), h.title) == 0);
    });

    FuzzedDataProvider in(data, size);
    const int x = in.ConsumeIntegral<std::int32_t>();
    const int y = in.ConsumeIntegral<std::int32_t>();
    const std::string title = in.ConsumeRemainingBytesAsString();
    fuzz::NotThrowing([&] {
        const NoteHeader h = ReadNoteHeader(std::to_string(x) + " " + std::to_string(y) + " " + title);
        FUZZ_CHECK(h.x == x);
        FUZZ_CHECK(h.y == (y >= 400 ? 350 : y));
        FUZZ_CHECK(h.title == title);
    });
    return 0;
}
