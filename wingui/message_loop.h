// A program's message loop: every message goes first to the program's own
// keyboard handling (dialog keys, accelerators), then to its window; an
// exception from a handler is shown by the general error report and the loop
// goes on.
#pragma once

#include <windows.h>

#include <functional>

namespace wingui {

struct MessageLoop {
    // The owner of the error box: the main window while it exists.
    std::function<HWND()> owner = {};
    // True when the message was taken as a key of the program's own.
    std::function<bool(MSG&)> translate = {};
    // Runs each time the queue has run empty, before the loop waits.
    std::function<void()> idle = {};
};

// Runs until WM_QUIT (or a broken queue); answers the quit message's code.
int RunMessageLoop(const MessageLoop& loop);

}  // namespace wingui
