// The pad as a program, for its own main and for the tests that host the
// form in their process.
#pragma once

#include <string>
#include <vector>

namespace tessdeck {

// Registers the common controls the form uses and names the error report
// "Tessdeck". Called by Run; tests that make a TDeckForm call it first.
void InitProgram();

// The whole program: the pad made from the arguments, the message loop
// until it exits. Answers the exit status.
int Run(const std::vector<std::string>& args);

}  // namespace tessdeck
