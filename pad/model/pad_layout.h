// The pad's layout arithmetic: how wide the bar and the window are for the
// number of icons shown (the MoreOrLess up-down), the up-down's hint, the
// clips pane's sizes, and the reorderings of the bar.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pad/model/pad_text.h"
#include "pad/model/shortcut_text.h"

namespace taskloom {

constexpr int kIconStep = 23;      // one icon button
constexpr int kPadMinSize = 25;    // the window's least width and height
constexpr int kPadBarHeight = 25;  // the window without clips pane
constexpr int kClipsWindowHeight = 105;

struct PadSize {
    int width = 0;
    int height = 0;
    bool operator==(const PadSize&) const = default;
};

// (p + 1) × 23 + 2, for position p; never below 0 (Shrink can ask for less).
int BarWidth(int position);

// "Tessdeck " p + 1 "/" maximum + 1.
std::string MoreOrLessHint(int position, int maximum);

struct UpDown {
    int position = 0;  // index of the last icon shown; -1 shows none
    int maximum = -1;  // icons on the pad - 1
};

struct BarLayout {
    int barWidth = 0;
    PadSize window;
    std::string hint;   // the up-down's new hint
    int position = 0;   // the up-down's position afterwards
    bool hide = false;  // Auto Hide hides the pad now
};

// AdjustTheBar(p): the bar shows icons 0..p. With the clips pane shown the
// window is only widened (to 120, or to the bar's width + 25); otherwise it
// becomes 25 high and the bar's width + 25 wide. The up-down takes p only
// when 0 <= p < maximum, so Expand from maximum - 1 shows all icons while the
// up-down stays; Auto Hide hides the pad when the up-down ends below 0.
BarLayout AdjustTheBar(int p, const UpDown& upDown, PadSize window, bool viewClips, bool autoHide);

// A click on one of the up-down's arrows (delta -1 or +1): its new position,
// kept within -1..maximum (no wrap).
int MoreOrLessStep(const UpDown& upDown, int delta);

// The position Expand and Shrink lay out for; Expand gives the up-down's own
// position when it is already at the maximum (nothing to do).
int ExpandPosition(const UpDown& upDown);
int ShrinkPosition(const UpDown& upDown);

// The window when the clips pane is shown or hidden (SetViewClips).
PadSize ViewClipsSize(PadSize window, int position, bool show);

struct ResizeResult {
    PadSize window;
    bool paneVisible = false;
    PadSize pane;  // when visible: window width - 4 by height - 26
};
// On every size change: below 25 in either direction the pane is hidden and
// the window held at 25.
ResizeResult ResizeClick(PadSize window, bool paneVisible);

// A button of the visible bar: its picture, its tooltip (description, and a
// TAB and the hot key text when it has one) and its slot, which names the
// store position holding its program text and hot key identifier.
struct BarButton {
    int image = 0;
    std::string hint;
    int slot = 0;
    bool operator==(const BarButton&) const = default;
};

// What a store position holds for the icon whose slot it is.
struct PadSlot {
    std::string program;  // empty: the icon launches nothing
    std::string hotKey;   // normalised shortcut text, "" for none
    int hotKeyId = 0;     // identifier to register; 0 for none
    bool operator==(const PadSlot&) const = default;
};

struct PlacedPad {
    std::vector<BarButton> bar;
    std::vector<PadSlot> slots;  // slots[i] belongs to the icon with slot i
    std::vector<std::string> notes;
};

// The loaded entries laid out as the pad keeps them: each record split at
// TABs; with three fields or more, the hot key (if any) is normalised
// (Ctrl+Shift+P shows as Shift+Ctrl+P, identifier 6080) and the program
// kept; a record with fewer fields gives an icon with no program and no hot
// key. A hot key naming no key gives no hot key and a note. `layout` names
// the keys that have no fixed name (the keyboard layout's "/" and the like),
// so that every key the composer can write registers.
PlacedPad PlacePad(const std::vector<PadEntry>& entries, const LayoutKeyNameFn& layout = {});

// A read pad text as the bar takes it. When a bad icon number ended the load
// (`load.error`), the icons placed before it stay with their descriptions
// only: no program and no hot key, since the rest of the file is in doubt.
// An icon from a line without TAB has no description either.
PlacedPad PlaceLoadedPad(const PadLoad& load, const LayoutKeyNameFn& layout = {});

// The composer's preview of a pad: 31 pixels wide when empty, 23 more per icon.
int PreviewBarWidth(int icons);

// The menu image's one-pixel wobble while the pad is in use, from the idle
// counter (already incremented): the image's new left edge, or nothing.
std::optional<int> MenuImageWobble(unsigned counter);

// The reorderings: each swap exchanges whole buttons (picture, hint and
// slot), so every icon keeps its program and hot key.
void SwapIcons(std::vector<BarButton>& bar, std::size_t a, std::size_t b);
void BarLeft(std::vector<BarButton>& bar);   // A B C D -> B C D A
void BarRight(std::vector<BarButton>& bar);  // A B C D -> D A B C
void SwapIcons12(std::vector<BarButton>& bar);

}  // namespace taskloom
