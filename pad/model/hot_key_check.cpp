#include "pad/model/hot_key_check.h"

#include <algorithm>

namespace taskloom {
namespace {

bool Holds(const std::vector<int>& held, int id) {
    return id != 0 && std::find(held.begin(), held.end(), id) != held.end();
}

std::string Named(std::string_view description) {
    return description.empty() ? std::string("(no description)") : std::string(description);
}

std::string IconName(int number, std::string_view description) {
    return "Icon " + std::to_string(number) + " (" + Named(description) + ")";
}

// The key of a record: its second field, parsed; key 0 when none.
Shortcut RecordKey(const std::string& record, const LayoutKeyNameFn& layout) {
    const IconFields fields = RecordFields(record);
    if (fields.hotKey.empty()) return {};
    return ParseShortcut(fields.hotKey, nullptr, layout);
}

}  // namespace

std::vector<IconKey> BarKeys(const std::vector<BarButton>& bar, const std::vector<PadSlot>& slots) {
    std::vector<IconKey> keys;
    keys.reserve(bar.size());
    for (const BarButton& b : bar) {
        IconKey k;
        k.description = b.hint.substr(0, b.hint.find('\t'));
        if (b.slot >= 0 && static_cast<std::size_t>(b.slot) < slots.size()) {
            k.hotKey = slots[b.slot].hotKey;
            k.id = slots[b.slot].hotKeyId;
        }
        keys.push_back(std::move(k));
    }
    return keys;
}

std::vector<IconKeyState> JudgeHotKeys(const std::vector<IconKey>& bar, const std::vector<int>& held) {
    std::vector<IconKeyState> states(bar.size());
    for (std::size_t i = 0; i < bar.size(); ++i) {
        const int id = bar[i].id;
        IconKeyState& s = states[i];
        if (id == 0) continue;
        if (id == kShowHideHotKeyId) {
            s.state = HotKeyState::ShowHide;
            continue;
        }
        if (!Holds(held, id)) {
            s.state = HotKeyState::InUse;
            continue;
        }
        // The key pressed starts the first icon of the bar that has it.
        s.state = HotKeyState::Works;
        for (std::size_t j = 0; j < i; ++j)
            if (bar[j].id == id) {
                s.state = HotKeyState::Shadowed;
                s.startedIcon = static_cast<int>(j);
                break;
            }
    }
    return states;
}

std::vector<std::size_t> SlotsToRegister(const std::vector<PadSlot>& slots, const std::vector<int>& tags) {
    std::vector<std::size_t> out;
    std::vector<int> taken;
    for (std::size_t i = 0; i < tags.size(); ++i)
        if (tags[i] != 0) taken.push_back(tags[i]);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const int id = slots[i].hotKeyId;
        if (id == 0 || id == kShowHideHotKeyId || Holds(taken, id)) continue;
        if (i < tags.size() && tags[i] != 0) continue;
        out.push_back(i);
        taken.push_back(id);  // a later slot with this key shares the first's
    }
    return out;
}

std::string ShownHint(const std::string& hint, HotKeyState state) {
    return state == HotKeyState::InUse ? hint + std::string(kInUseMark) : hint;
}

std::string TooltipText(std::string_view hint) {
    std::string text;
    text.reserve(hint.size() + 2);
    for (const char c : hint) {
        if (c == '\t')
            text += "  ";
        else
            text += c;
    }
    return text;
}

std::string HotKeyReport(const std::vector<IconKey>& bar, const std::vector<IconKeyState>& states,
                         bool showHideHeld) {
    std::string text =
        "Show/hide the pad: " + std::string(FormatShortcut(ShortcutFromId(kShowHideHotKeyId))) +
        (showHideHeld ? " - works" : " - in use by another program");
    bool inUse = !showHideHeld;
    if (bar.empty()) text += "\nThe pad has no icons.";
    for (std::size_t i = 0; i < bar.size(); ++i) {
        const IconKeyState s = i < states.size() ? states[i] : IconKeyState{};
        text += "\n" + std::to_string(i + 1) + ". " + Named(bar[i].description) + ": ";
        switch (s.state) {
            case HotKeyState::None:
                text += "no hot key";
                break;
            case HotKeyState::Works:
                text += bar[i].hotKey + " - works";
                break;
            case HotKeyState::InUse:
                text += bar[i].hotKey + " - in use by another program";
                inUse = true;
                break;
            case HotKeyState::Shadowed:
                text += bar[i].hotKey + " - starts icon " + std::to_string(s.startedIcon + 1) +
                        " instead (the same key)";
                break;
            case HotKeyState::ShowHide:
                text += bar[i].hotKey + " - shows and hides the pad (the pad's own key)";
                break;
        }
    }
    if (inUse)
        text +=
            "\n\nA key in use is tried again when the session is unlocked or the computer resumes, "
            "and works once the other program has let it go.";
    return text;
}

int FindHotKeyOwner(const std::vector<PadEntry>& entries, std::string_view keyText,
                    const LayoutKeyNameFn& layout) {
    const Shortcut key = ParseShortcut(keyText, nullptr, layout);
    if (key.key == 0) return -1;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (RecordKey(entries[i].record, layout) == key) return static_cast<int>(i);
    return -1;
}

std::string HotKeyClashText(std::string_view keyText, int ownerNumber, std::string_view ownerDescription,
                            int newNumber, std::string_view newDescription) {
    return IconName(ownerNumber, ownerDescription) + " already has the hot key " + std::string(keyText) +
           ".\n" + IconName(newNumber, newDescription) +
           " cannot have it too: choose another key for one of them.";
}

std::vector<std::pair<int, int>> DuplicateHotKeys(const std::vector<PadEntry>& entries,
                                                  const LayoutKeyNameFn& layout) {
    std::vector<std::pair<int, int>> pairs;
    std::vector<Shortcut> keys;
    keys.reserve(entries.size());
    for (const PadEntry& e : entries) keys.push_back(RecordKey(e.record, layout));
    for (std::size_t later = 0; later < keys.size(); ++later) {
        if (keys[later].key == 0) continue;
        for (std::size_t earlier = 0; earlier < later; ++earlier)
            if (keys[earlier] == keys[later]) {
                pairs.emplace_back(static_cast<int>(earlier), static_cast<int>(later));
                break;
            }
    }
    return pairs;
}

std::string DuplicateHotKeysText(const std::vector<PadEntry>& entries,
                                 const std::vector<std::pair<int, int>>& pairs) {
    std::string text;
    for (const auto& [earlier, later] : pairs) {
        if (earlier < 0 || later < 0 || static_cast<std::size_t>(earlier) >= entries.size() ||
            static_cast<std::size_t>(later) >= entries.size())
            continue;
        const IconFields a = RecordFields(entries[earlier].record);
        const IconFields b = RecordFields(entries[later].record);
        if (!text.empty()) text += "\n";
        text += "Icons " + std::to_string(earlier + 1) + " (" + Named(a.description) + ") and " +
                std::to_string(later + 1) + " (" + Named(b.description) + ") have the same hot key " +
                a.hotKey + "; only icon " + std::to_string(earlier + 1) + " starts with it.";
    }
    return text;
}

}  // namespace taskloom
