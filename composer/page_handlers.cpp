// The form's handlers of the Windows, Menus, Controls, Keys, Popup and
// Clips pages: what a page's control does to the script list, the engine or
// another page. What a page does by itself is the page's (pages.h).
#include "composer/control_ids.h"
#include "composer/pages.h"
#include "composer/vexa_form.h"
#include "engine/lookup.h"
#include "engine/sendkey.h"
#include "engine/text.h"

namespace loomwright {

taskloom::WindowChoice VexaForm::readChoice() {
    WindowsPage& windows = windowsPage();
    taskloom::WindowChoice c;
    c.title = windows.selectedTitle();
    c.picked = PickedWnd;
    c.trackPos = windows.trackPos();
    c.matchFirst = windows.matchFirst();
    return c;
}

void VexaForm::writeChoice(const taskloom::WindowChoice& choice) {
    PickedWnd = choice.picked;
    windowsPage().setMatchFirst(choice.matchFirst);
}

taskloom::KeyFields VexaForm::readKeys(bool countUsed) const {
    const KeysPage* keys = madePage<KeysPage>(kKeysPage);
    return keys ? keys->read(countUsed) : taskloom::KeyFields{};  // not made yet: its start values
}

void VexaForm::writeKeys(const taskloom::KeyFields& keys) {
    // The page is made when its fields are to hold something else than
    // what it starts with.
    if (!madePage<KeysPage>(kKeysPage) && keys == taskloom::KeyFields{}) return;
    keysPage().write(keys);
}

void VexaForm::chooseKey(int index) {
    if (KeysPage* keys = madePage<KeysPage>(kKeysPage))
        keys->selectKey(index);
    else
        keyChoice_ = index;  // chosen when the page is made
}

taskloom::PopupPage VexaForm::readPopup() const {
    const PopupPage* popup = madePage<PopupPage>(kPopPage);
    return popup ? popup->read() : taskloom::PopupPage{};  // not made yet: its start values
}

void VexaForm::writePopup(const taskloom::PopupPage& page) { popupPage().write(page); }

void VexaForm::RefreshBtnClick() {
    WindowsPage& windows = windowsPage();
    windows.setTitles(taskloom::GetTitles(desktop_), 0);
    SetButtons();
    SetFocus(windows.titleList());
}

void VexaForm::ViewBtnClick() {
    WindowsPage& windows = windowsPage();
    const std::string title = windows.selectedTitle();
    const taskloom::Wnd w = title.empty() ? 0 : desktop_.findWindow(title);
    if (w != 0 && desktop_.isVisible(w)) taskloom::ActivateWindow(desktop_, w);
    SetFocus(windows.titleList());
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

void VexaForm::setCtrlText(const std::string& text) {
    if (ControlsPage* controls = madePage<ControlsPage>(kCtrlPage))
        controls->setText(text);
    else
        ctrlText_ = text;  // shown when the page is made
}

void VexaForm::GetMenusClick() {
    // Only the text field is the pick's business (it is emptied); the count
    // is not read, so a field being typed into does not stop a title click.
    taskloom::KeyFields keys;
    keys.autoText = readKeys(false).autoText;
    taskloom::MenusPick pick = taskloom::GetMenusClick(desktop_, windowsPage().selectedTitle(), keys);
    if (KeysPage* keysFields = madePage<KeysPage>(kKeysPage)) keysFields->setAutoText(keys.autoText);
    chooseKey(-1);
    menusPage().fill(std::move(pick.tree));
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
    chooseKey(-1);
}

std::string VexaForm::selectedMenuPath() const {
    const MenusPage* menus = madePage<MenusPage>(kMenusPage);
    return menus ? menus->selectedPath() : std::string();
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
    if (!menusPage().filling()) SetButtons();
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
    if (composer == reinterpret_cast<taskloom::Wnd>(hwnd())) SetFocus(controlsPage().edit());
    taskloom::SendKeyString(desktop_, taskloom::CaretHomeKeys());
}

// Run on WM_KEYDOWN and WM_SYSKEYDOWN (a key going down), despite its name.
bool VexaForm::KeyStrokesKeyUp(std::uint8_t vk) {
    taskloom::KeyFields keys = readKeys();
    const taskloom::KeyFields before = keys;
    const char unshifted = static_cast<char>(MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR) & 0x7FFF);
    const taskloom::KeyPressResult result = taskloom::KeyStrokesKeyUp(keys, vk, unshifted);
    // While Alt is still held: letting it go then does not open the menu bar.
    if (result.sendDot) {
        keysPage().expectDot();
        taskloom::SendKeyString(desktop_, ".");
    }
    writeKeys(keys);
    if (result.line) {
        apply(taskloom::AddCombination(script_, *result.line));
        MacroBoxClick();
        return true;
    }
    return !(keys == before);
}

void VexaForm::PopTestClick() {
    const taskloom::NotePreview preview = taskloom::PopTestClick(readPopup());
    if (note_->show(preview.title, preview.lines, preview.x, preview.y) == taskloom::NoteAnswer::Abort)
        engine_->requestStop();
}

void VexaForm::ShowClips() {
    // A page not made yet shows the buffer when it is made.
    if (ClipsPage* clips = madePage<ClipsPage>(kClipsPage)) clips->show(engine_->clips().text());
}

void VexaForm::ClearClipsClick() {
    engine_->clips().clear();
    ShowClips();
}

}  // namespace loomwright
