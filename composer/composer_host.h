// The composer's Host: its engine runs the script list in the window. Every
// line it runs is selected through MacroBoxClick, so a note header's place,
// title and text reach the Popup page before the note shows; the note's
// Abort is a stop request; a loaded text file goes to the Controls page.
#pragma once

#include "engine/host.h"

namespace loomwright {

class VexaForm;

class ComposerHost final : public taskloom::Host {
public:
    explicit ComposerHost(VexaForm& form) : form_(form) {}

    taskloom::Flavor flavor() const override { return taskloom::Flavor::Composer; }
    std::size_t lineCount() override;
    std::string line(std::size_t index) override;
    void clearLines() override;
    std::uint64_t listGeneration() override;
    void selectLine(std::size_t index) override;
    void showMessage(const std::string& text) override;
    taskloom::NoteAnswer showNote(const std::string& title, const std::vector<std::string>& lines, int x,
                                  int y) override;
    std::string programDir() override;
    taskloom::Wnd ownWindow() override;
    void textLoaded(const std::vector<std::string>& lines) override;

private:
    VexaForm& form_;
};

}  // namespace loomwright
