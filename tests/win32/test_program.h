// What the small programs the Wine tests start have in common: a window
// class of their own, a window procedure that ends the program when its
// window is destroyed, and the message loop.
#pragma once

#include <windows.h>

namespace taskloom::testprogram {

// The rest of a program's window procedure: destroying the main window ends
// the message loop; every other message gets the default handling.
inline LRESULT EndOnDestroy(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_DESTROY) return DefWindowProcA(w, msg, wp, lp);
    PostQuitMessage(0);
    return 0;
}

// Registers the class `name` (arrow cursor, `background` a system colour
// index). False when it cannot.
inline bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, int background) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
}

// Runs the thread's messages until the quit message; answers its code.
inline int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace taskloom::testprogram
