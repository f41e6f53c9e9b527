// The program's general error report: every failure that reaches a window
// procedure, a dialog procedure or the message loop ends here and is shown in
// a message box with its text. Nothing is swallowed silently and nothing
// crashes the program.
#pragma once

#include <windows.h>

#include <string>

namespace wingui {

// The caption of the report's message box (the program's title).
void SetReportTitle(const std::string& title);
const std::string& ReportTitle();

// Shows the text in an error box owned by `owner`. Never throws.
void ShowErrorReport(HWND owner, const std::string& text) noexcept;

// Shows the exception that is being handled (call from a catch block).
void ReportCurrentException(HWND owner) noexcept;

// Runs `f`; an exception from it is reported and swallowed there, so the
// caller (a window procedure) goes on. Answers whether `f` returned normally.
template <class F>
bool Guarded(HWND owner, F&& f) noexcept {
    try {
        f();
        return true;
    } catch (...) {
        ReportCurrentException(owner);
        return false;
    }
}

// How many reports have been shown (tests read it).
int ReportsShown();

}  // namespace wingui
