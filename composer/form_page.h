// What every page of the composer's page control has: its window (a child
// of the form), the form's font and DPI, and the making of its controls
// from a table of rows, each a class, a text, a style, an identifier and a
// place at 96 DPI.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "wingui/controls.h"
#include "wingui/dpi.h"

namespace loomwright {

class FormPage {
public:
    FormPage(HWND page, HFONT font, int dpi) : page_(page), font_(font), dpi_(dpi) {}
    virtual ~FormPage() = default;
    FormPage(const FormPage&) = delete;
    FormPage& operator=(const FormPage&) = delete;

    HWND window() const { return page_; }
    // A WM_COMMAND of one of the page's controls that the page answers by
    // itself: false when it is not one of those.
    virtual bool command(int /*id*/, int /*code*/, HWND /*control*/) { return false; }

protected:
    // One control of the page; `out`, when given, receives its handle.
    struct ChildSpec {
        const char* cls;
        const char* text;
        DWORD style;
        int id;
        wingui::Rect96 place;
        DWORD exStyle = 0;
        HWND* out = nullptr;
    };
    // Makes the rows' controls, visible, in the rows' order (the tab order).
    void children(std::initializer_list<ChildSpec> specs);
    HWND child(const char* cls, const std::string& text, DWORD style, int id, const wingui::Rect96& place,
               DWORD exStyle = 0);

    HWND page_;
    HFONT font_;
    int dpi_;
};

// A spin field's number as its text shows it, held to the spin's range (and
// shown so); an empty field or no number throws FieldError naming `field`,
// with the field focused.
int SpinValue(const wingui::UpDown& spin, const char* field);

}  // namespace loomwright
