// Repeat counts: any text reads to a count without fault. Checked against a
// number printed by the C library (decimal and "$" hexadecimal, held at the
// ends of the 32-bit range) and against the strict reader ToInteger, which
// must agree wherever both accept the text.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "engine/text.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

namespace {

std::int32_t Held(std::int64_t v) {
    if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    fuzz::NotThrowing([&] {
        const std::int32_t count = ReadCount(text);
        FUZZ_CHECK(ReadCount(" " + std::string(text)) == count);  // leading blanks are skipped

        // Where the strict reader accepts the text, the count is the same
        // number, except that the strict reader takes "$80000000" and up as
        // 32-bit constants (negative) while a count is held at the maximum.
        const std::optional<std::int32_t> strict = ToInteger(text);
        // (The strict reader also passes over control characters before the
        // number; a count stops at them.)
        const std::size_t first = text.find_first_not_of(' ');
        const bool leadingControl =
            first != std::string_view::npos && static_cast<unsigned char>(text[first]) < 32;
        const bool positiveHex =
            text.find('$') != std::string_view::npos && text.find('-') == std::string_view::npos;
        if (strict && !leadingControl && !(positiveHex && *strict < 0)) FUZZ_CHECK(count == *strict);

        // A 64-bit number written out, with blanks before and text after.
        if (size >= 10) {
            std::int64_t v;
            std::memcpy(&v, data, sizeof v);
            const int blanks = data[8] % 4;
            const char after = static_cast<char>(data[9]);
            char buf[64];
            std::snprintf(buf, sizeof buf, "%*s%" PRId64 "%c", blanks, "", v, after);
            const bool digitAfter = after >= '0' && after <= '9';
            if (!digitAfter) FUZZ_CHECK(ReadCount(buf) == Held(v));
            if (v >= 0) {
                std::snprintf(buf, sizeof buf, "%*s$%" PRIX64 "%c", blanks, "", v, after);
                const bool hexAfter =
                    digitAfter || (after >= 'a' && after <= 'f') || (after >= 'A' && after <= 'F');
                if (!hexAfter) FUZZ_CHECK(ReadCount(buf) == Held(v));
            }
        }
    });
    return 0;
}
