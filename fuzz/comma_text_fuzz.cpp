// Comma text: any byte string splits without fault, and lines that a split
// produced are written and read back unchanged, apart from one rule of the
// format: an empty last line (of a list of two or more) is not read back.
#include <string>
#include <vector>

#include "engine/text.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

namespace {

void CheckRoundTrip(const std::vector<std::string>& lines) {
    const std::string joined = JoinCommaText(lines);
    std::vector<std::string> expected = lines;
    if (expected.size() > 1 && expected.back().empty()) expected.pop_back();
    const std::vector<std::string> back = SplitCommaText(joined);
    FUZZ_CHECK(back == expected);
    // Writing what was read gives the same text again (apart from the lost
    // empty last line), so a script saved twice does not drift.
    if (expected.size() == lines.size()) FUZZ_CHECK(JoinCommaText(back) == joined);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    fuzz::NotThrowing([&] {
        const std::vector<std::string> lines = SplitCommaText(text);
        // Reading never makes text up: every line is built from input bytes
        // and every line read takes at least one byte of the input.
        std::size_t chars = 0;
        for (const std::string& l : lines) chars += l.size();
        FUZZ_CHECK(chars <= size);
        FUZZ_CHECK(lines.size() <= size);
        CheckRoundTrip(lines);

        // Any list of lines at all (blanks, quotes, commas, NULs, empty
        // lines): the input cut at line feeds.
        std::vector<std::string> raw;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= size; ++i)
            if (i == size || text[i] == '\n') {
                raw.emplace_back(text.substr(start, i - start));
                start = i + 1;
            }
        CheckRoundTrip(raw);
    });
    return 0;
}
