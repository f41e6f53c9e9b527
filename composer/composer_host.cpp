#include "composer/composer_host.h"

#include "composer/vexa_form.h"
#include "wingui/error_report.h"

namespace loomwright {

std::size_t ComposerHost::lineCount() { return form_.script().size(); }

std::string ComposerHost::line(std::size_t index) { return form_.script().line(index); }

void ComposerHost::clearLines() { form_.clearLines(); }

std::uint64_t ComposerHost::listGeneration() { return form_.script().generation(); }

void ComposerHost::selectLine(std::size_t index) { form_.selectRunningLine(index); }

void ComposerHost::showMessage(const std::string& text) {
    MessageBoxA(form_.hwnd(), text.c_str(), wingui::ReportTitle().c_str(), MB_OK | MB_ICONWARNING);
}

taskloom::NoteAnswer ComposerHost::showNote(const std::string& title, const std::vector<std::string>& lines,
                                            int x, int y) {
    return form_.note().show(title, lines, x, y);
}

std::string ComposerHost::programDir() { return form_.programDir(); }

taskloom::Wnd ComposerHost::ownWindow() { return reinterpret_cast<taskloom::Wnd>(form_.hwnd()); }

void ComposerHost::textLoaded(const std::vector<std::string>& lines) { form_.showTextFile(lines); }

}  // namespace loomwright
