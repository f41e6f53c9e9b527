// Settings value: any stored text reads without fault; a malformed one gives
// exactly the defaults; what was read writes a value that reads back the same.
#include <string>

#include "pad/model/pad_settings.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    fuzz::NotThrowing([&] {
        const SettingsRead r = ParseSettings(text);
        if (r.malformed) {
            FUZZ_CHECK(r.settings == PadSettings{});
            FUZZ_CHECK(!r.problem.empty());
        }
        FUZZ_CHECK(!DelimiterItemCaption(r.settings.delimiter).empty());
        FUZZ_CHECK(r.settings.moreOrLess >= -1 && r.settings.moreOrLess <= 41);
        const std::string written = FormatSettings(r.settings);
        const SettingsRead back = ParseSettings(written);
        FUZZ_CHECK(!back.malformed);
        FUZZ_CHECK(back.settings == r.settings);
    });
    return 0;
}
