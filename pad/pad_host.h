// The pad's Host: its engine runs the lines of the hidden MacroBox. A
// run-ending message and the note's Abort empty the list (the pad's flavour);
// the note is the pad's variant; a loaded text file goes to the note's memo.
#pragma once

#include "engine/host.h"

namespace tessdeck {

class TDeckForm;

class PadHost final : public taskloom::Host {
public:
    explicit PadHost(TDeckForm& form) : form_(form) {}

    taskloom::Flavor flavor() const override { return taskloom::Flavor::Pad; }
    std::size_t lineCount() override;
    std::string line(std::size_t index) override;
    void clearLines() override;
    void showMessage(const std::string& text) override;
    taskloom::NoteAnswer showNote(const std::string& title, const std::vector<std::string>& lines, int x,
                                  int y) override;
    std::string programDir() override;
    taskloom::Wnd ownWindow() override;
    void textLoaded(const std::vector<std::string>& lines) override;

private:
    TDeckForm& form_;
};

}  // namespace tessdeck
