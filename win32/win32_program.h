// What every program of ours asks of Windows in the same way: where it is,
// and its window classes.
#pragma once

#include <windows.h>

#include <string>

namespace taskloom {

// The running program's folder and file name; "" when Windows cannot say.
std::string ProgramPath();
// Its folder, with the trailing separator.
std::string ProgramFolder();

// Registers the window class `name` of this program once: a later call with
// the same name finds it registered and does nothing. Throws
// std::runtime_error when the class cannot be registered.
struct WindowClass {
    const char* name = nullptr;
    WNDPROC proc = nullptr;
    UINT style = 0;
    HBRUSH background = nullptr;  // none: the window paints its own
    HICON icon = nullptr;
};
void RegisterWindowClass(const WindowClass& c);

}  // namespace taskloom
