// The start-up trace: with the environment variable TASKLOOM_STARTUP_TRACE
// set, each program writes one line per start-up step with the time since
// its process was created, the time the step took and the process's
// private bytes after it:
//
//   loomwright     41.2 ms   +12.7 ms    3.10 MB  window class and form
//
// "1" writes the lines to the standard error output; any other value (but
// "0" or empty) is a file name, appended to. Unset, a step costs one test
// of a flag that the first step read.
#pragma once

namespace wingui {

// `program` names the lines' writer; the first call (or a call after the
// variable was read) decides whether tracing is on.
void StartupTraceBegin(const char* program);

// The step that has just ended: its name and the time since the previous
// step (the first: since the process was created).
void StartupStep(const char* step);

// Whether the trace is on (for callers that would build a name first).
bool StartupTraceOn();

}  // namespace wingui
