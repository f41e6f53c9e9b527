// The Commands page's handlers: AddCommandClick and BrowseAllClick. The
// checks and lines are the core's (command_builder.h); this file reads the
// Commands page and the pages a command takes its sources from, and carries
// out the outcome.
#include "composer/control_ids.h"
#include "composer/model/command_builder.h"
#include "composer/model/script_files.h"
#include "composer/pages.h"
#include "composer/vexa_form.h"
#include "wingui/error_report.h"
#include "wingui/file_dialog.h"

namespace loomwright {

taskloom::CommandSources VexaForm::commandSources() {
    taskloom::CommandSources sources;
    WindowsPage& windows = windowsPage();
    if (windows.selectedIndex() >= 0) sources.windowTitle = windows.selectedTitle();
    if (const MenusPage* menus = madePage<MenusPage>(kMenusPage)) {
        sources.menuItemCount = static_cast<std::size_t>(menus->count());
        if (menus->hasSelection()) sources.menuPath = menus->selectedPath();
    }
    sources.thirdPageCaption = PageControl.caption(kCtrlPage);
    ControlsPage& controls = controlsPage();  // its control list is read
    sources.controlLines = controls.lines();
    const ControlsPage::Caret caret = controls.caret();
    sources.caretLine = static_cast<int>(caret.line) + 1;
    sources.caretColumn = static_cast<int>(caret.start - caret.lineStart) + 1;
    sources.selectionLength = static_cast<int>(caret.length);
    sources.haveTargetWindow = engine_->targetWnd() > 0;
    return sources;
}

void VexaForm::AddCommandClick() {
    CommandsPage& commands = commandsPage();
    const std::optional<std::size_t> item = commands.chosenItem();
    if (!item) return;
    const taskloom::CommandFields fields = commands.fields();
    const taskloom::CommandOutcome out =
        taskloom::AddCommandClick(*item, fields, script_.lines(), commandSources());
    using Kind = taskloom::CommandOutcome::Kind;
    if (out.kind == Kind::Nothing) return;
    ScriptLine = out.scriptLine;
    if (out.kind == Kind::Add) {
        AddLine();
        MacroBoxClick();
        return;
    }
    showCommandRefusal(out);
}

void VexaForm::showCommandRefusal(const taskloom::CommandOutcome& out) {
    CommandsPage& commands = commandsPage();
    // The user is sent where the fault is, then told.
    switch (out.focus) {
        case taskloom::CommandFocus::NameField:
            commands.focusName();
            break;
        case taskloom::CommandFocus::ValueField:
            commands.focusValue();
            break;
        case taskloom::CommandFocus::WindowsPage:
            EditMenuClick(kWindowPage);
            break;
        case taskloom::CommandFocus::MenusPage:
            EditMenuClick(kMenusPage);
            break;
        case taskloom::CommandFocus::ThirdPage:
            if (out.refillControls) {
                fillControls(engine_->targetWnd());
                PageControl.setCaption(kCtrlPage, "Controls");
            }
            showPage(kCtrlPage);
            break;
        case taskloom::CommandFocus::None:
            break;
    }
    MessageBoxA(hwnd(), out.message.c_str(), wingui::ReportTitle().c_str(), MB_OK | MB_ICONERROR);
    // The box gives the focus back to the form; the field takes it again.
    if (out.focus == taskloom::CommandFocus::NameField) commands.focusName();
    if (out.focus == taskloom::CommandFocus::ValueField) commands.focusValue();
}

void VexaForm::BrowseAllClick(bool nameButton) {
    CommandsPage& commands = commandsPage();
    const std::optional<std::string> file =
        wingui::AskOpenFile({hwnd(), taskloom::kBrowseAllFilter, programDir_});
    if (!file) return;
    commands.setBrowsed(taskloom::BrowseAllClick(nameButton ? taskloom::BrowseButton::Name
                                                            : taskloom::BrowseButton::Parameter),
                        *file);
}

}  // namespace loomwright
