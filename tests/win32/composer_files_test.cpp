// Loomwright's Commands page, script files, Load Text, Paste script, Check and
// printing on the real form, hosted on a thread of this process. Commands
// that open a modal dialog are posted; the test then finds the dialog among
// the form thread's windows and answers it as a user does.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <exception>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "composer/control_ids.h"
#include "composer/loomwright.h"
#include "composer/print_script.h"
#include "composer/vexa_form.h"
#include "tests/win32/composer_thread.h"
#include "composer/model/script_files.h"
#include "win32/win32_desktop.h"
#include "resources/loomwright_ids.h"
#include "tests/win32/helpers.h"

namespace loomwright {
namespace {

using taskloom::wintest::ControlText;
using taskloom::wintest::ReadWholeFile;
using taskloom::wintest::TreeItemText;
using taskloom::wintest::WaitUntil;

// The composer on its own thread, with the helpers these tests drive it by.
// The first visible dialog whose caption is (or, with `other`, is not) the
// one searched for; a named function, as the 32-bit calling convention asks.
struct DialogSearch {
    const std::string* caption;
    bool other;
    HWND* found;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<DialogSearch*>(lp);
    char cls[64] = {}, text[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    if (IsWindowVisible(w) && std::string(cls) == "#32770" && ((*s->caption == text) != s->other)) {
        *s->found = w;
        return FALSE;
    }
    return TRUE;
}

class Composer : public ComposerThread {
public:
    Composer() : ComposerThread(taskloom::wintest::ExeDir()) {
        threadId_ = GetWindowThreadProcessId(form(), nullptr);
    }

    HWND page(int i) const { return GetDlgItem(form(), kIdPageFirst + i); }
    // A page's controls are made when first needed: asking for one is a need.
    HWND control(int pageIndex, int id) {
        call([&] { object().ensurePage(pageIndex); });
        return GetDlgItem(page(pageIndex), id);
    }
    HWND macroBox() const { return GetDlgItem(form(), kIdMacroBox); }
    HWND tree() { return control(kCommandPage, kIdCommandTree); }

    // Posted, so that a dialog it opens does not hold the test.
    void post(int menuId) { PostMessageA(form(), WM_COMMAND, MAKEWPARAM(menuId, 0), 0); }
    void postAdd() {
        const HWND add = GetDlgItem(form(), kIdAddBtn);
        PostMessageA(form(), WM_COMMAND, MAKEWPARAM(kIdAddBtn, BN_CLICKED), reinterpret_cast<LPARAM>(add));
    }
    void showPage(int i) { SendMessageA(form(), WM_COMMAND, MAKEWPARAM(IDM_PAGE_FIRST + i, 0), 0); }
    bool menuEnabled(int id) const {
        return !(GetMenuState(GetMenu(form()), static_cast<UINT>(id), MF_BYCOMMAND) &
                 (MF_GRAYED | MF_DISABLED));
    }
    // The focus once the form's thread has finished its current handler: a
    // message box's window is gone before the handler behind it has moved
    // the focus.
    HWND focus() {
        call([] {});
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(threadId_, &info);
        return info.hwndFocus;
    }

