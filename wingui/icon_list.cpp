#include "wingui/icon_list.h"

#include <stdexcept>
#include <string>

#include "resources/icons/icons.h"
#include "wingui/handles.h"

namespace wingui {

namespace {

using ScopedBitmap = Scoped<HBITMAP, GdiObjectDeleter>;

// The set from its strip bitmap, in one load; null when the program has no
// strip of this size or it is not the set's width.
HIMAGELIST FromStrip(int size) {
    const int id = size == 16 ? IDB_PAD_ICONS_16 : size == 32 ? IDB_PAD_ICONS_32 : 0;
    if (id == 0) return nullptr;
    const ScopedBitmap strip(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!strip) return nullptr;
    BITMAP info{};
    GetObjectA(strip.get(), sizeof info, &info);
    if (info.bmWidth != size * IDI_PAD_ICON_COUNT || info.bmHeight != size || info.bmBitsPixel != 32)
        return nullptr;
    ScopedImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, IDI_PAD_ICON_COUNT, 0));
    // The alpha channel gives the mask; the list keeps a copy of the pictures.
    if (!list || ImageList_Add(list.get(), strip.get(), nullptr) != 0 ||
        ImageList_GetImageCount(list.get()) != IDI_PAD_ICON_COUNT)
        return nullptr;
    return list.release();
}

// The set icon by icon, each drawn at `size` from its icon resource.
HIMAGELIST FromIcons(int size) {
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

}  // namespace

HIMAGELIST MakeIconImageList(int size) {
    if (HIMAGELIST list = FromStrip(size)) return list;
    return FromIcons(size);
}

}  // namespace wingui
