#include "wingui/error_report.h"

#include <exception>
#include <stdexcept>

namespace wingui {
namespace {
std::string g_title = "Error";
int g_shown = 0;
}  // namespace

void SetReportTitle(const std::string& title) { g_title = title; }
const std::string& ReportTitle() { return g_title; }
int ReportsShown() { return g_shown; }

void ShowErrorReport(HWND owner, const std::string& text) noexcept {
    ++g_shown;
    try {
        MessageBoxA(owner, text.c_str(), g_title.c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        MessageBoxA(owner, "failure while reporting a failure", "Error", MB_OK | MB_ICONERROR);
    }
}

void ReportCurrentException(HWND owner) noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowErrorReport(owner, e.what());
    } catch (...) {
        ShowErrorReport(owner, "unexpected failure");
    }
}

}  // namespace wingui
