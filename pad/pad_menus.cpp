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

void TDeckForm::command(int id) {
    if (exited_) return;
    const UINT state = GetMenuState(popup_, static_cast<UINT>(id), MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || (state & (MF_GRAYED | MF_DISABLED))) return;
    switch (id) {
        case IDM_APPENDTOCLIPS:
            ClipsAdd();
            break;
        case IDM_VIEWCLIPS:
            ViewClipsClick();
            break;
        case IDM_AUTOADD:
            AutoAddClick();
            break;
        case IDM_AUTOCOPY:
            AutoCopyClick();
            break;
        case IDM_K4:
        case IDM_K20:
        case IDM_K50:
            ClipsSizeClick(id);
            break;
        case IDM_DELNEWLINE:
        case IDM_DELCOMMA:
        case IDM_DELTAB:
        case IDM_DELSPACE:
        case IDM_DELNONE:
            DelimiterClick(id);
            break;
        case IDM_OPEN:
            OpenPadClick(true);
            break;
        case IDM_MOVE:
            MoveTBarClick();
            break;
        case IDM_FLATSTYLE:
            FlatClick();
            break;
        case IDM_EXPAND:
            ExpandClick();
            break;
        case IDM_SHRINK:
            ShrinkClick();
            break;
        case IDM_LEFT:
            BarLeftClick();
            break;
        case IDM_RIGHT:
            BarRightClick();
            break;
        case IDM_SWAP12:
            SwapIcons12();
            break;
        case IDM_AUTOHIDE:
            AutoHideClick();
            break;
        case IDM_HIDESHOW:
            ShowOrHide();
            break;
        case IDM_AUTOSTART:
            AutoStartClick();
            break;
        case IDM_AUTODIAL:
            AutoDialClick();
            break;
        case IDM_EXPORTSETTINGS:
            ExportSettingsClick();
            break;
        case IDM_IMPORTSETTINGS:
            ImportSettingsClick();
            break;
        case IDM_WEBSITE:
            VisitUs();
            break;
        case IDM_EMAILUS:
            MailUs();
            break;
        case IDM_CONTENTS:
            HelpContents();
            break;
        case IDM_ABOUT:
            HelpAbout();
            break;
        case IDM_HOTKEYREPORT:
            HotKeyReportClick();
            break;
        case IDM_QUIT:
            QuitBtnClick();
            break;
        default:
            break;
    }
}

}  // namespace tessdeck