    // Read on the form's thread, so that the list cannot change in the middle.
    std::vector<std::string> lines() {
        std::vector<std::string> out;
        call([&] { readLines(out); });
        return out;
    }
    void readLines(std::vector<std::string>& out) const {
        const int n = static_cast<int>(SendMessageA(macroBox(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            std::string s(static_cast<size_t>(SendMessageA(macroBox(), LB_GETTEXTLEN, i, 0)) + 1, '\0');
            s.resize(static_cast<size_t>(
                SendMessageA(macroBox(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()))));
            out.push_back(s);
        }
    }

    // The first visible dialog of the form's thread whose caption is (or,
    // with `other`, is not) `caption`.
    HWND waitDialog(const std::string& caption, bool other = false) {
        HWND found = nullptr;
        DialogSearch search{&caption, other, &found};
        WaitUntil(
            [&] {
                EnumThreadWindows(threadId_, FindDialog, reinterpret_cast<LPARAM>(&search));
                return found != nullptr;
            },
            15000);
        return found;
    }
    // A message box of the form: its text, and the answer given.
    std::string answerBox(int answer) {
        const HWND box = waitDialog("Taskloom");
        if (!box) return "<no message box>";
        const std::string text = ControlText(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        WaitUntil([&] { return !IsWindow(box); }, 10000);
        return text;
    }
    // A file dialog: its proposed name, then `name` chosen (empty: Cancel).
    std::string answerFileDialog(const std::string& name) {
        const HWND dlg = waitDialog("Taskloom", true);
        if (!dlg) return "<no file dialog>";
        HWND edit = GetDlgItem(dlg, 0x47c);  // the file name combo box
        if (edit) {
            if (HWND inner = FindWindowExA(edit, nullptr, "Edit", nullptr)) edit = inner;
        } else {
            edit = GetDlgItem(dlg, 0x480);
        }
        const std::string proposed = ControlText(edit);
        if (name.empty()) {
            PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        } else {
            SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
            PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        WaitUntil([&] { return !IsWindow(dlg); }, 10000);
        return proposed;
    }

    // Selects the tree item at the end of `path` (texts below the root).
    HTREEITEM selectCommand(const std::vector<std::string>& path) {
        showPage(kCommandPage);
        HTREEITEM item = TreeView_GetRoot(tree());
        for (const std::string& text : path) {
            TreeView_Expand(tree(), item, TVE_EXPAND);
            HTREEITEM child = TreeView_GetChild(tree(), item);
            for (; child; child = TreeView_GetNextSibling(tree(), child)) {
                if (TreeItemText(tree(), child) == text) break;
            }
            if (!child) return nullptr;
            item = child;
        }
        TreeView_SelectItem(tree(), item);
        return item;
    }
    void fields(const std::string& name, int count, const std::string& value) {
        SetWindowTextA(control(kCommandPage, kIdPgmName), name.c_str());
        SendMessageA(control(kCommandPage, kIdPause), UDM_SETPOS32, 0, count);
        SetWindowTextA(control(kCommandPage, kIdComValue), value.c_str());
    }
    // Adds the command at `path` with Add and waits for its line.
    std::string addCommand(const std::vector<std::string>& path) {
        const size_t before = lines().size();
        if (!selectCommand(path)) return "<no item>";
        postAdd();
        if (!WaitUntil([&] { return lines().size() > before; }, 10000)) return "<nothing added>";
        const int sel = static_cast<int>(SendMessageA(macroBox(), LB_GETCURSEL, 0, 0));
        return sel < 0 ? "<no selection>" : lines()[static_cast<size_t>(sel)];
    }

private:
    DWORD threadId_ = 0;
};

std::string TempPath(const std::string& name) {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + name;
    DeleteFileA(path.c_str());
    return path;
}

TEST(ComposerFiles, ScriptFromSeveralPagesRoundTripsThroughTheRealDialogs) {
    const std::string first = TempPath("lw_first"), second = TempPath("lw_second.tks");
    DeleteFileA((first + ".tks").c_str());
    Composer c;
    // The Keys page, then commands of the Commands page.
    c.showPage(kKeysPage);
    SetWindowTextA(c.control(kKeysPage, kIdAutoText), "hello");
    c.postAdd();
    ASSERT_TRUE(WaitUntil([&] { return c.lines().size() == 1; }, 10000));
    c.fields("  Start ", 3, "");
    EXPECT_EQ(c.addCommand({" Label <Name>", "Define "}), "{.Start}");
    EXPECT_EQ(c.addCommand({" Loop to <Name> UNTIL", "Times <Count>"}), "{:LoopTimes Start 3}");
    c.fields("notepad", 7, "  a b ");
    EXPECT_EQ(c.addCommand({"Run <Name> <Parameter>"}), "{:Run notepad a b}");
    EXPECT_EQ(c.addCommand({" Pause <Count>", "1/10 of second"}), "{:Pause1/10 7}");
    EXPECT_EQ(c.addCommand({" Clips ", " Delimiter ", "Other <Value>"}), "{:ClipsDelimiterOther   a b }");
    // A double-click on a leaf adds it as well.
    HTREEITEM leaf = c.selectCommand({" Clips ", "Clear all"});
    ASSERT_NE(leaf, nullptr);
    RECT r{};
    TreeView_GetItemRect(c.tree(), leaf, &r, TRUE);
    PostMessageA(c.tree(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2));
    ASSERT_TRUE(WaitUntil([&] { return c.lines().size() == 7; }, 10000));
    const std::vector<std::string> built = c.lines();
    EXPECT_EQ(built.back(), "{:ClipsClear}");
    EXPECT_TRUE(c.menuEnabled(IDM_SAVE));

    // Save on a new script offers "New"; the name typed without ".tks" gets it.
    c.post(IDM_SAVE);
    EXPECT_EQ(c.answerFileDialog(first), "New");
    ASSERT_TRUE(WaitUntil([&] { return !ReadWholeFile(first + ".tks").empty(); }, 10000));
    EXPECT_EQ(ControlText(c.form()), "Taskloom - " + first + ".tks");
    EXPECT_FALSE(c.menuEnabled(IDM_SAVE));
    EXPECT_FALSE(c.menuEnabled(IDM_SAVEAS));

    // New asks nothing now; Open brings the lines back.
    c.post(IDM_NEW);
    ASSERT_TRUE(WaitUntil([&] { return c.lines().empty(); }, 10000));
    EXPECT_EQ(ControlText(c.form()), "Taskloom - New");
    c.post(IDM_OPEN);
    c.answerFileDialog(first + ".tks");
    ASSERT_TRUE(WaitUntil([&] { return c.lines() == built; }, 10000));
    WaitUntil([&] { return ControlText(c.form()) == "Taskloom - " + first + ".tks"; }, 10000);
    EXPECT_EQ(ControlText(c.form()), "Taskloom - " + first + ".tks");

    // Save As proposes the name without ".tks"; both files hold the same bytes.
    c.fields("", 1, "");
    c.showPage(kKeysPage);
    c.postAdd();  // an empty line, then deleted: the script is modified, unchanged
    ASSERT_TRUE(WaitUntil([&] { return c.lines().size() == built.size() + 1; }, 10000));
    SendMessageA(c.form(), WM_COMMAND, MAKEWPARAM(kIdDelBtn, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(c.form(), kIdDelBtn)));
    ASSERT_EQ(c.lines(), built);
    c.post(IDM_SAVEAS);
    // The dialog shows the proposed name in its folder, without ".tks".
    EXPECT_EQ(c.answerFileDialog(second), "lw_first");
    ASSERT_TRUE(WaitUntil([&] { return !ReadWholeFile(second).empty(); }, 10000));
    EXPECT_EQ(ReadWholeFile(second), ReadWholeFile(first + ".tks"));
    EXPECT_EQ(ControlText(c.form()), "Taskloom - " + second);
}

TEST(ComposerFiles, NewOpenAndTheCloseBoxAskBeforeUnsavedWorkIsDropped) {
    Composer c;
    c.showPage(kKeysPage);
    SetWindowTextA(c.control(kKeysPage, kIdAutoText), "keep me");
    c.postAdd();
    ASSERT_TRUE(WaitUntil([&] { return c.lines().size() == 1; }, 10000));

    c.post(IDM_NEW);
    EXPECT_EQ(c.answerBox(IDCANCEL), "Save current script?");
    EXPECT_EQ(c.lines(), std::vector<std::string>{"keep me"});

    PostMessageA(c.form(), WM_CLOSE, 0, 0);
    EXPECT_EQ(c.answerBox(IDCANCEL), "Save current script?");
    EXPECT_TRUE(IsWindow(c.form()));

    // Yes with a cancelled Save dialog keeps the work too.
    c.post(IDM_OPEN);
    EXPECT_EQ(c.answerBox(IDYES), "Save current script?");
    EXPECT_EQ(c.answerFileDialog(""), "New");
    EXPECT_EQ(c.lines(), std::vector<std::string>{"keep me"});
    EXPECT_TRUE(c.menuEnabled(IDM_SAVE));

    // An unreadable file is reported; the script and its name stay.
    c.post(IDM_OPEN);
    EXPECT_EQ(c.answerBox(IDNO), "Save current script?");
    c.answerFileDialog("");  // Open cancelled
    EXPECT_EQ(c.lines(), std::vector<std::string>{"keep me"});

    c.post(IDM_NEW);
    EXPECT_EQ(c.answerBox(IDNO), "Save current script?");
    ASSERT_TRUE(WaitUntil([&] { return c.lines().empty(); }, 10000));
    EXPECT_FALSE(c.menuEnabled(IDM_SAVE));
}

TEST(ComposerFiles, CountOrLineTypedOutsideItsRangeIsHeldToIt) {
    Composer c;
    // Typed, not set through the spin: the spin keeps its last position.
    SetWindowTextA(c.control(kCommandPage, kIdPauseEdit), "1500");
    EXPECT_EQ(c.addCommand({" Pause <Count>", "Seconds "}), "{:PauseSeconds 999}");
    EXPECT_EQ(ControlText(c.control(kCommandPage, kIdPauseEdit)), "999");
    SetWindowTextA(c.control(kCommandPage, kIdPauseEdit), "");
    c.selectCommand({" Pause <Count>", "Seconds "});
    c.postAdd();
    EXPECT_NE(c.answerBox(IDOK).find("\"<Count / Line>\" is empty"), std::string::npos);
    EXPECT_EQ(c.lines().size(), 1u);
}

TEST(ComposerFiles, RefusedCommandsSayWhyAndSendTheUserToTheField) {
    Composer c;
    c.fields("Nowhere", 1, " ");
    c.selectCommand({" Label <Name>", "Goto "});
    c.postAdd();
    EXPECT_EQ(c.answerBox(IDOK), "Invalid Label\nNowhere");
    EXPECT_EQ(c.focus(), c.control(kCommandPage, kIdPgmName));

    c.selectCommand({" Clips ", " Delimiter ", "Other <Value>"});
    c.postAdd();
    EXPECT_EQ(c.answerBox(IDOK), "Undefined <Value>");
    EXPECT_EQ(c.focus(), c.control(kCommandPage, kIdComValue));

    c.fields(" ", 1, "");
    c.selectCommand({"Load text file <Name>"});
    c.postAdd();
    EXPECT_EQ(c.answerBox(IDOK), "Undefined <Name>");

    // A loop needs its label; a menu loop a menu item, shown on the Menus page.
    c.fields("top", 1, "");
    EXPECT_EQ(c.addCommand({" Label <Name>", "Define "}), "{.top}");
    c.fields("TOP", 1, "");
    c.selectCommand({" Loop to <Name> UNTIL", " Menu item <selected>", "Enabled "});
    c.postAdd();
    EXPECT_EQ(c.answerBox(IDOK), "Please select a Menu item");
    EXPECT_EQ(TabCtrl_GetCurSel(GetDlgItem(c.form(), kIdPageControl)), kMenusPage);

    // A group item adds nothing and says nothing.
    c.selectCommand({" Mouse "});
    SendMessageA(c.form(), WM_COMMAND, MAKEWPARAM(kIdAddBtn, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(c.form(), kIdAddBtn)));
    EXPECT_EQ(c.lines(), std::vector<std::string>{"{.top}"});
}

TEST(ComposerFiles, LoadTextPasteScriptAndCheck) {
    const std::string text = TempPath("lw_text.txt"), clips = TempPath("lw_clips.txt");
    std::ofstream(text) << "alpha\r\nbeta\r\n";
    std::ofstream(clips) << "\"{:PauseSeconds 0}\",\"{:Goto nowhere}\"";
    Composer c;
    c.post(IDM_LOADTEXT);
    c.answerFileDialog(text);
    const HWND ctrl = c.control(kCtrlPage, kIdCtrl);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(ctrl).find("beta") != std::string::npos; }, 10000));
    EXPECT_EQ(ControlText(ctrl).substr(0, 5), "alpha");
    EXPECT_TRUE(c.lines().empty());
    WaitUntil([&] { return TabCtrl_GetCurSel(GetDlgItem(c.form(), kIdPageControl)) == kCtrlPage; }, 10000);
    EXPECT_EQ(TabCtrl_GetCurSel(GetDlgItem(c.form(), kIdPageControl)), kCtrlPage);

    // A Test run fills the clips buffer; Paste script appends its lines.
    c.fields(clips, 1, "");
    EXPECT_EQ(c.addCommand({" Clips ", "Load <Name>"}), "{:ClipsLoad " + clips + "}");
    SendMessageA(c.form(), WM_COMMAND, MAKEWPARAM(IDM_TEST, 0), 0);
    c.post(IDM_PASTESCRIPT);
    EXPECT_EQ(c.answerBox(IDYES), taskloom::PasteQuestion());
    ASSERT_TRUE(WaitUntil([&] { return c.lines().size() == 3; }, 10000));
    EXPECT_EQ(c.lines()[1], "{:PauseSeconds 0}");
    EXPECT_EQ(c.lines()[2], "{:Goto nowhere}");
    EXPECT_TRUE(c.menuEnabled(IDM_SAVE));

    // Check lists the jump to an undefined label; choosing it selects line 3.
    c.post(IDM_CHECK);
    const HWND box = c.waitDialog("Check");
    ASSERT_NE(box, nullptr);
    const HWND list = GetDlgItem(box, IDC_CHECK_LIST);
    int row = -1;
    const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char buf[512] = {};
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < 500)
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
        if (std::string(buf).rfind("Line 3:", 0) == 0) row = i;
    }
    ASSERT_GE(row, 0);
    SendMessageA(list, LB_SETCURSEL, row, 0);
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_CHECK_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(SendMessageA(c.macroBox(), LB_GETCURSEL, 0, 0), 2);
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
}

// A printer of Wine's PostScript driver whose port is a file: a job printed
// on it lands in that file as PostScript, through the spooler as on any
// printer. Its driver, under a name of its own, reads a small printer
// description written here (A4, 300 dpi). The printer is removed again at
// the end.
class FilePrinter {
public:
    FilePrinter(const std::string& name, const std::string& output) : name_(name) {
        char dir[MAX_PATH] = {};
        DWORD size = 0;
        if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir,
                                        &size)) {
            fail("GetPrinterDriverDirectory");
            return;
        }
        const std::string version = std::string(dir) + "\\3";
        CreateDirectoryA(version.c_str(), nullptr);
        std::ofstream description(version + "\\taskloom_file.ppd", std::ios::binary);
        if (!(description << kDescription).flush()) {
            fail("writing the printer description");
            return;
        }
        DRIVER_INFO_3A driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<char*>(kDriver);
        driver.pDriverPath = const_cast<char*>("wineps.drv");
        driver.pConfigFile = const_cast<char*>("wineps.drv");
        driver.pDataFile = const_cast<char*>("taskloom_file.ppd");
        if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES)) {
            fail("AddPrinterDriverEx");
            return;
        }
        PRINTER_INFO_2A info{};
        info.pPrinterName = name_.data();
        info.pPortName = const_cast<char*>(output.c_str());
        info.pDriverName = const_cast<char*>(kDriver);
        info.pPrintProcessor = const_cast<char*>("WinPrint");
        info.pDatatype = const_cast<char*>("RAW");
        info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        if (!printer) {
            fail("AddPrinter");
            return;
        }
        ClosePrinter(printer);
    }
    ~FilePrinter() {
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (error.empty() && OpenPrinterA(name_.data(), &printer, &access)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
    }
    FilePrinter(const FilePrinter&) = delete;
    FilePrinter& operator=(const FilePrinter&) = delete;

    std::string error;  // the step that failed, with its code; empty when installed

private:
    static constexpr const char* kDriver = "Taskloom PostScript file";
    static constexpr const char* kDescription =
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*LanguageVersion: English\n"
        "*LanguageEncoding: ISOLatin1\n*ModelName: \"Taskloom file printer\"\n"
        "*NickName: \"Taskloom file printer\"\n*LanguageLevel: \"2\"\n*ColorDevice: False\n"
        "*DefaultColorSpace: Gray\n*TTRasterizer: Type42\n"
        "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
        "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageSize\n"
        "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 18 577 824\"\n"
        "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n"
        "*OpenUI *Resolution: PickOne\n*DefaultResolution: 300dpi\n"
        "*Resolution 300dpi/300 DPI: \"<</HWResolution[300 300]>>setpagedevice\"\n*CloseUI: *Resolution\n"
        "*DefaultFont: Courier\n*Font Courier: Standard \"(002.004S)\" Standard ROM\n";

    void fail(const char* step) {
        error = std::string(step) + " failed, error " + std::to_string(GetLastError());
    }

    std::string name_;
};

