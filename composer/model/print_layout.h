// The printed form of a script: its lines laid out on pages of a printing
// device. The layout is decided here against a device that can only measure;
// the Win32 side measures with the printer's device context and draws the
// runs with GDI, one page between StartPage and EndPage.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taskloom {

// A device to lay text out for, in its own units. Implemented by the Win32
// printer (GetTextExtentPoint32A, GetDeviceCaps) and by the tests' fakes.
class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    // Width of the text drawn on one line; not assumed to be the sum of the
    // widths of its characters.
    virtual int textWidth(std::string_view text) const = 0;
    virtual int pageWidth() const = 0;   // the printable width
    virtual int pageHeight() const = 0;  // the printable height
    virtual int lineHeight() const = 0;  // the distance from one line to the next
};

// A piece of text drawn with its top left corner at x, y.
struct TextRun {
    int x = 0;
    int y = 0;
    std::string text;
    bool continues = false;  // goes on with the script line of the run above it
};

struct PrintedPage {
    int number = 0;             // from 1
    std::vector<TextRun> runs;  // the heading first, then the script's lines top down
};

struct PrintOptions {
    int margin = 0;  // kept free on every side of the printable area
};

// Lays the script out. Every page begins with a heading: the script's name
// at the left and "Page n of m" at the right, then one free line. The lines
// follow in list order, one printed line each; a line wider than the page
// goes on over as many printed lines as it needs, broken after its last blank
// that fits or, when none does, after as many characters as fit, and its
// continuations are indented. Joined, the pieces of a line give the line
// back. A page ends where its next line would not fit whole; a page takes at
// least one line however small, so the layout always ends. An empty script
// prints one page with its heading.
std::vector<PrintedPage> LayOutScript(const std::vector<std::string>& lines, std::string_view scriptName,
                                      const PrintDevice& device, const PrintOptions& options = {});

}  // namespace taskloom
