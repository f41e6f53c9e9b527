// Portable settings file: any file reads without fault; a malformed one gives
// no values and says where; what was read writes a file that reads back the
// same; a relative pad name resolves inside the folder it was made in; what
// start-up and an import take from it.
#include <string>

#include "engine/text.h"
#include "fuzz/fuzz_support.h"
#include "pad/model/settings_file.h"

using namespace taskloom;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    fuzz::NotThrowing([&] {
        const SettingsFileRead r = ParseSettingsFile(text);
        if (r.malformed) {
            FUZZ_CHECK(r.values == StoredSettings{});
            FUZZ_CHECK(r.problem.rfind("line ", 0) == 0);
        }
        const SettingsFileRead back = ParseSettingsFile(FormatSettingsFile(r.values));
        FUZZ_CHECK(!back.malformed);
        FUZZ_CHECK(back.values == r.values);
        const std::string dir = "C:\\Portable\\";
        const std::string stored = StoredPadName(r.values.pad, dir);
        // Windows names: the folder's part may come back in another case.
        FUZZ_CHECK(stored == r.values.pad ||
                   EqualsNoCase(ResolvedPadName(stored, dir), ResolvedPadName(r.values.pad, dir)));
        // Start-up and an import take nothing from a file they refuse; an
        // import takes only settings that read.
        const SettingsFromFile start = ReadStartSettings(text, dir);
        FUZZ_CHECK(start.problem.empty() == !r.malformed);
        const SettingsFromFile imported = ReadImportedSettings(text, dir);
        if (!imported.problem.empty()) {
            FUZZ_CHECK(imported.padFile.empty() && imported.settings.empty());
        } else {
            FUZZ_CHECK(!imported.settings.empty() && !ParseSettings(imported.settings).malformed);
            FUZZ_CHECK(imported.padFile == start.padFile);
        }
    });
    return 0;
}
