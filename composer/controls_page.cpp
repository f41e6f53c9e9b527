// The Controls page: a window's control list, a text file or a DOS screen
// in a rich edit, and the caret's line and column below it.
#include <richedit.h>

#include <stdexcept>

#include "composer/control_ids.h"
#include "composer/model/composer_model.h"
#include "composer/pages.h"
#include "wingui/startup_trace.h"

namespace loomwright {

ControlsPage::ControlsPage(HWND page, HFONT font, int dpi, const std::string& text)
    : FormPage(page, font, dpi) {
    richEdit_.reset(LoadLibraryA("riched20.dll"));
    if (!richEdit_) throw std::runtime_error("cannot load the rich edit control (riched20.dll)");
    wingui::StartupStep("rich edit library");
    children({{"STATIC",
               "Select a control  or DOS screen field for use in the Com- mands page.",
               0,
               kIdCtrlGuide,
               {6, 4, 478, 16}},
              {"RichEdit20A",
               "",
               WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                   ES_WANTRETURN | ES_NOHIDESEL,
               kIdCtrl,
               {6, 22, 478, 170},
               WS_EX_CLIENTEDGE,
               &Ctrl},
              {STATUSCLASSNAMEA,
               "Line   :  Col ",
               CCS_NOPARENTALIGN | CCS_NORESIZE,
               kIdClipsStatusBar,
               {6, 196, 478, 20},
               0,
               &ClipsStatusBar.h}});
    SendMessageA(Ctrl, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
    SendMessageA(Ctrl, EM_EXLIMITTEXT, 0, 16 * 1024 * 1024);
    SendMessageA(Ctrl, EM_SETEVENTMASK, 0, ENM_SELCHANGE | ENM_CHANGE);
    // One panel, as wide as the bar: the read-out needs more than 80 pixels.
    ClipsStatusBar.setParts({-1});
    ClipsStatusBar.setText(0, "Line   :  Col ");
    // The text given before the page was made, and the caret's read-out
    // for it (the edit's change notice comes before the form knows the page).
    if (!text.empty()) {
        SetWindowTextA(Ctrl, text.c_str());
        UpdateLineCol();
    }
}

void ControlsPage::setText(const std::string& text) { SetWindowTextA(Ctrl, text.c_str()); }

std::vector<std::string> ControlsPage::lines() const {
    std::vector<std::string> out;
    const std::string text = wingui::TextOf(Ctrl);
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

ControlsPage::Caret ControlsPage::caret() const {
    CHARRANGE sel{};
    SendMessageA(Ctrl, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    Caret c;
    c.line = static_cast<long>(SendMessageA(Ctrl, EM_EXLINEFROMCHAR, 0, sel.cpMin));
    c.lineStart = static_cast<long>(SendMessageA(Ctrl, EM_LINEINDEX, static_cast<WPARAM>(c.line), 0));
    c.start = sel.cpMin;
    c.length = sel.cpMax - sel.cpMin;
    return c;
}

void ControlsPage::caretHome() { SendMessageA(Ctrl, EM_SETSEL, 0, 0); }

void ControlsPage::UpdateLineCol() {
    const Caret c = caret();
    ClipsStatusBar.setText(0, taskloom::UpdateLineCol(c.line, c.start, c.lineStart, c.length));
}

bool ControlsPage::command(int id, int code, HWND) {
    if (id != kIdCtrl || code != EN_CHANGE) return false;
    UpdateLineCol();
    return true;
}

}  // namespace loomwright
