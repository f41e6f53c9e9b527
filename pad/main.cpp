// tessdeck.exe: the launcher pad. Its arguments: a pad file, a script file
// (run, then exit), or /uninstall.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pad/tessdeck.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
    return tessdeck::Run(args);
}
