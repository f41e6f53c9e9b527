// Scoped handles: everything the program owns (GDI objects, menus it made,
// files, registry keys, hooks, icons, image lists, device contexts, memory)
// lives in one of these; the clipboard while open is win32's ClipboardGuard.
// Handles of other programs are never put in one.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace wingui {

// Frees a handle with the function `Free` (DeleteObject, DestroyMenu, ...).
template <auto Free>
struct FreeWith {
    template <class H>
    void operator()(H h) const noexcept {
        Free(h);
    }
};

using GdiObjectDeleter = FreeWith<&DeleteObject>;
using MenuDeleter = FreeWith<&DestroyMenu>;
struct KernelHandleDeleter {
    void operator()(HANDLE h) const noexcept {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using RegKeyDeleter = FreeWith<&RegCloseKey>;
using HookDeleter = FreeWith<&UnhookWindowsHookEx>;
using IconDeleter = FreeWith<&DestroyIcon>;
using AcceleratorsDeleter = FreeWith<&DestroyAcceleratorTable>;
using ImageListDeleter = FreeWith<&ImageList_Destroy>;
// A device context the program made (CreateDC, a print dialog's), not one
// of a window's (WindowDc below).
using DcDeleter = FreeWith<&DeleteDC>;
using LibraryDeleter = FreeWith<&FreeLibrary>;
using GlobalMemoryDeleter = FreeWith<&GlobalFree>;
using LocalMemoryDeleter = FreeWith<&LocalFree>;

template <class H, class Deleter>
using Scoped = std::unique_ptr<std::remove_pointer_t<H>, Deleter>;

using ScopedFont = Scoped<HFONT, GdiObjectDeleter>;
using ScopedMenu = Scoped<HMENU, MenuDeleter>;
using ScopedHandle = Scoped<HANDLE, KernelHandleDeleter>;
using ScopedKey = Scoped<HKEY, RegKeyDeleter>;
using ScopedHook = Scoped<HHOOK, HookDeleter>;
using ScopedIcon = Scoped<HICON, IconDeleter>;
using ScopedAccelerators = Scoped<HACCEL, AcceleratorsDeleter>;
using ScopedImageList = Scoped<HIMAGELIST, ImageListDeleter>;
using ScopedDc = Scoped<HDC, DcDeleter>;
using ScopedLibrary = Scoped<HMODULE, LibraryDeleter>;
using ScopedGlobal = Scoped<HGLOBAL, GlobalMemoryDeleter>;
using ScopedLocal = Scoped<HLOCAL, LocalMemoryDeleter>;

// A device context of a window, released with the object.
class WindowDc {
public:
    explicit WindowDc(HWND w) : w_(w), dc_(GetDC(w)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(w_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND w_;
    HDC dc_;
};

}  // namespace wingui
