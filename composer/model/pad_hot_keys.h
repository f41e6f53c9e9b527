// The Tessdeck page's word on a hot key entered for an icon: what the Hot
// Key field's hint and the page's status bar say about it, and whether an
// icon may be assigned with it (refused when an icon of the pad has it
// already; asked when the pad could not have it working).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pad/model/pad_text.h"
#include "pad/model/shortcut_text.h"

namespace taskloom {

// The hint for a key that pressed shows and hides the pad.
inline constexpr std::string_view kShowHideKeyHint = "Hot key of the pad itself: it shows and hides the pad";

// What the field says of `keyText`: "" for no key or a key the pad can
// have; "Hot key in use by another program" when the trial registration
// failed (`registered` false); the show/hide key is named as the pad's own
// whether or not it could be registered (a running pad holds it).
std::string HotKeyFieldHint(std::string_view keyText, bool registered, const LayoutKeyNameFn& layout = {});

enum class AssignVerdict { Assign, Refuse, Ask };

struct AssignCheck {
    AssignVerdict verdict = AssignVerdict::Assign;
    std::string text;  // the error box (Refuse) or the question (Ask)
};

// Whether an icon with these fields joins the pad `preview`: refused (an
// error box naming both icons) when an icon of the pad has the same key;
// asked (Yes assigns) when the key is in use by another program or is the
// pad's show/hide key; otherwise assigned.
AssignCheck CheckIconHotKey(const std::vector<PadEntry>& preview, const IconFields& fields, bool registered,
                            const LayoutKeyNameFn& layout = {});

}  // namespace taskloom
