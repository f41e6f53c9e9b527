// Clips pane: any clipboard text (the first byte chooses the delimiter and
// the limit) is added without fault and never past the limit, and a refused
// clip leaves the pane as it was; the hint, the saves and the phone number
// test read any pane text.
#include <algorithm>
#include <string>

#include "pad/model/clips_pane.h"
#include "pad/model/phone.h"
#include "engine/text.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    static const char kDelimiters[] = {'\r', ',', '\t', ' ', '\x1b'};
    const char delimiter = kDelimiters[data[0] % 5];
    const std::size_t limit = 16 + data[0] * 4;
    const std::string_view text = fuzz::AsText(data + 1, size - 1);
    fuzz::NotThrowing([&] {
        std::string pane;
        std::size_t start = 0;
        // Each NUL-separated piece is one copy.
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != '\0') continue;
            const std::string_view clip = text.substr(start, i - start);
            start = i + 1;
            const PaneAdd r = AddClipToPane(pane, clip, delimiter, limit);
            FUZZ_CHECK(PaneSize(r.text) <= limit);
            if (r.added) {
                FUZZ_CHECK(r.text.size() >=
                           pane.size() + clip.size() - std::count(clip.begin(), clip.end(), '\n'));
                FUZZ_CHECK(r.text.compare(0, pane.size(), pane) == 0);
            } else {
                FUZZ_CHECK(r.text == pane && !r.status.empty());
            }
            pane = r.text;
            (void)IsPhoneNumber(clip);
        }
        const std::vector<std::string> lines = PaneLines(pane);
        const std::string hint = ClipsHintAt(pane, text.size() % (pane.size() + 1));
        FUZZ_CHECK(hint.rfind("Clips ", 0) == 0);
        const std::string saved = PaneSaveText(pane);
        FUZZ_CHECK(PaneLines(saved) == lines);
        const std::string comma = PaneCommaLine(pane);
        FUZZ_CHECK(comma.size() >= 2 && comma.compare(comma.size() - 2, 2, "\r\n") == 0);
        // The pane's lines hold no line break, so the comma line reads back.
        std::vector<std::string> expected = lines;
        if (expected.size() > 1 && expected.back().empty()) expected.pop_back();
        FUZZ_CHECK(SplitCommaText(comma.substr(0, comma.size() - 2)) == expected);
        // The phone number test: what qualifies has a hyphen after its start and enough digits.
        if (IsPhoneNumber(text)) {
            FUZZ_CHECK(text.size() >= kPhoneMinLength && text.find('-') != 0 &&
                       text.find('-') != std::string_view::npos);
            FUZZ_CHECK(TelAddress(text).find(' ') == std::string::npos);
        }
    });
    return 0;
}
