#include "composer/loomwright.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "composer/vexa_form.h"
#include "win32/win32_desktop.h"
#include "wingui/error_report.h"

namespace loomwright {

void InitProgram() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS |
                ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
    wingui::SetReportTitle("Taskloom");
}

std::string ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of("\\/") + 1);
}

int Run(int showCommand) {
    InitProgram();
    std::unique_ptr<taskloom::Desktop> desktop;
    std::unique_ptr<VexaForm> form;
    try {
        desktop = taskloom::MakeWin32Desktop();
        form = std::make_unique<VexaForm>(*desktop, ProgramFolder());
        form->show(showCommand);
    } catch (...) {
        wingui::ReportCurrentException(nullptr);
        return 1;
    }
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        wingui::Guarded(form->hwnd(), [&] {
            if (!form->hwnd() || !form->translate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        });
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace loomwright
