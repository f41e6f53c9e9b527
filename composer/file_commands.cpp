// The File menu's script files (New, Open, Save, Save As, Load Text), Edit,
// Paste script, File, Check, and the question asked before unsaved work is
// dropped. Every decision is the core's (script_files.h); a file that cannot
// be read or written is reported and the script stays as it was.
#include <windows.h>
#include <commdlg.h>

#include <optional>

#include "composer/control_ids.h"
#include "composer/vexa_form.h"
#include "composer/tessdeck_page.h"
#include "engine/filestore.h"
#include "composer/model/script_files.h"
#include "engine/lookup.h"
#include "composer/model/window_picker.h"
#include "resources/loomwright_ids.h"
#include "wingui/file_dialog.h"
#include "wingui/error_report.h"

namespace loomwright {

namespace {

// The Open or Save dialog in the program's folder: the chosen full name, or
// none when the user cancels.
std::optional<std::string> AskFileName(HWND owner, const char* filter, const std::string& proposed,
                                       const std::string& folder, bool save) {
    const wingui::FileDialog d{owner, filter, folder, nullptr, nullptr, true};
    return save ? wingui::AskSaveFile(d, proposed) : wingui::AskOpenFile(d, proposed);
}

// File, Check: the findings, one a row; choosing one selects its line.
class CheckBox final : public wingui::Dialog {
public:
    CheckBox(VexaForm& form, std::vector<taskloom::CheckRow> rows) : form_(form), rows_(std::move(rows)) {}

private:
    bool onInit() override {
        HWND list = GetDlgItem(hwnd(), IDC_CHECK_LIST);
        for (const auto& row : rows_)
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.text.c_str()));
        SendMessageA(list, LB_SETHORIZONTALEXTENT, 2000, 0);
        return true;
    }
    void onCommand(int id, int code) override {
        if (id == IDC_CHECK_LIST && code == LBN_SELCHANGE) {
            const LRESULT i = SendMessageA(GetDlgItem(hwnd(), IDC_CHECK_LIST), LB_GETCURSEL, 0, 0);
            if (i >= 0 && static_cast<std::size_t>(i) < rows_.size() &&
                rows_[static_cast<std::size_t>(i)].line > 0)
                form_.selectLine(static_cast<int>(rows_[static_cast<std::size_t>(i)].line) - 1);
            return;
        }
        Dialog::onCommand(id, code);
    }
    VexaForm& form_;
    std::vector<taskloom::CheckRow> rows_;
};

}  // namespace

