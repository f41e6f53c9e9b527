#include "wingui/message_loop.h"

#include "wingui/error_report.h"

namespace wingui {

int RunMessageLoop(const MessageLoop& loop) {
    MSG msg{};
    for (;;) {
        if (loop.idle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            Guarded(loop.owner ? loop.owner() : nullptr, loop.idle);
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        Guarded(loop.owner ? loop.owner() : nullptr, [&] {
            if (!loop.translate || !loop.translate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        });
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace wingui
