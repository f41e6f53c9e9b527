// Print: the print dialog, then the script's pages as one job.
#include "composer/print_script.h"

#include <commdlg.h>

#include <stdexcept>

#include "composer/vexa_form.h"
#include "wingui/file_dialog.h"
#include "win32/system_library.h"
#include "wingui/handles.h"

namespace loomwright {

namespace {

std::string SystemReason(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    const wingui::ScopedLocal owned(text);
    std::string out = n && text ? std::string(text, n) : "error " + std::to_string(code);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
    return out;
}

[[noreturn]] void PrintFailed(HDC dc, const char* step) {
    const DWORD code = GetLastError();
    AbortDoc(dc);
    throw std::runtime_error(std::string("Printing failed (") + step + "): " + SystemReason(code));
}

// A font selected into a DC for the object's life, and deleted after.
class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font) : dc_(dc), font_(font), old_(SelectObject(dc, font)) {}
    ~SelectedFont() { SelectObject(dc_, old_); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    wingui::ScopedFont font_;
    HGDIOBJ old_;
};

}  // namespace

int GdiPrintDevice::textWidth(std::string_view text) const {
    SIZE size{};
    if (!GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}
int GdiPrintDevice::pageWidth() const { return GetDeviceCaps(dc_, HORZRES); }
int GdiPrintDevice::pageHeight() const { return GetDeviceCaps(dc_, VERTRES); }
int GdiPrintDevice::lineHeight() const {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return tm.tmHeight + tm.tmExternalLeading;
}

HFONT CreatePrintFont(HDC dc) {
    return CreateFontA(-MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                       DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, FIXED_PITCH, "Courier New");
}

void DrawPage(HDC dc, const taskloom::PrintedPage& page) {
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const taskloom::TextRun& run : page.runs)
        TextOutA(dc, run.x, run.y, run.text.data(), static_cast<int>(run.text.size()));
}

std::vector<taskloom::PrintedPage> LayOutFor(HDC dc, const std::vector<std::string>& lines,
                                             const std::string& scriptName) {
    SelectedFont font(dc, CreatePrintFont(dc));
    taskloom::PrintOptions options;
    options.margin = GetDeviceCaps(dc, LOGPIXELSX) / 2;
    return taskloom::LayOutScript(lines, scriptName, GdiPrintDevice(dc), options);
}

void PrintScript(HDC dc, const std::vector<std::string>& lines, const std::string& scriptName) {
    const std::vector<taskloom::PrintedPage> pages = LayOutFor(dc, lines, scriptName);
    SelectedFont font(dc, CreatePrintFont(dc));
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = scriptName.c_str();
    if (StartDocA(dc, &doc) <= 0) PrintFailed(dc, "StartDoc");
    for (const taskloom::PrintedPage& page : pages) {
        if (StartPage(dc) <= 0) PrintFailed(dc, "StartPage");
        DrawPage(dc, page);
        if (EndPage(dc) <= 0) PrintFailed(dc, "EndPage");
    }
    if (EndDoc(dc) <= 0) PrintFailed(dc, "EndDoc");
}

void VexaForm::PrintBtnClick() {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = hwnd();
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    taskloom::SystemLibrary& dialogs = taskloom::CommonDialogsLibrary();
    decltype(PrintDlgA)* printDialog;
    try {
        printDialog = dialogs.function<decltype(PrintDlgA)>("PrintDlgA");
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("Printing failed: ") + e.what());
    }
    if (!printDialog(&pd)) {
        if (const DWORD code = wingui::CommonDialogError(); code != 0)
            throw std::runtime_error("Printing failed: the print dialog reported error " +
                                     std::to_string(code) + " (is a printer installed?)");
        return;  // cancelled
    }
    // What the dialog made is the program's to free.
    const wingui::ScopedDc device(pd.hDC);
    const wingui::ScopedGlobal devMode(pd.hDevMode), devNames(pd.hDevNames);
    if (!pd.hDC) throw std::runtime_error("Printing failed: the printer gave no device context");
    PrintScript(pd.hDC, script_.lines(), ScriptName);
}

}  // namespace loomwright
