#include "pad/tessdeck.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "win32/win32_desktop.h"
#include "pad/tdeck_form.h"
#include "win32/win32_program.h"
#include "wingui/error_report.h"
#include "wingui/message_loop.h"
#include "wingui/startup_trace.h"

namespace tessdeck {

void InitProgram() {
    wingui::StartupTraceBegin("tessdeck");
    wingui::StartupStep("process start to the program's entry");
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
    wingui::SetReportTitle(kPadCaption);
    wingui::StartupStep("common controls");
}

int Run(const std::vector<std::string>& args) {
    InitProgram();
    std::unique_ptr<taskloom::Desktop> desktop;
    std::unique_ptr<TDeckForm> form;
    try {
        desktop = taskloom::MakeWin32Desktop();
        wingui::StartupStep("desktop");
        PadStart start;
        start.args = args;
        start.programPath = taskloom::ProgramPath();
        form = std::make_unique<TDeckForm>(*desktop, std::move(start));
    } catch (...) {
        wingui::ReportCurrentException(nullptr);
        return 1;
    }
    wingui::MessageLoop loop;
    loop.owner = [&] { return form->hwnd(); };
    loop.translate = [&](MSG& msg) { return form->translate(msg); };
    loop.idle = [&] { form->PadIdle(); };
    return wingui::RunMessageLoop(loop);
}

}  // namespace tessdeck
