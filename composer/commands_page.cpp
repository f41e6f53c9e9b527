// The Commands page: the tree of commands by group, and the fields <Name>,
// <Count / Line> and <Parameter / Value> that a command line takes.
#include "composer/control_ids.h"
#include "composer/model/command_tree.h"
#include "composer/pages.h"
#include "resources/icons/icons.h"

namespace loomwright {

CommandsPage::CommandsPage(HWND page, HFONT font, int dpi, HWND tips) : FormPage(page, font, dpi) {
    const DWORD tab = WS_TABSTOP;
    children(
        {{"STATIC",
          "Add data extraction, timing and loop commands to control the execution of the script.",
          0,
          kIdCommandsNote,
          {6, 4, 478, 28}},
         {WC_TREEVIEWA,
          "",
          tab | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
          kIdCommandTree,
          {6, 34, 250, 180},
          WS_EX_CLIENTEDGE,
          &CommandTree.h},
         {"BUTTON", " <Name> ", BS_GROUPBOX, kIdPgmNameGroup, {264, 34, 220, 54}},
         {"EDIT", "", tab | ES_AUTOHSCROLL, kIdPgmName, {272, 54, 170, 24}, WS_EX_CLIENTEDGE, &PgmName},
         {"BUTTON", "...", tab | BS_PUSHBUTTON, kIdBrowseBtn, {446, 54, 30, 24}, 0, &BrowseBtn},
         {"BUTTON", " <Count / Line> ", BS_GROUPBOX, kIdPauseGroup, {264, 94, 220, 54}},
         {"EDIT", "1", tab | ES_NUMBER, kIdPauseEdit, {272, 114, 60, 24}, WS_EX_CLIENTEDGE, &PauseEdit},
         {UPDOWN_CLASSA,
          "",
          UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS,
          kIdPause,
          {332, 114, 18, 24},
          0,
          &Pause.h},
         {"BUTTON", " <Parameter / Value> ", BS_GROUPBOX, kIdComValueGroup, {264, 154, 220, 54}},
         {"EDIT", "", tab | ES_AUTOHSCROLL, kIdComValue, {272, 174, 170, 24}, WS_EX_CLIENTEDGE, &ComValue},
         {"BUTTON", "...", tab | BS_PUSHBUTTON, kIdParmBtn, {446, 174, 30, 24}, 0, &ParmBtn}});
    SendMessageA(Pause.h, UDM_SETBUDDY, reinterpret_cast<WPARAM>(PauseEdit), 0);
    Pause.setRange(0, 999);
    Pause.setValue(1);
    wingui::AddHint(tips, BrowseBtn, "Browse...");
    wingui::AddHint(tips, ParmBtn, "Browse...");
    wingui::AddHint(tips, PauseEdit, "Select clips line# or seconds to pause");
    fillTree();
}

void CommandsPage::fillTree() {
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

std::optional<std::size_t> CommandsPage::chosenItem() const {
    const HTREEITEM chosen = CommandTree.selected();
    if (!chosen) return std::nullopt;
    return static_cast<std::size_t>(CommandTree.data(chosen));
}

taskloom::CommandFields CommandsPage::fields() const {
    return {wingui::TextOf(PgmName), SpinValue(Pause, "<Count / Line>"), wingui::TextOf(ComValue)};
}

void CommandsPage::setBrowsed(taskloom::BrowseTarget target, const std::string& file) {
    wingui::SetText(target == taskloom::BrowseTarget::NameField ? PgmName : ComValue, file);
}

void CommandsPage::expandTop() {
    if (HTREEITEM top = CommandTree.root()) TreeView_Expand(CommandTree.h, top, TVE_EXPAND);
}

}  // namespace loomwright
