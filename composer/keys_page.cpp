// The Keys page: the key combination field (KeyStrokes), whose key presses
// become key tokens, the text field, the Send Count, the Tab key, Alt key
// and Clear all buttons.
#include "composer/control_ids.h"
#include "composer/pages.h"
#include "wingui/error_report.h"

namespace loomwright {

KeysPage::KeysPage(HWND page, HFONT font, int dpi, HWND tips, std::function<bool(std::uint8_t)> keyDown)
    : FormPage(page, font, dpi), keyDown_(std::move(keyDown)) {
    const DWORD tab = WS_TABSTOP;
    HWND clear = nullptr;
    children(
        {{"STATIC",
          "Add keystrokes to send to the currently selected window.",
          0,
          kIdKeysGuide,
          {6, 4, 478, 16}},
         {"BUTTON",
          " All other key combinations - Function keys, Ctrl,Shift,Esc,Enter,Insert, etc. ",
          BS_GROUPBOX,
          kIdKeyStrokesGroup,
          {6, 22, 478, 54}},
         {"EDIT", "", tab | ES_AUTOHSCROLL, kIdKeyStrokes, {14, 42, 300, 24}, WS_EX_CLIENTEDGE, &KeyStrokes},
         {"BUTTON", "&Tab key", tab | BS_PUSHBUTTON, kIdTabBtn, {322, 41, 74, 25}},
         {"BUTTON", "&Alt key", tab | BS_PUSHBUTTON, kIdAltBtn, {402, 41, 74, 25}},
         {"BUTTON", " Alphanumeric text keys only ", BS_GROUPBOX, kIdAutoTextGroup, {6, 82, 478, 54}},
         {"EDIT", "", tab | ES_AUTOHSCROLL, kIdAutoText, {14, 102, 462, 24}, WS_EX_CLIENTEDGE, &AutoText},
         {"BUTTON", " Send Count ", BS_GROUPBOX, kIdCountGroup, {6, 142, 130, 54}},
         {"EDIT", "1", tab | ES_NUMBER, kIdCountEdit, {14, 162, 60, 24}, WS_EX_CLIENTEDGE, &CountEdit},
         {UPDOWN_CLASSA,
          "",
          UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS,
          kIdCount,
          {74, 162, 18, 24},
          0,
          &Count.h},
         {"BUTTON", "&Clear all", tab | BS_PUSHBUTTON, kIdClearKeysBtn, {402, 160, 74, 25}, 0, &clear},
         {"LISTBOX", "", LBS_NOTIFY, kIdKeyBox, {300, 150, 60, 40}, 0, &KeyBox.h}});
    SendMessageA(KeyStrokes, EM_SETLIMITTEXT, 20, 0);
    SetWindowSubclass(KeyStrokes, KeyStrokesProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SendMessageA(Count.h, UDM_SETBUDDY, reinterpret_cast<WPARAM>(CountEdit), 0);
    Count.setRange(1, 100);
    Count.setValue(1);
    wingui::AddHint(tips, clear, "Clear all");
    wingui::AddHint(tips, CountEdit, "Number of times to send a key");
    ShowWindow(KeyBox.h, SW_HIDE);  // present, not visible
    KeyBox.setItems({"{None}", "Bksp", "Tab",  "Enter", "Shift", "Ctrl", "Alt", "Esc",
                     "Space",  "PgUp", "PgDn", "End",   "Home",  "Left", "Up",  "Right",
                     "Down",   "Ins",  "Del",  "F1",    "F2",    "F3",   "F4",  "F5",
                     "F6",     "F7",   "F8",   "F9",    "F10",   "F11",  "F12"});
}

taskloom::KeyFields KeysPage::read(bool countUsed) const {
    taskloom::KeyFields keys;
    keys.keyStrokes = wingui::TextOf(KeyStrokes);
    keys.autoText = wingui::TextOf(AutoText);
    if (countUsed) {
        keys.count = SpinValue(Count, "Send Count");
    } else {
        int lo = 0, hi = 0;
        Count.range(lo, hi);
        try {
            keys.count = taskloom::SpinFieldValue("Send Count", wingui::TextOf(CountEdit), lo, hi);
        } catch (const taskloom::FieldError&) {
            keys.count = 1;
        }
    }
    return keys;
}

void KeysPage::write(const taskloom::KeyFields& keys) {
    if (wingui::TextOf(KeyStrokes) != keys.keyStrokes) {
        wingui::SetText(KeyStrokes, keys.keyStrokes);
        // The caret after the last token, where the next one goes.
        const auto end = static_cast<LPARAM>(keys.keyStrokes.size());
        SendMessageA(KeyStrokes, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
    if (wingui::TextOf(AutoText) != keys.autoText) wingui::SetText(AutoText, keys.autoText);
    if (wingui::TextOf(CountEdit) != std::to_string(keys.count)) Count.setValue(keys.count);
}

void KeysPage::TabBtnClick() {
    taskloom::KeyFields keys = read();
    taskloom::TabBtnClick(keys);
    write(keys);
    SetFocus(KeyStrokes);
}

void KeysPage::AltBtnClick() {
    taskloom::KeyFields keys = read(false);
    taskloom::AltBtnClick(keys);
    write(keys);
    SetFocus(KeyStrokes);
}

void KeysPage::ClearKeysClick() {
    taskloom::KeyFields keys = read(false);
    taskloom::ClearKeysClick(keys);
    write(keys);
    SetFocus(KeyStrokes);
}

bool KeysPage::command(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
        case kIdTabBtn:
            TabBtnClick();
            return true;
        case kIdAltBtn:
            AltBtnClick();
            return true;
        case kIdClearKeysBtn:
            ClearKeysClick();
            return true;
        default:
            return false;
    }
}

// KeyStrokes takes every key but Tab (which moves on, hence the Tab key
// button). A key that became a token, or completed a combination, is not
// also edited into the field: its character would land in the emptied
// field or change the token just written. Held modifiers repeat their key
// down; only the first press is a token. The "." sent while Alt is held
// is not looked for in the menu bar (it has no item there: a beep).
LRESULT CALLBACK KeysPage::KeyStrokesProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<KeysPage*>(data);
    switch (msg) {
        case WM_GETDLGCODE:
            return wingui::WantAllKeysButTab(h, wp, lp);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const bool repeat = (lp & 0x40000000) != 0;
            const bool modifier = wp == VK_SHIFT || wp == VK_CONTROL || wp == VK_MENU;
            if (repeat && modifier) return 0;
            bool taken = false;
            try {
                taken = self->keyDown_(static_cast<std::uint8_t>(wp));
            } catch (...) {
                wingui::ReportCurrentException(GetAncestor(h, GA_ROOT));
                return 0;
            }
            if (taken) {
                MSG pending;
                PeekMessageA(&pending, h, WM_CHAR, WM_CHAR, PM_REMOVE);
                PeekMessageA(&pending, h, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE);
                return 0;
            }
            break;
        }
        case WM_SYSCHAR:
        case WM_CHAR:
            if (self->dotPending_ && wp == '.') {
                self->dotPending_ = false;
                return 0;
            }
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(h, KeyStrokesProc, 1);
            break;
        default:
            break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace loomwright
