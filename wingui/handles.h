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

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const noexcept { DeleteObject(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const noexcept { DestroyMenu(h); }
};
struct KernelHandleDeleter {
    void operator()(HANDLE h) const noexcept {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
struct RegKeyDeleter {
    void operator()(HKEY h) const noexcept { RegCloseKey(h); }
};
struct HookDeleter {
    void operator()(HHOOK h) const noexcept { UnhookWindowsHookEx(h); }
};
struct IconDeleter {
    void operator()(HICON h) const noexcept { DestroyIcon(h); }
};
struct AcceleratorsDeleter {
    void operator()(HACCEL h) const noexcept { DestroyAcceleratorTable(h); }
};
struct ImageListDeleter {
    void operator()(HIMAGELIST h) const noexcept { ImageList_Destroy(h); }
};
// A device context the program made (CreateDC, a print dialog's), not one
// of a window's (WindowDc below).
struct DcDeleter {
    void operator()(HDC h) const noexcept { DeleteDC(h); }
};
struct LibraryDeleter {
    void operator()(HMODULE h) const noexcept { FreeLibrary(h); }
};
struct GlobalMemoryDeleter {
    void operator()(HGLOBAL h) const noexcept { GlobalFree(h); }
};
struct LocalMemoryDeleter {
    void operator()(HLOCAL h) const noexcept { LocalFree(h); }
};

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