void VexaForm::updateSaveItems() {
    const UINT state = MF_BYCOMMAND | (script_.modified() ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(menu_, IDM_SAVE, state);
    EnableMenuItem(menu_, IDM_SAVEAS, state);
}

void VexaForm::setScriptName(const std::string& name) {
    ScriptName = name;
    wingui::SetText(hwnd(), taskloom::ScriptCaption(wingui::TextOf(hwnd()), ScriptName));
}

bool VexaForm::MayQuit() {
    // A Tessdeck page never made holds no changed icons.
    TessdeckPage* pad = madePage<TessdeckPage>(kRunPage);
    return MayDiscard(true, taskloom::AskToSaveOnQuit(script_)) && (!pad || pad->MayDiscard());
}

bool VexaForm::MayDiscard(bool saveAs, bool unsaved) {
    const taskloom::DiscardDecision d = taskloom::SaveBeforeDiscard(
        unsaved, ScriptName, script_.lines(),
        [this] {
            switch (MessageBoxA(hwnd(), taskloom::kSaveQuestion, wingui::ReportTitle().c_str(),
                                MB_YESNOCANCEL | MB_ICONQUESTION)) {
                case IDYES:
                    return taskloom::SaveAnswer::Yes;
                case IDNO:
                    return taskloom::SaveAnswer::No;
                default:
                    return taskloom::SaveAnswer::Cancel;
            }
        },
        [this](const std::string& proposed) {
            return AskFileName(hwnd(), taskloom::kSaveScriptFilter, proposed, programDir_, true);
        },
        saveAs);
    if (d.savedAs) {
        setScriptName(*d.savedAs);
        script_.setModified(false);
        updateSaveItems();
    }
    return d.proceed;
}

void VexaForm::NewMacro() {
    const taskloom::NewMacroEffect e = taskloom::NewMacro(wingui::TextOf(hwnd()), ScriptName);
    chooseKey(static_cast<int>(e.keyIndex));
    if (e.refillTitles)
        windowsPage().setTitles(taskloom::GetTitles(desktop_), static_cast<int>(e.titleIndex));
    wingui::SetText(hwnd(), e.caption);
    showPage(kWindowPage);
    SetButtons();
    script_.setModified(e.saveEnabled);
    updateSaveItems();
}

void VexaForm::NewMenusClick() {
    if (!MayDiscard(false, script_.modified())) return;
    breakpoints_.clear();
    apply(script_.assign({}));
    ScriptName = taskloom::kNewScriptName;
    NewMacro();
    MacroBox.select(-1);
}

void VexaForm::OpenMenuClick() {
    if (!MayDiscard(false, script_.modified())) return;
    const auto name = AskFileName(hwnd(), taskloom::kOpenScriptFilter, "", programDir_, false);
    if (!name) return;
    // Read first: a file that cannot be read leaves the script as it was.
    taskloom::OpenedScript opened = taskloom::OpenScript(*name);
    if (opened.error) {
        wingui::ShowErrorReport(hwnd(), opened.error->what());
        return;
    }
    ScriptName = *name;
    breakpoints_.clear();
    apply(script_.assign(std::move(opened.lines)));
    script_.select(script_.empty() ? -1 : 0);
    NewMacro();
    MacroBoxClick();
}

void VexaForm::SaveMenuClick() {
    const auto written =
        taskloom::SaveMenuClick(ScriptName, script_.lines(), [this](const std::string& proposed) {
            return AskFileName(hwnd(), taskloom::kSaveScriptFilter, proposed, programDir_, true);
        });
    if (!written) return;
    setScriptName(*written);
    script_.setModified(false);
    updateSaveItems();
}

void VexaForm::SaveAsMenuClick() {
    const auto written =
        taskloom::SaveAsMenuClick(ScriptName, script_.lines(), [this](const std::string& proposed) {
            return AskFileName(hwnd(), taskloom::kSaveScriptFilter, proposed, programDir_, true);
        });
    if (!written) return;
    setScriptName(*written);
    script_.setModified(false);
    updateSaveItems();
}

void VexaForm::LoadTextFile() {
    const auto name = AskFileName(hwnd(), taskloom::kTextFileFilter, "", programDir_, false);
    if (!name) return;
    const std::vector<std::string> lines = taskloom::ReadTextLines(*name);  // FileError is reported
    showTextFile(lines);
    controlsPage().caretHome();
    // The Tessdeck page's "Program/Script" field takes the name too.
    padPage().setRunName(*name);
    showPage(kCtrlPage);
    SetButtons();
    controlsPage().UpdateLineCol();
}

void VexaForm::PasteScript() {
    const std::vector<std::string>& clips = engine_->clips().lines();
    if (!taskloom::PasteAsks(clips)) return;
    if (MessageBoxA(hwnd(), taskloom::PasteQuestion().c_str(), wingui::ReportTitle().c_str(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::vector<std::string> lines = script_.lines();
    if (taskloom::PasteScript(lines, clips)) {
        apply(script_.assign(std::move(lines)));
        script_.setModified(true);
        updateSaveItems();
    }
    MacroBoxClick();
}

void VexaForm::CheckMenuClick() {
    CheckBox box(*this, taskloom::CheckScriptRows(script_.lines(), ScriptName));
    box.runModal(hwnd(), IDD_CHECK);
}

void VexaForm::selectLine(int index) {
    script_.select(index);
    MacroBox.select(script_.selected());
    MacroBoxClick();
}

}  // namespace loomwright
