// The composer's popup block: any list of lines either reads back into the
// Popup page or is refused with a PopupHeaderError that names the line and
// leaves the page as it was; a block written from the page reads back to the
// same sliders, title and text, and Delete on its header removes exactly it.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "composer/model/composer_model.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

namespace {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t nl = text.find('\n', start);
        lines.emplace_back(text.substr(start, nl == std::string_view::npos ? nl : nl - start));
        if (nl == std::string_view::npos) return lines;
        start = nl + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::vector<std::string> lines = SplitLines(fuzz::AsText(data, size));
    const PopupPage start{2, 4, "before", {"old"}, false};
    for (std::size_t i = 0; i < lines.size() && i < 8; ++i) {
        PopupPage page = start;
        try {
            if (ReadPopupBlock(lines, i, page)) {
                FUZZ_CHECK(page.barH >= kPopBarMin && page.barH <= kPopBarMax);
                FUZZ_CHECK(page.barV >= kPopBarMin && page.barV <= kPopBarMax);
                FUZZ_CHECK(page.title.find('}') == std::string::npos);
                for (const std::string& m : page.memo) FUZZ_CHECK(m.find("{:") == std::string::npos);
            } else {
                FUZZ_CHECK(page == start);
            }
        } catch (const PopupHeaderError& e) {
            FUZZ_CHECK(e.lineNumber() == i + 1);
            FUZZ_CHECK(page == start);
        } catch (const std::exception& e) {
            fuzz::Unexpected(e.what());
        }
    }

    FuzzedDataProvider in(data, size);
    PopupPage page;
    page.barH = in.ConsumeIntegralInRange(kPopBarMin, kPopBarMax);
    page.barV = in.ConsumeIntegralInRange(kPopBarMin, kPopBarMax);
    page.remarkOnly = in.ConsumeBool();
    page.title = in.ConsumeRandomLengthString(40);
    if (page.title.find('}') != std::string::npos) return 0;  // cannot stand in a header
    while (in.remaining_bytes() > 0) {
        std::string m = in.ConsumeRandomLengthString(40);
        if (m.find("{:") != std::string::npos) return 0;  // would end the text
        page.memo.push_back(std::move(m));
    }
    fuzz::NotThrowing([&] {
        ScriptList list;
        list.assign({"before", "after"});
        list.select(0);
        KeyFields keys;
        PopupPage written = page;
        AddPopupBlock(list, keys, written);
        PopupPage back{1, 1, "", {}, false};
        FUZZ_CHECK(ReadPopupBlock(list.lines(), 1, back));
        FUZZ_CHECK(back.remarkOnly == page.remarkOnly);
        FUZZ_CHECK(back.memo.size() == page.memo.size());
        if (!page.remarkOnly) {
            FUZZ_CHECK(back.barH == page.barH && back.barV == page.barV && back.title == page.title);
        }
        FUZZ_CHECK(list.line(page.memo.size() + 2) == "{:/}");
        list.select(1);
        list.deleteSelected();
        FUZZ_CHECK(list.lines() == (std::vector<std::string>{"before", "after"}));
    });
    return 0;
}
