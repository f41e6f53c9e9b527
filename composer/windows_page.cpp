// The Windows page and the Menus page: the window titles to choose from,
// and the chosen window's menu tree.
#include "composer/control_ids.h"
#include "composer/pages.h"

namespace loomwright {

WindowsPage::WindowsPage(HWND page, HFONT font, HFONT rulerFont, int dpi) : FormPage(page, font, dpi) {
    const DWORD tab = WS_TABSTOP;
    children(
        {{"STATIC",
          "Select a window to activate and direct subsequent script commands to by double-clicking it or "
          "click on the Add button below.",
          0,
          kIdWindowGuide,
          {6, 4, 478, 28}},
         {"LISTBOX",
          "",
          tab | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT,
          kIdTitleBox,
          {6, 34, 300, 118},
          WS_EX_CLIENTEDGE,
          &TitleBox.h},
         {"BUTTON",
          "&Match only first",
          tab | BS_AUTOCHECKBOX,
          kIdMatchBox,
          {8, 155, 240, 20},
          0,
          &MatchBox.h},
         {TRACKBAR_CLASSA,
          "",
          tab | TBS_AUTOTICKS | TBS_HORZ,
          kIdTrackBar1,
          {0, 176, 310, 24},
          0,
          &TrackBar1.h},
         {"STATIC",
          "1234567890123456789012345678901234567890",
          SS_CENTER | WS_DISABLED,
          kIdRuler,
          {6, 200, 298, 14},
          0,
          &ruler_},
         {"BUTTON",
          "&Refresh Titles List",
          tab | BS_PUSHBUTTON,
          kIdRefreshBtn,
          {316, 34, 168, 25},
          0,
          &RefreshBtn},
         {"BUTTON", "&View Window", tab | BS_PUSHBUTTON, kIdViewBtn, {316, 64, 168, 25}, 0, &ViewBtn},
         {"BUTTON", "Copy &DOS Screen", tab | BS_PUSHBUTTON, kIdCopyBtn, {316, 94, 168, 25}, 0, &CopyBtn}});
    TrackBar1.setRange(1, 40);
    TrackBar1.setPos(2);
    // The ruler in a fixed-pitch font, so that its digits line up with the
    // track bar's steps.
    SendMessageA(ruler_, WM_SETFONT, reinterpret_cast<WPARAM>(rulerFont), FALSE);
}

void WindowsPage::setTitles(const std::vector<std::string>& titles, int index) {
    TitleBox.setItems(titles);
    TitleBox.select(TitleBox.count() > 0 ? index : -1);
}

std::string WindowsPage::selectedTitle() const {
    const int i = TitleBox.selected();
    return i < 0 ? std::string() : TitleBox.text(i);
}

void WindowsPage::MatchCount() {
    const int pos = taskloom::MatchCount(TrackBar1.pos());
    if (pos != TrackBar1.pos()) TrackBar1.setPos(pos);
    wingui::SetText(MatchBox.h, taskloom::MatchBoxCaption(pos));
}

MenusPage::MenusPage(HWND page, HFONT font, int dpi) : FormPage(page, font, dpi) {
    children({{"STATIC",
               "Activate menu items on the currently selected window by double-clicking, or select an item "
               "for use in the Commands page.",
               0,
               kIdMenusGuide,
               {6, 4, 478, 28}},
              {WC_TREEVIEWA,
               "",
               WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
               kIdMenuTree,
               {6, 34, 478, 180},
               WS_EX_CLIENTEDGE,
               &MenuTree.h}});
}

void MenusPage::fill(taskloom::MenuTree tree) {
    menuTree_ = std::move(tree);
    filling_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{filling_};
    SendMessageA(MenuTree.h, WM_SETREDRAW, FALSE, 0);
    MenuTree.clear();
    HTREEITEM wanted = nullptr;
    const int select = menuTree_.initialSelection();
    auto add = [&](auto& self, HTREEITEM parent, const taskloom::MenuNode& node) -> void {
        HTREEITEM item = MenuTree.add(parent, node.text, node.id);
        if (node.id == select) wanted = item;
        for (const taskloom::MenuNode& c : node.children) self(self, item, c);
    };
    add(add, nullptr, menuTree_.root);
    MenuTree.expandAll();
    SendMessageA(MenuTree.h, WM_SETREDRAW, TRUE, 0);
    if (wanted) MenuTree.select(wanted);
}

std::string MenusPage::selectedPath() const {
    HTREEITEM item = MenuTree.selected();
    if (!item) return {};
    return taskloom::GetMenuText(menuTree_, static_cast<int>(MenuTree.data(item)));
}

}  // namespace loomwright
