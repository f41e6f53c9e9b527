// The Popup page (the note block's text, title and place, Test Popup) and
// the Clips page (the clips buffer, Clear).
#include "composer/vexa_form.h"

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

taskloom::PopupPage VexaForm::readPopup() const {
    taskloom::PopupPage page;
    if (!PopMemo) return page;  // not made yet: its start values
    page.barH = PopBarH.pos();
    page.barV = PopBarV.pos();
    page.title = wingui::TextOf(PopTitle);
    page.memo = MemoLines(wingui::TextOf(PopMemo));
    page.remarkOnly = RemarkBox.checked();
    return page;
}

void VexaForm::writePopup(const taskloom::PopupPage& page) {
    ensurePage(kPopPage);
    PopBarH.setPos(page.barH);
    PopBarV.setPos(page.barV);
    if (wingui::TextOf(PopTitle) != page.title) wingui::SetText(PopTitle, page.title);
    const std::string memo = JoinLines(page.memo);
    if (MemoLines(wingui::TextOf(PopMemo)) != page.memo) wingui::SetText(PopMemo, memo);
    RemarkBox.setChecked(page.remarkOnly);
}

void VexaForm::PopTestClick() {
    const taskloom::NotePreview preview = taskloom::PopTestClick(readPopup());
    if (note_->show(preview.title, preview.lines, preview.x, preview.y) == taskloom::NoteAnswer::Abort)
        engine_->requestStop();
}

void VexaForm::ShowClips() {
    if (!ClipsMemo) return;  // the page shows the buffer when it is made
    const std::string text = engine_->clips().text();
    if (wingui::TextOf(ClipsMemo) != text) wingui::SetText(ClipsMemo, text);
}

void VexaForm::ClearClipsClick() {
    engine_->clips().clear();
    ShowClips();
}

}  // namespace loomwright
