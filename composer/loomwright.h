// The composer as a program, for its own main and for the tests that host
// the form in their process.
#pragma once

#include <string>

namespace loomwright {

// Registers the common controls the form uses and names the error report
// "Taskloom". Called by Run; tests that make a VexaForm call it first.
void InitProgram();

// The whole program: the form shown with `showCommand`, the message loop
// until it closes. Answers the exit status.
int Run(int showCommand);

}  // namespace loomwright
