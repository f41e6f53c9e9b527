// Pad text: any byte string reads without fault under both readers, the pad
// reader takes everything the composer's takes, every placed icon is in the
// icon set and placed once, and what was read is written and read back the
// same; the layout of a read pad keeps one slot per icon.
#include <algorithm>
#include <set>
#include <string>

#include "pad/model/pad_layout.h"
#include "pad/model/pad_text.h"
#include "fuzz/fuzz_support.h"

using namespace taskloom;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    fuzz::NotThrowing([&] {
        const PadLoad composer = ParsePadText(text, PadReader::Composer);
        const PadLoad pad = ParsePadText(text, PadReader::Pad);
        FUZZ_CHECK(pad.entries.size() >= composer.entries.size());
        FUZZ_CHECK(std::equal(composer.entries.begin(), composer.entries.end(), pad.entries.begin()));
        FUZZ_CHECK(pad.entries.size() <= static_cast<std::size_t>(kIconCount));
        std::set<int> seen;
        for (const PadEntry& e : pad.entries) {
            FUZZ_CHECK(e.image >= 0 && e.image < kIconCount);
            FUZZ_CHECK(seen.insert(e.image).second);
        }
        // The composer reads a prefix of the pad's lines: its error is the pad's.
        FUZZ_CHECK(composer.error.empty() || composer.error == pad.error);

        const PlacedPad placed = PlacePad(pad.entries);
        FUZZ_CHECK(placed.bar.size() == pad.entries.size() && placed.slots.size() == pad.entries.size());
        for (std::size_t i = 0; i < placed.bar.size(); ++i)
            FUZZ_CHECK(placed.bar[i].slot == static_cast<int>(i));

        // Records that hold no carriage return and at most two TABs write and
        // read back unchanged.
        std::vector<PadEntry> writable;
        for (const PadEntry& e : pad.entries) {
            const auto tabs = std::count(e.record.begin(), e.record.end(), '\t');
            if (tabs <= 2 && e.record.find('\r') == std::string::npos) writable.push_back(e);
        }
        const std::string written = FormatPadText(writable);
        FUZZ_CHECK(ParsePadText(written, PadReader::Composer).entries == writable);
        for (const PadEntry& e : writable) {
            const IconFields f = RecordFields(e.record);
            if (std::count(e.record.begin(), e.record.end(), '\t') == 2)
                FUZZ_CHECK(MakeIconRecord(f) == e.record);
        }
    });
    return 0;
}
