// An in-memory host for the engine's tests: the script list is a vector,
// messages and notes are recorded, the note answers as the test says.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/host.h"

namespace taskloom::sim {

struct ShownNote {
    std::string title;
    std::vector<std::string> lines;
    int x, y;
};

class MemoryHost : public Host {
public:
    explicit MemoryHost(Flavor f = Flavor::Pad, std::vector<std::string> lines = {})
        : flavor_(f), lines(std::move(lines)) {}

    Flavor flavor() const override { return flavor_; }
    std::size_t lineCount() override { return lines.size(); }
    std::string line(std::size_t i) override { return lines.at(i); }
    void clearLines() override { lines.clear(); }
    // Tests edit `lines` directly, so the host compares the list with the one
    // it last reported instead of counting edits.
    std::uint64_t listGeneration() override {
        if (lines != reported_) {
            reported_ = lines;
            ++generation_;
        }
        return generation_;
    }
    void selectLine(std::size_t i) override { selected.push_back(i); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    NoteAnswer showNote(const std::string& title, const std::vector<std::string>& noteLines, int x,
                        int y) override {
        notes.push_back({title, noteLines, x, y});
        return noteAnswer ? noteAnswer() : NoteAnswer::Continue;
    }
    std::string programDir() override { return dir; }
    Wnd ownWindow() override { return own; }
    void textLoaded(const std::vector<std::string>& l) override { loaded = l; }

    Flavor flavor_;
    std::vector<std::string> lines;
    std::vector<std::size_t> selected;
    std::vector<std::string> messages;
    std::vector<ShownNote> notes;
    std::function<NoteAnswer()> noteAnswer;
    std::vector<std::string> loaded;
    std::string dir = "/nonexistent-program-dir/";
    Wnd own = 0;

private:
    std::vector<std::string> reported_;
    std::uint64_t generation_ = 0;
};

}  // namespace taskloom::sim
