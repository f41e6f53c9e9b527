// The Keys page: key presses in KeyStrokes become key tokens, the Tab key,
// Alt key and Clear all buttons, and the page's fields.
#include "composer/vexa_form.h"
#include "engine/sendkey.h"
#include "wingui/error_report.h"

namespace loomwright {

int VexaForm::spinValue(const wingui::UpDown& spin, const char* field) const {
    int lo = 0, hi = 0;
    spin.range(lo, hi);
    const HWND edit = spin.buddy();
    const std::string text = wingui::TextOf(edit);
    int value = 0;
    try {
        value = taskloom::SpinFieldValue(field, text, lo, hi);
    } catch (const taskloom::FieldError&) {
        SetFocus(edit);
        throw;
    }
    if (text != std::to_string(value)) SendMessageA(spin.h, UDM_SETPOS32, 0, value);
    return value;
}

taskloom::KeyFields VexaForm::readKeys(bool countUsed) const {
    taskloom::KeyFields keys;
    keys.keyStrokes = wingui::TextOf(KeyStrokes);
    keys.autoText = wingui::TextOf(AutoText);
    if (countUsed) {
        keys.count = spinValue(Count, "Send Count");
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

void VexaForm::writeKeys(const taskloom::KeyFields& keys) {
    if (wingui::TextOf(KeyStrokes) != keys.keyStrokes) {
        wingui::SetText(KeyStrokes, keys.keyStrokes);
        // The caret after the last token, where the next one goes.
        const auto end = static_cast<LPARAM>(keys.keyStrokes.size());
        SendMessageA(KeyStrokes, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
    if (wingui::TextOf(AutoText) != keys.autoText) wingui::SetText(AutoText, keys.autoText);
    if (wingui::TextOf(CountEdit) != std::to_string(keys.count)) Count.setValue(keys.count);
}

// Run on WM_KEYDOWN and WM_SYSKEYDOWN (a key going down), despite its name.
bool VexaForm::KeyStrokesKeyUp(std::uint8_t vk) {
    taskloom::KeyFields keys = readKeys();
    const taskloom::KeyFields before = keys;
    const char unshifted = static_cast<char>(MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR) & 0x7FFF);
    const taskloom::KeyPressResult result = taskloom::KeyStrokesKeyUp(keys, vk, unshifted);
    // While Alt is still held: letting it go then does not open the menu bar.
    if (result.sendDot) {
        dotPending_ = true;
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

void VexaForm::TabBtnClick() {
    taskloom::KeyFields keys = readKeys();
    taskloom::TabBtnClick(keys);
    writeKeys(keys);
    SetFocus(KeyStrokes);
}

void VexaForm::AltBtnClick() {
    taskloom::KeyFields keys = readKeys(false);
    taskloom::AltBtnClick(keys);
    writeKeys(keys);
    SetFocus(KeyStrokes);
}

void VexaForm::ClearKeysClick() {
    taskloom::KeyFields keys = readKeys(false);
    taskloom::ClearKeysClick(keys);
    writeKeys(keys);
    SetFocus(KeyStrokes);
}

// KeyStrokes takes every key but Tab (which moves on, hence the Tab key
// button). A key that became a token, or completed a combination, is not
// also edited into the field: its character would land in the emptied
// field or change the token just written. Held modifiers repeat their key
// down; only the first press is a token. The "." sent while Alt is held
// is not looked for in the menu bar (it has no item there: a beep).
LRESULT CALLBACK VexaForm::KeyStrokesProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<VexaForm*>(data);
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
                taken = self->KeyStrokesKeyUp(static_cast<std::uint8_t>(wp));
            } catch (...) {
                wingui::ReportCurrentException(self->hwnd());
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
