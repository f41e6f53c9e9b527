// A console program with a known screen for the console capture tests: it
// writes 20 lines of 40 characters, "rNN:" and then letters that shift by
// one from line to line (column c of line n holds 'a' + (n + c - 1) % 26),
// then takes its title, which tells a waiting test that the screen is
// complete, and waits until it is ended.
//
//   tl_grid.exe "title"
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string screen;
    for (int n = 1; n <= 20; ++n) {
        char line[41];
        std::snprintf(line, sizeof line, "r%02d:", n);
        for (int c = 5; c <= 40; ++c) line[c - 1] = static_cast<char>('a' + (n + c - 1) % 26);
        line[40] = '\0';
        screen += line;
        screen += "\r\n";
    }
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (!WriteConsoleA(out, screen.data(), static_cast<DWORD>(screen.size()), &written, nullptr) ||
        written != screen.size())
        return 1;
    SetConsoleTitleA(argc > 1 ? argv[1] : "tl_grid");
    Sleep(INFINITE);
    return 0;
}
