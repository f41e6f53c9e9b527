// The 42-icon image list both programs show: pad icon n (the image index a
// pad file stores) is the resource IDI_PAD_ICON_FIRST + n of the program's
// own resources (resources/icons/icons.rc). At 16 and 32 pixels the list is
// made in one load from the set's strip bitmap (IDB_PAD_ICONS_16, _32: the
// same pictures side by side); other sizes draw each icon.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace wingui {

// An image list of the 42 icons drawn `size` pixels square (16 at 96 DPI,
// scaled with the DPI). The caller owns it (ImageList_Destroy). Throws
// std::runtime_error when the list cannot be made or an icon is missing.
HIMAGELIST MakeIconImageList(int size);

}  // namespace wingui