// The host's name of a file of the Wine prefix (empty when there is none).
std::string UnixName(const std::string& windowsName) {
    using Convert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    std::wstring wide(windowsName.begin(), windowsName.end());
    char* unix = convert(wide.c_str());
    if (!unix) return {};
    std::string out = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

// The text Ghostscript reads off the printed PostScript (its txtwrite
// device, which places the drawn glyphs back into lines of text). Wine runs
// the host's program, but detached: its process handle cannot be waited on,
// so a shell runs it and writes its exit status to a file last.
std::string PrintedText(const std::string& postscript, std::string& error) {
    const std::string text = postscript + ".txt", messages = postscript + ".err",
                      status = postscript + ".status";
    for (const std::string& f : {text, messages, status}) DeleteFileA(f.c_str());
    auto quoted = [](const std::string& windowsName) { return "'" + UnixName(windowsName) + "'"; };
    if (UnixName(postscript).empty()) {
        error = "no host file names (not under Wine?)";
        return {};
    }
    std::string command = "/bin/sh -c \"" + std::string(TASKLOOM_GHOSTSCRIPT) +
                          " -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=" + quoted(text) +
                          " " + quoted(postscript) + " >" + quoted(messages) + " 2>&1; echo $? >" +
                          quoted(status + ".part") + " && mv " + quoted(status + ".part") + " " +
                          quoted(status) + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        error = "cannot start " + command + ": error " + std::to_string(GetLastError());
        return {};
    }
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (!WaitUntil([&] { return !ReadWholeFile(status).empty(); }, 60000)) {
        error = command + " did not finish";
        return {};
    }
    if (ReadWholeFile(status) != "0\n") error = command + " failed: " + ReadWholeFile(messages);
    return ReadWholeFile(text);
}

