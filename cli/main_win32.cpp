// taskloom.exe: the console runner on the real desktop.
#include <windows.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/runner.h"
#include "win32/note_form.h"
#include "win32/win32_desktop.h"
#include "win32/win32_program.h"

namespace {

std::atomic<taskloom::Engine*> g_running{nullptr};
// The note window, once a script has shown one.
std::atomic<const taskloom::NoteForm*> g_note{nullptr};

// Ctrl+C and Ctrl+Break stop the run before its next line instead of killing
// the process in the middle of a key combination.
BOOL WINAPI OnConsoleControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
    if (taskloom::Engine* e = g_running.load()) {
        e->requestStop();
        // A note that holds the run answers Abort, or the stop would wait
        // for a click.
        if (const taskloom::NoteForm* note = g_note.load()) note->postAbort();
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::unique_ptr<taskloom::Desktop> desktop = taskloom::MakeWin32Desktop();
    taskloom::cli::Platform p;
    p.desktop = desktop.get();
    p.programDir = taskloom::ProgramFolder();
    p.out = &std::cout;
    p.err = &std::cerr;
    p.running = &g_running;
    // The runner carries the pad's variants, its note included. The window
    // is made at the first note, so runs without one need no display.
    std::unique_ptr<taskloom::NoteForm> note;
    p.note = [&note](const std::string& title, const std::vector<std::string>& lines, int x, int y) {
        if (!note) {
            note = std::make_unique<taskloom::NoteForm>(taskloom::Flavor::Pad);
            g_note = note.get();
        }
        return note->show(title, lines, x, y);
    };
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const int status = taskloom::cli::Main(args, p);
    g_note = nullptr;
    std::cout.flush();
    std::cerr.flush();
    return status;
}
