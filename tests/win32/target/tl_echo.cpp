// tl_echo: tells the Wine tests how it was started, then ends.
//
//   tl_echo.exe [ARG...]
//
// Writes, one per line, "cwd: " and the current folder, then "arg: " and
// each argument, then "end", into the file named by the environment variable
// TL_ECHO_OUT (tl_echo.txt in the current folder when it is not set). The
// text goes to a file beside it first and is then moved into place, so a
// reader sees all of it or nothing.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string text;
    char folder[MAX_PATH + 1] = {};
    const DWORD got = GetCurrentDirectoryA(sizeof folder, folder);
    text += "cwd: " + std::string(folder, got < sizeof folder ? got : 0) + "\n";
    for (int i = 1; i < argc; ++i) text += "arg: " + std::string(argv[i]) + "\n";
    text += "end\n";

    char out[MAX_PATH + 1] = {};
    const DWORD n = GetEnvironmentVariableA("TL_ECHO_OUT", out, sizeof out);
    const std::string name = (n > 0 && n < sizeof out) ? std::string(out, n) : std::string("tl_echo.txt");
    const std::string partial = name + ".partial";
    FILE* f = std::fopen(partial.c_str(), "wb");
    if (!f) return 1;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !written) return 1;
    return MoveFileExA(partial.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
