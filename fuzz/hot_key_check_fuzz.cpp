// The hot keys of a stored pad: any pad text gives a judgement of every
// icon's key, registrations that never repeat a key, never take the
// show/hide key and never ask again for a key the pad holds, a report with
// one line per icon, and two-icon clashes that name real icons. The
// composer's check of a new icon's key never fails on any record.
#include <set>
#include <string>

#include "composer/model/pad_hot_keys.h"
#include "fuzz/fuzz_support.h"
#include "pad/model/hot_key_check.h"
#include "pad/model/pad_layout.h"
#include "pad/model/pad_text.h"

using namespace taskloom;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    fuzz::NotThrowing([&] {
        const PadLoad load = ParsePadText(text, PadReader::Pad);
        const PlacedPad pad = PlaceLoadedPad(load);

        // Registration as the pad does it: every other key "fails" (held by
        // another program), the rest is taken.
        std::vector<int> tags(pad.slots.size(), 0);
        std::set<int> registered;
        bool fail = true;
        for (const std::size_t i : SlotsToRegister(pad.slots, tags)) {
            FUZZ_CHECK(i < pad.slots.size());
            const int id = pad.slots[i].hotKeyId;
            FUZZ_CHECK(id != 0 && id != kShowHideHotKeyId);
            FUZZ_CHECK(registered.insert(id).second);
            if (!(fail = !fail)) tags[i] = id;
        }
        for (const std::size_t i : SlotsToRegister(pad.slots, tags)) FUZZ_CHECK(tags[i] == 0);

        const std::vector<IconKey> keys = BarKeys(pad.bar, pad.slots);
        const std::vector<IconKeyState> states = JudgeHotKeys(keys, tags);
        FUZZ_CHECK(states.size() == pad.bar.size());
        for (std::size_t i = 0; i < states.size(); ++i) {
            FUZZ_CHECK((states[i].state == HotKeyState::None) == (keys[i].id == 0));
            if (states[i].state == HotKeyState::Shadowed)
                FUZZ_CHECK(states[i].startedIcon >= 0 &&
                           static_cast<std::size_t>(states[i].startedIcon) < i &&
                           keys[states[i].startedIcon].id == keys[i].id);
            const std::string hint = ShownHint(pad.bar[i].hint, states[i].state);
            FUZZ_CHECK(hint.compare(0, pad.bar[i].hint.size(), pad.bar[i].hint) == 0);
            FUZZ_CHECK(TooltipText(hint).find('\t') == std::string::npos);
        }
        const std::string report = HotKeyReport(keys, states, true);
        std::size_t lines = 1;
        for (const char c : report) lines += c == '\n';
        FUZZ_CHECK(lines >= pad.bar.size() + 1);

        // The composer's side: two icons with one key, and a new icon's key.
        const auto pairs = DuplicateHotKeys(load.entries);
        for (const auto& [earlier, later] : pairs)
            FUZZ_CHECK(earlier >= 0 && earlier < later &&
                       static_cast<std::size_t>(later) < load.entries.size());
        FUZZ_CHECK(DuplicateHotKeysText(load.entries, pairs).empty() == pairs.empty());
        for (const PadEntry& e : load.entries) {
            const IconFields fields = RecordFields(e.record);
            const int owner = FindHotKeyOwner(load.entries, fields.hotKey);
            if (owner >= 0) FUZZ_CHECK(static_cast<std::size_t>(owner) < load.entries.size());
            const AssignCheck check = CheckIconHotKey(load.entries, fields, false);
            FUZZ_CHECK((check.verdict == AssignVerdict::Assign) == check.text.empty());
            HotKeyFieldHint(fields.hotKey, true);
        }
    });
    return 0;
}
