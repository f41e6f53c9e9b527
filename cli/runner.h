// The console runner's logic, apart from the platform: argument parsing,
// the console host, exit statuses. The Windows program supplies the real
// desktop and the note window; the tests supply simulated ones.
#pragma once

#include <atomic>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "engine/desktop.h"
#include "engine/engine.h"
#include "engine/host.h"

namespace taskloom::cli {

enum ExitStatus : int {
    kExitOk = 0,          // the script ran to its end
    kExitUsage = 1,       // the command line is wrong
    kExitUnreadable = 2,  // the script file cannot be read
    kExitMessage = 3,     // the run ended with "Undefined Label" or "Inactive Window"
    kExitFailure = 4,     // a command failed and the run was abandoned
    kExitStopped = 5,     // the note's Abort or an interrupt stopped the run
};

// Exit statuses of `taskloom check`.
enum CheckStatus : int {
    kCheckClean = 0,       // nothing to report
    kCheckWarnings = 1,    // warnings only
    kCheckErrors = 2,      // at least one error
    kCheckUnreadable = 3,  // a file cannot be read (the others are still checked)
    kCheckUsage = 4,       // the command line is wrong
};

using NoteUi =
    std::function<NoteAnswer(const std::string& title, const std::vector<std::string>& lines, int x, int y)>;

struct Platform {
    Desktop* desktop = nullptr;
    NoteUi note;             // shows the note window; empty: none available
    std::string programDir;  // the runner's folder, with its separator
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    // Set while a run is in progress, so that an interrupt can stop it.
    std::atomic<Engine*>* running = nullptr;
};

// `taskloom ARGS...`: `run`, `check` or `--version`; returns the exit status.
int Main(const std::vector<std::string>& args, Platform& platform);

}  // namespace taskloom::cli