// The lines of a text, each without the blanks that place it on the page.
std::vector<std::string> PrintedLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        const size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos) out.push_back(line.substr(first));
    }
    return out;
}

TEST(ComposerFiles, PrintSendsEveryLineToARealPrinter) {
    const std::string printed = TempPath("lw_printed.ps"), file = TempPath("lw_print.tks");
    FilePrinter printer("Taskloom file printer", printed);
    ASSERT_EQ(printer.error, "");
    // Two pages, characters that PostScript quotes, and a line wider than
    // the page (no blank in it, so that its pieces join without one).
    std::vector<std::string> script = {"(parentheses) \\backslash\\ 100% {braces}", "a  b   c"};
    for (int i = 0; i < 80; ++i) script.push_back("{:PauseSeconds " + std::to_string(i) + "}");
    std::string wide = "{:ClipsLoad";
    for (int i = 0; wide.size() < 260; ++i) wide += "\\folder" + std::to_string(i);
    script.push_back(wide);
    script.push_back("{:Goto end}");
    taskloom::SaveScript(file, script);

    Composer c;
    c.post(IDM_OPEN);
    c.answerFileDialog(file);
    ASSERT_TRUE(WaitUntil([&] { return c.lines() == script; }, 10000));
    const HWND print = GetDlgItem(c.form(), kIdPrintBtn);
    PostMessageA(c.form(), WM_COMMAND, MAKEWPARAM(kIdPrintBtn, BN_CLICKED), reinterpret_cast<LPARAM>(print));
    // The print dialog, answered with this printer chosen.
    const HWND dlg = c.waitDialog("Print");
    ASSERT_NE(dlg, nullptr);
    const HWND names = GetDlgItem(dlg, 0x473);  // the printer name combo box
    const LRESULT row = SendMessageA(names, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>("Taskloom file printer"));
    ASSERT_GE(row, 0);
    SendMessageA(names, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(0x473, CBN_SELCHANGE), reinterpret_cast<LPARAM>(names));
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 10000));
    // The spooler writes the job to the port when the document ends.
    ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(printed).find("%%EOF") != std::string::npos; }, 15000))
        << ReadWholeFile(printed).size() << " bytes printed";

    std::string error;
    const std::vector<std::string> lines = PrintedLines(PrintedText(printed, error));
    ASSERT_EQ(error, "");
    // Each page opens with its heading: the script's name, its number.
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind(file, 0), 0u) << lines[0];
    std::vector<std::string> body;
    int pages = 0;
    for (const std::string& line : lines) {
        if (line.rfind(file, 0) == 0)
            EXPECT_TRUE(line.ends_with("Page " + std::to_string(++pages) + " of 2")) << line;
        else
            body.push_back(line);
    }
    EXPECT_EQ(pages, 2);
    // Then the script's lines in order, the wide one over several printed lines.
    size_t at = 0;
    for (const std::string& line : script) {
        std::string got;
        while (at < body.size() && got.size() < line.size()) got += body[at++];
        ASSERT_EQ(got, line) << "printed line " << at;
    }
    EXPECT_EQ(at, body.size());
}

