#include "pad/pad_host.h"

#include "pad/tdeck_form.h"
#include "wingui/error_report.h"

namespace tessdeck {

std::size_t PadHost::lineCount() { return form_.macroBox().size(); }

std::string PadHost::line(std::size_t index) {
    const auto& lines = form_.macroBox();
    return index < lines.size() ? lines[index] : std::string();
}

void PadHost::clearLines() { form_.macroBox().clear(); }

void PadHost::showMessage(const std::string& text) {
    MessageBoxA(form_.hwnd(), text.c_str(), wingui::ReportTitle().c_str(), MB_OK | MB_ICONWARNING);
}

taskloom::NoteAnswer PadHost::showNote(const std::string& title, const std::vector<std::string>& lines, int x,
                                       int y) {
    // After the exit a run still going shows no note: it answers Abort.
    if (form_.exited() || !form_.note()) return taskloom::NoteAnswer::Abort;
    return form_.note()->show(title, lines, x, y);
}

std::string PadHost::programDir() { return form_.programDir(); }

taskloom::Wnd PadHost::ownWindow() { return reinterpret_cast<taskloom::Wnd>(form_.hwnd()); }

void PadHost::textLoaded(const std::vector<std::string>& lines) {
    if (form_.note()) form_.note()->setLines(lines);
}

}  // namespace tessdeck
