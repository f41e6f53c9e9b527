// The Windows, Menus and Controls pages: window titles, the menu tree, the
// control list and the caret read-out.
#include <richedit.h>

#include "composer/control_ids.h"
#include "composer/vexa_form.h"
#include "engine/lookup.h"
#include "engine/sendkey.h"
#include "engine/text.h"

namespace loomwright {

std::string VexaForm::selectedTitle() const {
    const int i = TitleBox.selected();
    return i < 0 ? std::string() : TitleBox.text(i);
}

taskloom::WindowChoice VexaForm::readChoice() const {
    taskloom::WindowChoice c;
    c.title = selectedTitle();
    c.picked = PickedWnd;
    c.trackPos = TrackBar1.pos();
    c.matchFirst = MatchBox.checked();
    return c;
}

void VexaForm::writeChoice(const taskloom::WindowChoice& choice) {
    PickedWnd = choice.picked;
    MatchBox.setChecked(choice.matchFirst);
}

void VexaForm::RefreshBtnClick() {
    TitleBox.setItems(taskloom::GetTitles(desktop_));
    TitleBox.select(TitleBox.count() > 0 ? 0 : -1);
    SetButtons();
    SetFocus(TitleBox.h);
}

void VexaForm::ViewBtnClick() {
    const std::string title = selectedTitle();
    const taskloom::Wnd w = title.empty() ? 0 : desktop_.findWindow(title);
    if (w != 0 && desktop_.isVisible(w)) taskloom::ActivateWindow(desktop_, w);
    SetFocus(TitleBox.h);
}

void VexaForm::fillControls(taskloom::Wnd w) { showControls(taskloom::GetControls(desktop_, w)); }

void VexaForm::showControls(const std::vector<std::string>& controls) {
    std::string text;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (i) text += "\r\n";
        text += controls[i];
    }
    setCtrlText(text);
}

void VexaForm::fillMenuTree() {
    ensurePage(kMenusPage);
    fillingTree_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{fillingTree_};
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

void VexaForm::GetMenusClick() {
    // Only the text field is the pick's business (it is emptied); the count
    // is not read, so a field being typed into does not stop a title click.
    taskloom::KeyFields keys;
    keys.autoText = wingui::TextOf(AutoText);
    taskloom::MenusPick pick = taskloom::GetMenusClick(desktop_, selectedTitle(), keys);
    wingui::SetText(AutoText, keys.autoText);
    KeyBox.select(-1);
    menuTree_ = std::move(pick.tree);
    fillMenuTree();
    showControls(pick.controls);
    PickedWnd = pick.picked;
    PageControl.setCaption(kCtrlPage, "Controls");
    if (activeCaption() != "Menus") SetButtons();
}

void VexaForm::SwitchBtnClick() {
    taskloom::WindowChoice choice = readChoice();
    taskloom::KeyFields keys = readKeys(false);
    taskloom::Wnd target = engine_->targetWnd();
    ScriptLine = taskloom::SwitchBtnClick(choice, keys, target);
    engine_->setTargetWnd(target);
    writeChoice(choice);
    writeKeys(keys);
    KeyBox.select(-1);
}

void VexaForm::MatchCount() {
    const int pos = taskloom::MatchCount(TrackBar1.pos());
    if (pos != TrackBar1.pos()) TrackBar1.setPos(pos);
    wingui::SetText(MatchBox.h, taskloom::MatchBoxCaption(pos));
}

std::string VexaForm::selectedMenuPath() const {
    HTREEITEM item = MenuTree.selected();
    if (!item) return {};
    return taskloom::GetMenuText(menuTree_, static_cast<int>(MenuTree.data(item)));
}

void VexaForm::GetMenuText() { ScriptLine += selectedMenuPath(); }

void VexaForm::AddMenuClick() {
    taskloom::WindowChoice choice = readChoice();
    taskloom::KeyFields keys = readKeys(false);
    taskloom::Wnd target = engine_->targetWnd();
    apply(taskloom::AddMenuClick(script_, keys, choice, target, selectedMenuPath()));
    engine_->setTargetWnd(target);
    writeChoice(choice);
    writeKeys(keys);
    MacroBoxClick();
}

void VexaForm::ShowMenuClick() {
    if (!fillingTree_) SetButtons();
}

void VexaForm::ClipDosBtnClick() {
    const taskloom::Wnd composer = desktop_.foregroundWindow();
    ViewBtnClick();
    const std::string screen = engine_->CopyDosScreen();
    setCtrlText("");
    PageControl.setCaption(kCtrlPage, taskloom::kDosScreenCaption);
    setCtrlText(screen);
    showPage(kCtrlPage);
    taskloom::ActivateWindow(desktop_, composer);
    // The caret goes to the start of the copied screen: Ctrl+Home in the
    // title list, where View Window left the focus, would pick another title.
    if (composer == reinterpret_cast<taskloom::Wnd>(hwnd())) SetFocus(Ctrl);
    taskloom::SendKeyString(desktop_, taskloom::CaretHomeKeys());
}

void VexaForm::UpdateLineCol() {
    CHARRANGE sel{};
    SendMessageA(Ctrl, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    const long line = static_cast<long>(SendMessageA(Ctrl, EM_EXLINEFROMCHAR, 0, sel.cpMin));
    const long lineStart = static_cast<long>(SendMessageA(Ctrl, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    ClipsStatusBar.setText(0, taskloom::UpdateLineCol(line, sel.cpMin, lineStart, sel.cpMax - sel.cpMin));
}

}  // namespace loomwright
