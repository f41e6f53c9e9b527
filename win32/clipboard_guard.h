// The clipboard kept open for one operation, and closed again however the
// operation ends (an exception included): an open clipboard left behind
// blocks every other program's copy and paste.
#pragma once

#include <windows.h>

namespace taskloom {

class ClipboardGuard {
public:
    // Opens the clipboard with `owner` as its window. Another program may
    // hold it for a moment, so opening is tried again for up to `waitMs`
    // milliseconds of elapsed time. With `answerSentMessages`, messages that
    // other threads send to this one are answered while it waits: the holder
    // may be emptying the clipboard and waiting for this thread's clipboard
    // owner window to answer. opened() says whether it worked.
    ClipboardGuard(HWND owner, unsigned waitMs, bool answerSentMessages);
    ~ClipboardGuard();
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;

    bool opened() const { return opened_; }

private:
    bool opened_ = false;
};

}  // namespace taskloom
