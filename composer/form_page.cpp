#include "composer/form_page.h"

#include <commctrl.h>

#include "composer/model/composer_model.h"

namespace loomwright {

HWND FormPage::child(const char* cls, const std::string& text, DWORD style, int id,
                     const wingui::Rect96& place, DWORD exStyle) {
    HWND h = wingui::CreateChild(page_, cls, text, WS_VISIBLE | style, exStyle, id, font_);
    wingui::Place(h, place, dpi_);
    return h;
}

void FormPage::children(std::initializer_list<ChildSpec> specs) {
    for (const ChildSpec& s : specs) {
        const HWND h = child(s.cls, s.text, s.style, s.id, s.place, s.exStyle);
        if (s.out) *s.out = h;
    }
}

int SpinValue(const wingui::UpDown& spin, const char* field) {
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

}  // namespace loomwright
