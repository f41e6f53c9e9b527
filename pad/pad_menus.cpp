// PopupMenu: opened from the menu image and by a right click on the pad; its
// commands (also reached by their shortcut keys) and check marks.
#include "pad/tdeck_form.h"

#include "engine/clips.h"
#include "resources/tessdeck_ids.h"

namespace tessdeck {

void TDeckForm::setChecked(int id, bool on) {
    CheckMenuItem(popup_, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

bool TDeckForm::checked(int id) const {
    return (GetMenuState(popup_, static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void TDeckForm::showMenuChecks() {
    setChecked(IDM_AUTOADD, settings_.autoAdd);
    setChecked(IDM_AUTOCOPY, settings_.autoCopy);
    setChecked(IDM_AUTOHIDE, settings_.autoHide);
    const int size = settings_.clipsSize == taskloom::ClipsSize::K20   ? IDM_K20
                     : settings_.clipsSize == taskloom::ClipsSize::K50 ? IDM_K50
                                                                       : IDM_K4;
    CheckMenuRadioItem(popup_, IDM_K4, IDM_K50, static_cast<UINT>(size), MF_BYCOMMAND);
    followDelimiter();
}

void TDeckForm::followDelimiter() {
    int item = 0;
    switch (engine_->delimiter()) {
        case taskloom::kDelimiterLine:
            item = IDM_DELNEWLINE;
            break;
        case ',':
            item = IDM_DELCOMMA;
            break;
        case '\t':
            item = IDM_DELTAB;
            break;
        case ' ':
            item = IDM_DELSPACE;
            break;
        case taskloom::kDelimiterNone:
            item = IDM_DELNONE;
            break;
        default:
            break;
    }
    if (item) {
        settings_.delimiter = static_cast<char>(engine_->delimiter());
        CheckMenuRadioItem(popup_, IDM_DELNEWLINE, IDM_DELNONE, static_cast<UINT>(item), MF_BYCOMMAND);
        return;
    }
    for (int id = IDM_DELNEWLINE; id <= IDM_DELNONE; ++id) setChecked(id, false);
}

void TDeckForm::openPopupMenu(POINT screen) {
    // The menu closes when the user clicks elsewhere only if the pad is in
    // the foreground.
    SetForegroundWindow(hwnd());
    followDelimiter();
    TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr);
    PostMessageA(hwnd(), WM_NULL, 0, 0);
}

namespace {

// What an item of the pad's menu runs.
struct MenuAction {
    int id;
    void (TDeckForm::*run)();
};

}  // namespace

void TDeckForm::command(int id) {
    if (exited_) return;
    const UINT state = GetMenuState(popup_, static_cast<UINT>(id), MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || (state & (MF_GRAYED | MF_DISABLED))) return;
    // The radio groups' handlers are told which item of their group it was.
    if (id >= IDM_K4 && id <= IDM_K50) {
        ClipsSizeClick(id);
        return;
    }
    if (id >= IDM_DELNEWLINE && id <= IDM_DELNONE) {
        DelimiterClick(id);
        return;
    }
    if (id == IDM_OPEN) {
        OpenPadClick(true);
        return;
    }
    static const MenuAction kActions[] = {
        {IDM_APPENDTOCLIPS, &TDeckForm::ClipsAdd},
        {IDM_VIEWCLIPS, &TDeckForm::ViewClipsClick},
        {IDM_AUTOADD, &TDeckForm::AutoAddClick},
        {IDM_AUTOCOPY, &TDeckForm::AutoCopyClick},
        {IDM_MOVE, &TDeckForm::MoveTBarClick},
        {IDM_FLATSTYLE, &TDeckForm::FlatClick},
        {IDM_EXPAND, &TDeckForm::ExpandClick},
        {IDM_SHRINK, &TDeckForm::ShrinkClick},
        {IDM_LEFT, &TDeckForm::BarLeftClick},
        {IDM_RIGHT, &TDeckForm::BarRightClick},
        {IDM_SWAP12, &TDeckForm::SwapIcons12},
        {IDM_AUTOHIDE, &TDeckForm::AutoHideClick},
        {IDM_HIDESHOW, &TDeckForm::ShowOrHide},
        {IDM_AUTOSTART, &TDeckForm::AutoStartClick},
        {IDM_AUTODIAL, &TDeckForm::AutoDialClick},
        {IDM_EXPORTSETTINGS, &TDeckForm::ExportSettingsClick},
        {IDM_IMPORTSETTINGS, &TDeckForm::ImportSettingsClick},
        {IDM_WEBSITE, &TDeckForm::VisitUs},
        {IDM_EMAILUS, &TDeckForm::MailUs},
        {IDM_CONTENTS, &TDeckForm::HelpContents},
        {IDM_ABOUT, &TDeckForm::HelpAbout},
        {IDM_HOTKEYREPORT, &TDeckForm::HotKeyReportClick},
        {IDM_QUIT, &TDeckForm::QuitBtnClick},
    };
    for (const MenuAction& a : kActions)
        if (a.id == id) {
            (this->*a.run)();
            return;
        }
}

}  // namespace tessdeck
