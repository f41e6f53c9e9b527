// loomwright.exe: the composer. Sets the program's title, makes the main
// form (which runs VexaInit and makes the note form) and runs the message
// loop until the form closes. Every failure that reaches the loop is shown
// by the general error report; the program goes on.
#include <windows.h>
#include <commctrl.h>

#include "composer/loomwright.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) { return loomwright::Run(showCommand); }
