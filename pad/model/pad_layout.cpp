#include "pad/model/pad_layout.h"

#include <algorithm>

#include "pad/model/shortcut_text.h"

namespace taskloom {

int BarWidth(int position) { return std::max(0, (position + 1) * kIconStep + 2); }

std::string MoreOrLessHint(int position, int maximum) {
    return "Tessdeck " + std::to_string(position + 1) + "/" + std::to_string(maximum + 1);
}

BarLayout AdjustTheBar(int p, const UpDown& upDown, PadSize window, bool viewClips, bool autoHide) {
    BarLayout l;
    l.barWidth = BarWidth(p);
    const int w = l.barWidth + kPadMinSize;
    l.window = window;
    if (viewClips) {
        if (window.width < 120)
            l.window.width = 120;
        else if (window.width < w)
            l.window.width = w;
    } else {
        l.window = {w, kPadBarHeight};
    }
    l.window.width = std::max(l.window.width, kPadMinSize);
    l.window.height = std::max(l.window.height, kPadMinSize);
    l.hint = MoreOrLessHint(p, upDown.maximum);
    l.position = (p >= 0 && p < upDown.maximum) ? p : upDown.position;
    l.hide = autoHide && l.position < 0;
    return l;
}

int MoreOrLessStep(const UpDown& upDown, int delta) {
    return std::clamp(upDown.position + delta, -1, std::max(-1, upDown.maximum));
}

int ExpandPosition(const UpDown& upDown) {
    return upDown.position < upDown.maximum ? upDown.position + 1 : upDown.position;
}

int ShrinkPosition(const UpDown& upDown) { return upDown.position - 1; }

PadSize ViewClipsSize(PadSize window, int position, bool show) {
    if (!show) return {window.width, kPadBarHeight};
    PadSize s{window.width, kClipsWindowHeight};
    if (s.width < 115 || position <= 3) s.width = 115;
    return s;
}

ResizeResult ResizeClick(PadSize window, bool paneVisible) {
    ResizeResult r{window, paneVisible, {}};
    if (r.window.height < kPadMinSize) {
        r.paneVisible = false;
        r.window.height = kPadMinSize;
    }
    if (r.window.width < kPadMinSize) {
        r.paneVisible = false;
        r.window.width = kPadMinSize;
    }
    if (r.paneVisible) r.pane = {r.window.width - 4, r.window.height - 26};
    return r;
}

PlacedPad PlacePad(const std::vector<PadEntry>& entries, const LayoutKeyNameFn& layout) {
    PlacedPad pad;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::vector<std::string> fields = SplitFields(entries[i].record, '\t');
        const std::string description = fields.empty() ? std::string() : fields[0];
        BarButton button{entries[i].image, description, static_cast<int>(i)};
        PadSlot slot;
        if (fields.size() > 2) {
            slot.program = fields[2];
            if (!fields[1].empty()) {
                std::string error;
                const Shortcut key = ParseShortcut(fields[1], &error, layout);
                slot.hotKey = FormatShortcut(key, layout);
                if (slot.hotKey.empty()) {
                    pad.notes.push_back("icon \"" + description + "\": " + error);
                } else {
                    slot.hotKeyId = HotKeyId(key);
                    button.hint += '\t' + slot.hotKey;
                }
            }
        }
        pad.bar.push_back(std::move(button));
        pad.slots.push_back(std::move(slot));
    }
    return pad;
}

PlacedPad PlaceLoadedPad(const PadLoad& load, const LayoutKeyNameFn& layout) {
    if (load.error.empty()) return PlacePad(load.entries, layout);
    std::vector<PadEntry> described;
    described.reserve(load.entries.size());
    for (const PadEntry& e : load.entries) described.push_back({e.image, RecordFields(e.record).description});
    return PlacePad(described, layout);
}

int PreviewBarWidth(int icons) { return 31 + kIconStep * std::max(icons, 0); }

std::optional<int> MenuImageWobble(unsigned counter) {
    if (counter % 7 == 1) return 0;
    if (counter % 15 == 1) return 1;
    return std::nullopt;
}

void SwapIcons(std::vector<BarButton>& bar, std::size_t a, std::size_t b) {
    if (a < bar.size() && b < bar.size()) std::swap(bar[a], bar[b]);
}

void BarLeft(std::vector<BarButton>& bar) {
    for (std::size_t i = 0; i + 1 < bar.size(); ++i) SwapIcons(bar, i, i + 1);
}

void BarRight(std::vector<BarButton>& bar) {
    for (std::size_t i = bar.size(); i >= 2; --i) SwapIcons(bar, i - 2, i - 1);
}

void SwapIcons12(std::vector<BarButton>& bar) { SwapIcons(bar, 0, 1); }

}  // namespace taskloom
