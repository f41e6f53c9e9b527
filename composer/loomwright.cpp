#include "composer/loomwright.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "composer/vexa_form.h"
#include "win32/win32_desktop.h"
#include "win32/win32_program.h"
#include "wingui/error_report.h"
#include "wingui/message_loop.h"
#include "wingui/startup_trace.h"

namespace loomwright {

void InitProgram() {
    wingui::StartupTraceBegin("loomwright");
    wingui::StartupStep("process start to the program's entry");
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS |
                ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
    wingui::SetReportTitle("Taskloom");
    wingui::StartupStep("common controls");
}

int Run(int showCommand) {
    InitProgram();
    std::unique_ptr<taskloom::Desktop> desktop;
    std::unique_ptr<VexaForm> form;
    try {
        desktop = taskloom::MakeWin32Desktop();
        wingui::StartupStep("desktop");
        form = std::make_unique<VexaForm>(*desktop, taskloom::ProgramFolder());
        form->show(showCommand);
    } catch (...) {
        wingui::ReportCurrentException(nullptr);
        return 1;
    }
    return wingui::RunMessageLoop(
        {[&] { return form->hwnd(); }, [&](MSG& msg) { return form->hwnd() && form->translate(msg); }});
}

}  // namespace loomwright
