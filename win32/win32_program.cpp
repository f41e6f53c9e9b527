#include "win32/win32_program.h"

#include <stdexcept>

namespace taskloom {

std::string ProgramPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // the name was cut: ask again with more room
    }
}

std::string ProgramFolder() {
    const std::string path = ProgramPath();
    return path.substr(0, path.find_last_of("\\/") + 1);
}

void RegisterWindowClass(const WindowClass& c) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, c.name, &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = c.style;
    wc.lpfnWndProc = c.proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = c.background;
    wc.hIcon = c.icon;
    wc.hIconSm = c.icon;
    wc.lpszClassName = c.name;
    if (!RegisterClassExA(&wc))
        throw std::runtime_error(std::string("cannot register the window class ") + c.name + " (error " +
                                 std::to_string(GetLastError()) + ")");
}

}  // namespace taskloom
