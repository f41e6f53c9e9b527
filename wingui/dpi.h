// Sizes are given in pixels at 96 DPI and scaled by the window's DPI.
#pragma once

#include <windows.h>

namespace wingui {

// The DPI of the window (of the screen for null): GetDpiForWindow where the
// system has it, else the screen's logical pixels per inch.
int DpiOf(HWND w);

// Pixels at 96 DPI scaled to `dpi`, rounded.
constexpr int Scale(int px, int dpi) { return (px * dpi + (px >= 0 ? 48 : -48)) / 96; }

struct Rect96 {
    int left, top, width, height;
};

// Moves a window to a place given at 96 DPI.
void Place(HWND w, const Rect96& r, int dpi);

}  // namespace wingui
