#include "win32/clipboard_guard.h"

#include "engine/retry.h"

namespace taskloom {

ClipboardGuard::ClipboardGuard(HWND owner, unsigned waitMs, bool answerSentMessages) {
    opened_ = RetryFor(
        waitMs, [&] { return OpenClipboard(owner) != FALSE; }, [] { return GetTickCount64(); },
        [&] {
            if (answerSentMessages) {
                MSG msg;
                PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            }
            Sleep(answerSentMessages ? 10 : 1);
        });
}

ClipboardGuard::~ClipboardGuard() {
    if (opened_) CloseClipboard();
}

}  // namespace taskloom