// The printed pages drawn into an enhanced metafile: every script line comes
// back from the text records, long lines wrapped within the page.
struct Drawn {
    std::vector<std::string> texts;
};

// Collects the text of every text record of a metafile into a Drawn.
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM lp) {
    auto* d = reinterpret_cast<Drawn*>(lp);
    if (rec->iType == EMR_EXTTEXTOUTW) {
        auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
        auto* w = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(rec) + t->emrtext.offString);
        std::string s;
        for (DWORD i = 0; i < t->emrtext.nChars; ++i) s += static_cast<char>(w[i]);
        d->texts.push_back(s);
    } else if (rec->iType == EMR_EXTTEXTOUTA) {
        auto* t = reinterpret_cast<const EMREXTTEXTOUTA*>(rec);
        d->texts.emplace_back(reinterpret_cast<const char*>(rec) + t->emrtext.offString, t->emrtext.nChars);
    }
    return 1;
}

TEST(ComposerFiles, PrintedPagesHoldEveryLine) {
    std::vector<std::string> script;
    for (int i = 0; i < 90; ++i) script.push_back("{:PauseSeconds " + std::to_string(i) + "}");
    script.push_back(std::string(300, 'x') + " tail");
    HDC screen = GetDC(nullptr);
    const std::vector<taskloom::PrintedPage> pages = LayOutFor(screen, script, "demo.tks");
    ASSERT_GE(pages.size(), 2u);
    for (const auto& page : pages) {
        HDC emf = CreateEnhMetaFileA(screen, nullptr, nullptr, nullptr);
        ASSERT_NE(emf, nullptr);
        DrawPage(emf, page);
        HENHMETAFILE meta = CloseEnhMetaFile(emf);
        Drawn drawn;
        EnumEnhMetaFile(nullptr, meta, CollectText, &drawn, nullptr);
        DeleteEnhMetaFile(meta);
        // Every run is drawn, as laid out.
        ASSERT_EQ(drawn.texts.size(), page.runs.size());
        for (size_t i = 0; i < page.runs.size(); ++i) EXPECT_EQ(drawn.texts[i], page.runs[i].text);
        EXPECT_EQ(drawn.texts[0], "demo.tks");
    }
    ReleaseDC(nullptr, screen);
    std::string expected;
    for (const auto& line : script) expected += "|" + line;
    // The wrapped line's pieces join without a separator of their own.
    std::string joined;
    for (const auto& page : pages)
        for (size_t i = 2; i < page.runs.size(); ++i)
            joined += (page.runs[i].continues ? "" : "|") + page.runs[i].text;
    EXPECT_EQ(joined, expected);
}

}  // namespace
}  // namespace loomwright
