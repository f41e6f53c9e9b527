// The Popup page (the note block's text, title and place, the remark flag)
// and the Clips page (the clips buffer).
#include "composer/control_ids.h"
#include "composer/pages.h"

namespace loomwright {
namespace {

// A memo's lines as the user sees them: a final line break starts no line.
std::vector<std::string> MemoLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    for (std::size_t cr; (cr = text.find("\r\n", start)) != std::string::npos; start = cr + 2)
        lines.push_back(text.substr(start, cr - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}

}  // namespace

PopupPage::PopupPage(HWND page, HFONT font, int dpi) : FormPage(page, font, dpi) {
    const DWORD tab = WS_TABSTOP;
    const taskloom::PopupPage start;  // the page's start values
    children(
        {{"EDIT",
          "",
          tab | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
          kIdPopMemo,
          {6, 6, 298, 208},
          WS_EX_CLIENTEDGE,
          &PopMemo},
         {"STATIC", "Title:", 0, kIdPopTitleLabel, {314, 6, 170, 16}},
         {"EDIT",
          start.title.c_str(),
          tab | ES_AUTOHSCROLL,
          kIdPopTitle,
          {314, 22, 170, 24},
          WS_EX_CLIENTEDGE,
          &PopTitle},
         {"STATIC", "Horizontal position:", 0, kIdPopBarHLabel, {314, 52, 170, 16}},
         {TRACKBAR_CLASSA, "", tab | TBS_AUTOTICKS | TBS_HORZ, kIdPopBarH, {310, 68, 178, 28}, 0, &PopBarH.h},
         {"STATIC", "Vertical position:", 0, kIdPopBarVLabel, {314, 100, 170, 16}},
         {TRACKBAR_CLASSA,
          "",
          tab | TBS_AUTOTICKS | TBS_HORZ,
          kIdPopBarV,
          {310, 116, 178, 28},
          0,
          &PopBarV.h},
         {"BUTTON",
          "&Script remark only",
          tab | BS_AUTOCHECKBOX,
          kIdRemarkBox,
          {314, 152, 170, 20},
          0,
          &RemarkBox.h},
         {"BUTTON", "Test &Popup", tab | BS_PUSHBUTTON, kIdPopTestBtn, {314, 182, 110, 25}}});
    SendMessageA(PopMemo, EM_SETLIMITTEXT, 2048, 0);
    for (wingui::TrackBar* bar : {&PopBarH, &PopBarV})
        bar->setRange(taskloom::kPopBarMin, taskloom::kPopBarMax);
    PopBarH.setPos(start.barH);
    PopBarV.setPos(start.barV);
}

taskloom::PopupPage PopupPage::read() const {
    taskloom::PopupPage page;
    page.barH = PopBarH.pos();
    page.barV = PopBarV.pos();
    page.title = wingui::TextOf(PopTitle);
    page.memo = MemoLines(wingui::TextOf(PopMemo));
    page.remarkOnly = RemarkBox.checked();
    return page;
}

void PopupPage::write(const taskloom::PopupPage& page) {
    PopBarH.setPos(page.barH);
    PopBarV.setPos(page.barV);
    if (wingui::TextOf(PopTitle) != page.title) wingui::SetText(PopTitle, page.title);
    const std::string memo = JoinLines(page.memo);
    if (MemoLines(wingui::TextOf(PopMemo)) != page.memo) wingui::SetText(PopMemo, memo);
    RemarkBox.setChecked(page.remarkOnly);
}

ClipsPage::ClipsPage(HWND page, HFONT font, int dpi) : FormPage(page, font, dpi) {
    children({{"EDIT",
               "",
               WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY,
               kIdClipsMemo,
               {6, 6, 478, 178},
               WS_EX_CLIENTEDGE,
               &ClipsMemo},
              {"BUTTON", "&Clear", WS_TABSTOP | BS_PUSHBUTTON, kIdClearClipsBtn, {6, 190, 80, 25}}});
}

void ClipsPage::show(const std::string& text) {
    if (wingui::TextOf(ClipsMemo) != text) wingui::SetText(ClipsMemo, text);
}

}  // namespace loomwright
