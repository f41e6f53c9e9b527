// Which of a pad's hot keys work: the keys the pad registers (and tries
// again after a lock or a resume), what each icon's key does when pressed,
// the hint of an icon whose key another program holds, and the text of the
// hot key report. Also the clash of two icons of one pad with the same key,
// which the composer refuses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pad/model/pad_layout.h"
#include "pad/model/pad_text.h"
#include "pad/model/shortcut_text.h"

namespace taskloom {

// What pressing an icon's hot key does.
enum class HotKeyState {
    None,      // the icon has no hot key
    Works,     // the pad holds the key: it starts this icon
    InUse,     // another program holds the key: nothing reaches the pad
    Shadowed,  // an icon before it in the bar has the same key and is started
    ShowHide,  // the pad's own show/hide key: it shows and hides the pad
};

// Added to the hint of an icon whose key another program holds.
inline constexpr std::string_view kInUseMark = " (in use)";
// The composer's words for a key that another program holds.
inline constexpr std::string_view kHotKeyInUseText = "Hot key in use by another program";

// One icon of the bar, in bar order.
struct IconKey {
    std::string description;
    std::string hotKey;  // normalised shortcut text; "" for none
    int id = 0;          // its identifier (HotKeyId); 0 for none
};

struct IconKeyState {
    HotKeyState state = HotKeyState::None;
    int startedIcon = -1;  // Shadowed: the bar index of the icon the key starts
    bool operator==(const IconKeyState&) const = default;
};

// The bar's icons with their keys: each slot's description from its button,
// its key from the slot (slots out of range give an icon without key).
std::vector<IconKey> BarKeys(const std::vector<BarButton>& bar, const std::vector<PadSlot>& slots);

// What each icon's key does, in bar order. `held`: the identifiers the pad
// holds now (the tags of its slots; 0 entries are ignored). The show/hide
// key is the pad's own whether or not an icon names it.
std::vector<IconKeyState> JudgeHotKeys(const std::vector<IconKey>& bar, const std::vector<int>& held);

// The slots whose keys the pad is to register now, in slot order: of each
// identifier that no slot holds yet (tags[i] != 0 holds tags[i]), its first
// slot only, since a second registration of one key by the same pad fails;
// never the show/hide key, which the pad registers for itself. Run after a
// pad is loaded and again whenever keys may have been freed.
std::vector<std::size_t> SlotsToRegister(const std::vector<PadSlot>& slots, const std::vector<int>& tags);

// The hint an icon's button shows: its hint (description, TAB, key text)
// with " (in use)" when another program holds the key.
std::string ShownHint(const std::string& hint, HotKeyState state);

// A hint as the bar's tooltip draws it: a tooltip leaves out what follows a
// TAB, so each TAB shows as two blanks and the key stays in sight.
std::string TooltipText(std::string_view hint);

// The report of the pad's keys, one line per icon in bar order (numbered
// from 1) after the show/hide key's line. `showHideHeld`: whether the pad
// holds its own show/hide key.
std::string HotKeyReport(const std::vector<IconKey>& bar, const std::vector<IconKeyState>& states,
                         bool showHideHeld);

// --- two icons, one key ------------------------------------------------

// The icon of `entries` (an index) whose record carries the hot key
// `keyText`, compared as keys ("Ctrl+Shift+P" and "Shift+Ctrl+P" are one
// key); -1 when none has it, or when the text names no key.
int FindHotKeyOwner(const std::vector<PadEntry>& entries, std::string_view keyText,
                    const LayoutKeyNameFn& layout = {});

// The error box for an icon that would get a key an icon of the pad has:
// both named by their number in the pad (from 1) and description.
std::string HotKeyClashText(std::string_view keyText, int ownerNumber, std::string_view ownerDescription,
                            int newNumber, std::string_view newDescription);

// Every later icon of a pad that repeats an earlier icon's key, as pairs of
// indexes (earlier, later), in pad order.
std::vector<std::pair<int, int>> DuplicateHotKeys(const std::vector<PadEntry>& entries,
                                                  const LayoutKeyNameFn& layout = {});

// The report of a read pad whose icons repeat keys: one line per pair;
// "" when there are none.
std::string DuplicateHotKeysText(const std::vector<PadEntry>& entries,
                                 const std::vector<std::pair<int, int>>& pairs);

}  // namespace taskloom
