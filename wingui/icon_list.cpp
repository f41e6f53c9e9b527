#include "wingui/icon_list.h"

#include <stdexcept>
#include <string>

#include "resources/icons/icons.h"

namespace wingui {

namespace {

// The set from its strip bitmap, in one load; null when the program has no
// strip of this size or it is not the set's width.
HIMAGELIST FromStrip(int size) {
    const int id = size == 16 ? IDB_PAD_ICONS_16 : size == 32 ? IDB_PAD_ICONS_32 : 0;
    if (id == 0) return nullptr;
    const HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!strip) return nullptr;
    BITMAP info{};
    GetObjectA(strip, sizeof info, &info);
    HIMAGELIST list = nullptr;
    if (info.bmWidth == size * IDI_PAD_ICON_COUNT && info.bmHeight == size && info.bmBitsPixel == 32) {
        list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, IDI_PAD_ICON_COUNT, 0);
        // The alpha channel gives the mask.
        if (list && ImageList_Add(list, strip, nullptr) != 0) {
            ImageList_Destroy(list);
            list = nullptr;
        }
        if (list && ImageList_GetImageCount(list) != IDI_PAD_ICON_COUNT) {
            ImageList_Destroy(list);
            list = nullptr;
        }
    }
    DeleteObject(strip);
    return list;
}

// The set icon by icon, each drawn at `size` from its icon resource.
HIMAGELIST FromIcons(int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, IDI_PAD_ICON_COUNT, 0);
    if (!list) throw std::runtime_error("cannot make the icon list");
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int i = 0; i < IDI_PAD_ICON_COUNT; ++i) {
        HICON icon = static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(IDI_PAD_ICON_FIRST + i), IMAGE_ICON, size, size, 0));
        const int added = icon ? ImageList_AddIcon(list, icon) : -1;
        if (icon) DestroyIcon(icon);
        if (added != i) {
            ImageList_Destroy(list);
            throw std::runtime_error("the program's icon " + std::to_string(i) + " is missing");
        }
    }
    return list;
}

}  // namespace

HIMAGELIST MakeIconImageList(int size) {
    if (HIMAGELIST list = FromStrip(size)) return list;
    return FromIcons(size);
}

}  // namespace wingui
