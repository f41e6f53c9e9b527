// What the engine asks of the program that runs it (the composer, the pad,
// the console runner, or a test). The programs differ in small, named ways:
// each difference is a method here or the flavour flag.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/desktop.h"

namespace taskloom {

// Which program's variant of the engine's rules applies:
//  Composer: run-ending messages keep the list; the note's Abort is a stop
//            request; program start splits at the first blank; the clips
//            delimiter goes between items; the clipboard capture keeps the
//            first line.
//  Pad:      run-ending messages and the note's Abort empty the list;
//            program start goes through ExecProgram; the delimiter follows
//            each item; the clipboard capture keeps all of it.
enum class Flavor { Composer, Pad };

enum class NoteAnswer { Continue, Abort };

class Host {
public:
    virtual ~Host() = default;

    virtual Flavor flavor() const = 0;

    // The script list, read afresh at every step of a run.
    virtual std::size_t lineCount() = 0;
    virtual std::string line(std::size_t index) = 0;
    virtual void clearLines() = 0;
    // A number that changes whenever the script list changes (a line added,
    // removed, edited or moved); equal answers promise an unchanged list.
    // The engine keeps an index of the label lines while the number stays
    // the same. The default answers a new number at every call, so nothing
    // is kept and every jump searches the list from the top.
    virtual std::uint64_t listGeneration() {
        static std::atomic<std::uint64_t> next{0};
        return ++next;
    }
    // Shows which line runs (the composer also fills its pages from it).
    virtual void selectLine(std::size_t /*index*/) {}

    // A message that ends the run ("Undefined Label: ...", "Inactive
    // Window: ..."), shown with one OK button.
    virtual void showMessage(const std::string& text) = 0;

    // Shows the note topmost at (x, y) and returns when it is closed.
    virtual NoteAnswer showNote(const std::string& title, const std::vector<std::string>& lines, int x,
                                int y) = 0;

    // The program's folder, with its trailing separator.
    virtual std::string programDir() = 0;
    // The program's own window (owner of the pad's program starts); 0: none.
    virtual Wnd ownWindow() { return 0; }
    // A text file was loaded (the composer shows it on its controls page).
    virtual void textLoaded(const std::vector<std::string>& /*lines*/) {}
};

}  // namespace taskloom
