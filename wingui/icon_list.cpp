#include "wingui/icon_list.h"

#include <stdexcept>
#include <string>

#include "resources/icons/icons.h"
#include "wingui/handles.h"

namespace wingui {

HIMAGELIST MakeIconImageList(int size) {
    ScopedImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, IDI_PAD_ICON_COUNT, 0));
    if (!list) throw std::runtime_error("cannot make the icon list");
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int i = 0; i < IDI_PAD_ICON_COUNT; ++i) {
        // The list keeps a copy of the icon's image.
        const ScopedIcon icon(static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(IDI_PAD_ICON_FIRST + i), IMAGE_ICON, size, size, 0)));
        const int added = icon ? ImageList_AddIcon(list.get(), icon.get()) : -1;
        if (added != i) throw std::runtime_error("the program's icon " + std::to_string(i) + " is missing");
    }
    return list.release();
}

}  // namespace wingui
