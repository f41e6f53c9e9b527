// The Commands page: the command tree, its three fields, AddCommandClick and
// BrowseAllClick. The checks and lines are the core's (command_builder.h);
// this file reads the page and the other pages into its structures and
// carries out the outcome.
#include <windows.h>
#include <commdlg.h>
#include <richedit.h>

#include "composer/control_ids.h"
#include "composer/vexa_form.h"
#include "composer/model/command_builder.h"
#include "composer/model/command_tree.h"
#include "composer/model/script_files.h"
#include "resources/icons/icons.h"
#include "wingui/file_dialog.h"
#include "wingui/error_report.h"

namespace loomwright {

namespace {

// The list of the rich edit's lines; a rich edit ends its lines with CR.
std::vector<std::string> EditLines(HWND edit) {
    std::vector<std::string> out;
    const std::string text = wingui::TextOf(edit);
    if (text.empty()) return out;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

}  // namespace

void VexaForm::createCommandsPage() {
    const DWORD tab = WS_TABSTOP;
    child(kCommandPage, "STATIC",
          "Add data extraction, timing and loop commands to control the execution of the script.", 0,
          kIdCommandsNote, {6, 4, 478, 28});
    CommandTree.h = child(kCommandPage, WC_TREEVIEWA, "",
                          tab | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                          kIdCommandTree, {6, 34, 250, 180}, WS_EX_CLIENTEDGE);
    child(kCommandPage, "BUTTON", " <Name> ", BS_GROUPBOX, kIdPgmNameGroup, {264, 34, 220, 54});
    PgmName = child(kCommandPage, "EDIT", "", tab | ES_AUTOHSCROLL, kIdPgmName, {272, 54, 170, 24},
                    WS_EX_CLIENTEDGE);
    BrowseBtn = child(kCommandPage, "BUTTON", "...", tab | BS_PUSHBUTTON, kIdBrowseBtn, {446, 54, 30, 24});
    child(kCommandPage, "BUTTON", " <Count / Line> ", BS_GROUPBOX, kIdPauseGroup, {264, 94, 220, 54});
    PauseEdit =
        child(kCommandPage, "EDIT", "1", tab | ES_NUMBER, kIdPauseEdit, {272, 114, 60, 24}, WS_EX_CLIENTEDGE);
    Pause.h = child(kCommandPage, UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS,
                    kIdPause, {332, 114, 18, 24});
    SendMessageA(Pause.h, UDM_SETBUDDY, reinterpret_cast<WPARAM>(PauseEdit), 0);
    Pause.setRange(0, 999);
    Pause.setValue(1);
    child(kCommandPage, "BUTTON", " <Parameter / Value> ", BS_GROUPBOX, kIdComValueGroup,
          {264, 154, 220, 54});
    ComValue = child(kCommandPage, "EDIT", "", tab | ES_AUTOHSCROLL, kIdComValue, {272, 174, 170, 24},
                     WS_EX_CLIENTEDGE);
    ParmBtn = child(kCommandPage, "BUTTON", "...", tab | BS_PUSHBUTTON, kIdParmBtn, {446, 174, 30, 24});
    wingui::AddHint(tips_, BrowseBtn, "Browse...");
    wingui::AddHint(tips_, ParmBtn, "Browse...");
    wingui::AddHint(tips_, PauseEdit, "Select clips line# or seconds to pause");
    fillCommandTree();
}

void VexaForm::fillCommandTree() {
    // Group and loop pictures; leaves show none.
    const int size = GetSystemMetrics(SM_CXSMICON);
    treeImages_.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 0));
    if (treeImages_) {
        for (int id : {IDI_TREE_GROUP, IDI_TREE_LOOP}) {
            const wingui::ScopedIcon icon(static_cast<HICON>(
                LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0)));
            ImageList_AddIcon(treeImages_.get(), icon.get());
        }
        TreeView_SetImageList(CommandTree.h, treeImages_.get(), TVSIL_NORMAL);
    }
    const auto& items = taskloom::CommandTree();
    std::vector<HTREEITEM> handles(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const taskloom::CommandItem& item = items[i];
        TVINSERTSTRUCTA ins{};
        ins.hParent = item.parent < 0 ? TVI_ROOT : handles[static_cast<std::size_t>(item.parent)];
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        ins.item.pszText = const_cast<char*>(item.text.c_str());
        ins.item.lParam = static_cast<LPARAM>(i);
        const int image = item.picture == taskloom::CommandPicture::Group       ? 0
                          : item.picture == taskloom::CommandPicture::LoopGroup ? 1
                                                                                : I_IMAGENONE;
        ins.item.iImage = ins.item.iSelectedImage = image;
        handles[i] = reinterpret_cast<HTREEITEM>(
            SendMessageA(CommandTree.h, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    }
}

taskloom::CommandSources VexaForm::commandSources() {
    ensurePage(kCtrlPage);  // its control list is read
    taskloom::CommandSources sources;
    const int title = TitleBox.selected();
    if (title >= 0) sources.windowTitle = TitleBox.text(title);
    sources.menuItemCount = static_cast<std::size_t>(MenuTree.count());
    if (MenuTree.selected()) sources.menuPath = selectedMenuPath();
    sources.thirdPageCaption = PageControl.caption(kCtrlPage);
    sources.controlLines = EditLines(Ctrl);
    CHARRANGE sel{};
    SendMessageA(Ctrl, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    const long line = static_cast<long>(SendMessageA(Ctrl, EM_EXLINEFROMCHAR, 0, sel.cpMin));
    const long lineStart = static_cast<long>(SendMessageA(Ctrl, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    sources.caretLine = static_cast<int>(line) + 1;
    sources.caretColumn = static_cast<int>(sel.cpMin - lineStart) + 1;
    sources.selectionLength = static_cast<int>(sel.cpMax - sel.cpMin);
    sources.haveTargetWindow = engine_->targetWnd() > 0;
    return sources;
}

void VexaForm::AddCommandClick() {
    ensurePage(kCommandPage);
    const HTREEITEM chosen = CommandTree.selected();
    if (!chosen) return;
    const auto item = static_cast<std::size_t>(CommandTree.data(chosen));

    const taskloom::CommandFields fields{wingui::TextOf(PgmName), spinValue(Pause, "<Count / Line>"),
                                         wingui::TextOf(ComValue)};
    const taskloom::CommandOutcome out =
        taskloom::AddCommandClick(item, fields, script_.lines(), commandSources());
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
    // The user is sent where the fault is, then told.
    switch (out.focus) {
        case taskloom::CommandFocus::NameField:
            SetFocus(PgmName);
            break;
        case taskloom::CommandFocus::ValueField:
            SetFocus(ComValue);
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
    if (out.focus == taskloom::CommandFocus::NameField) SetFocus(PgmName);
    if (out.focus == taskloom::CommandFocus::ValueField) SetFocus(ComValue);
}

void VexaForm::BrowseAllClick(bool nameButton) {
    ensurePage(kCommandPage);
    const std::optional<std::string> file =
        wingui::AskOpenFile({hwnd(), taskloom::kBrowseAllFilter, programDir_});
    if (!file) return;
    const auto target = taskloom::BrowseAllClick(nameButton ? taskloom::BrowseButton::Name
                                                            : taskloom::BrowseButton::Parameter);
    wingui::SetText(target == taskloom::BrowseTarget::NameField ? PgmName : ComValue, *file);
}

}  // namespace loomwright
