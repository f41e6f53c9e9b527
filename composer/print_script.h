// Printing a script: the core's page layout measured and drawn with GDI on a
// printer's device context.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "composer/model/print_layout.h"

namespace loomwright {

// The core's printing device over a device context, measured with the font
// selected into it.
class GdiPrintDevice final : public taskloom::PrintDevice {
public:
    explicit GdiPrintDevice(HDC dc) : dc_(dc) {}
    int textWidth(std::string_view text) const override;
    int pageWidth() const override;
    int pageHeight() const override;
    int lineHeight() const override;

private:
    HDC dc_;
};

// The printed script's font for a device: 10 points of Courier New.
HFONT CreatePrintFont(HDC dc);

// Draws the runs of one page (no StartPage / EndPage).
void DrawPage(HDC dc, const taskloom::PrintedPage& page);

// The laid-out pages of the script on the device, with its font selected and
// a half-inch margin.
std::vector<taskloom::PrintedPage> LayOutFor(HDC dc, const std::vector<std::string>& lines,
                                             const std::string& scriptName);

// One print job of every page on a printer's device context. Throws
// std::runtime_error with the system's reason when the job fails; a failed
// job is aborted.
void PrintScript(HDC dc, const std::vector<std::string>& lines, const std::string& scriptName);

}  // namespace loomwright
