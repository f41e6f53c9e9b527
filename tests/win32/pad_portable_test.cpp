// Tessdeck kept portable under Wine: the real program copied into a folder
// with an empty tessdeck.ini keeps its settings there and nothing in the
// registry, finds them again, and finds its pad after the folder moved; the
// pad form hosted here with its registry roots pointed at keys of the test
// for Export and Import, a malformed or unwritable settings file and the
// grayed Auto Start.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/filestore.h"
#include "pad/model/settings_file.h"
#include "pad/tdeck_form.h"
#include "pad/tessdeck.h"
#include "resources/tessdeck_ids.h"
#include "tests/win32/helpers.h"
#include "win32/win32_desktop.h"
#include "wingui/error_report.h"
#include "wingui/handles.h"

namespace {

using namespace taskloom::wintest;
using tessdeck::TDeckForm;

const std::string kPadKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessdeck";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kFivePad =
    "0\tProgram\tCtrl+Shift+P\tnotepad.exe\r3\tWeb\t\thttp://example.org\r5\tScript\t\tc:\\a.tks\r"
    "9\tClock\t\tclock.exe\r41\tHelp\t\thelp.exe\r";
const std::string kTwoPad = "1\tOne\t\tone.exe\r2\tTwo\t\ttwo.exe\r";

bool RunValueThere(HKEY root) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, kRunKey.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    const bool there = RegQueryValueExA(k, "Tessdeck", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(k);
    return there;
}

// Nothing of the pad's in any hive: no pad key, no association, no logon value.
void ExpectNothingInTheRegistry() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        EXPECT_FALSE(KeyExists(root, kPadKey));
        EXPECT_FALSE(RunValueThere(root));
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".tks"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\.tks"));
}

RECT RectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

std::string IniOf(const std::string& pad, const std::string& settings) {
    return taskloom::FormatSettingsFile({pad, settings});
}

// The real pad started from a folder of its own.
struct CopiedPad {
    CopiedPad(const std::string& exe, const std::string& args, const std::string& folder)
        : process(Quote(exe) + (args.empty() ? "" : " " + args), folder) {}
    // Shown, with the bar's buttons in: the pad's start-up has loaded its pad.
    HWND started(int buttons) {
        HWND w = WaitForWindow("Tessdeck", process.id(), 20000);
        if (!w) return nullptr;
        HWND bar = FindChildByClass(w, TOOLBARCLASSNAMEA);
        WaitUntil([&] { return SendMessageA(bar, TB_BUTTONCOUNT, 0, 0) == buttons; }, 20000);
        return w;
    }
    void exit(HWND w) {
        PostMessageA(w, WM_CLOSE, 0, 0);
        ASSERT_TRUE(process.waitForExit(20000));
    }
    ChildProcess process;
};

TEST(TessdeckPortable, KeepsItsSettingsBesideItselfAndFindsItsPadAfterTheFolderMoved) {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteTreeA(root, kPadKey.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".tks");
    TempFolder folder;
    const std::string stick = folder / "stick\\";
    ASSERT_TRUE(CreateDirectoryA(stick.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((stick + "pads").c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(FromBuildPath(TESSDECK_EXE).c_str(), (stick + "tessdeck.exe").c_str(), FALSE));
    taskloom::WriteTextFile(stick + "tessdeck.ini", "");  // as the portable package ships it
    taskloom::WriteTextFile(stick + "pads\\five.tkp", kFivePad);

    {  // First start: a setting changed, the pad moved, exit.
        CopiedPad pad(stick + "tessdeck.exe", Quote(stick + "pads\\five.tkp"), folder.path());
        HWND w = pad.started(5);
        ASSERT_TRUE(w);
        PostMessageA(w, WM_COMMAND, IDM_K20, 0);
        PostMessageA(w, WM_COMMAND, IDM_DELTAB, 0);
        SetWindowPos(w, nullptr, 200, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        WaitUntil([&] { return RectOf(w).left == 200; }, 5000);
        pad.exit(w);
    }
    ExpectNothingInTheRegistry();
    EXPECT_EQ(ReadWholeFile(stick + "tessdeck.ini"), IniOf("pads\\five.tkp", "\t,200,210,0,1,1,0,2"));

    {  // Started again with no argument: the pad file and the place are back.
        CopiedPad pad(stick + "tessdeck.exe", "", folder.path());
        HWND w = pad.started(5);
        ASSERT_TRUE(w);
        EXPECT_EQ(RectOf(w).left, 200);
        EXPECT_EQ(RectOf(w).top, 210);
        pad.exit(w);
    }
    EXPECT_EQ(ReadWholeFile(stick + "tessdeck.ini"), IniOf("pads\\five.tkp", "\t,200,210,0,1,1,0,2"));

    // The folder moved elsewhere: the pad inside it is still found, with no
    // open dialog asking for it.
    const std::string moved = folder / "moved elsewhere\\";
    ASSERT_TRUE(
        MoveFileA(stick.substr(0, stick.size() - 1).c_str(), moved.substr(0, moved.size() - 1).c_str()));
    {
        CopiedPad pad(moved + "tessdeck.exe", "", folder.path());
        HWND w = pad.started(5);
        ASSERT_TRUE(w);
        HWND bar = FindChildByClass(w, TOOLBARCLASSNAMEA);
        EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 5);
        EXPECT_EQ(FindWindowA(nullptr, "Open New Tessdeck"), nullptr);
        pad.exit(w);
    }
    EXPECT_EQ(ReadWholeFile(moved + "tessdeck.ini"), IniOf("pads\\five.tkp", "\t,200,210,0,1,1,0,2"));
    ExpectNothingInTheRegistry();
}

// --- The form in this process ------------------------------------------------

// The program's folder is a folder of the test; keys of the test stand in
// for the machine's hive, the classes root and the user's hive.
class PortableForm : public ::testing::Test {
protected:
    void SetUp() override {
        tessdeck::InitProgram();
        RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
        for (const char* name : {"machine", "classes", "user"}) {
            HKEY k = nullptr;
            ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kBase) + "\\" + name).c_str(), 0,
                                      nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
                      ERROR_SUCCESS);
            keys_.push_back(k);
        }
        roots_ = {keys_[0], keys_[1], keys_[2]};
        desktop_ = taskloom::MakeWin32Desktop();
        taskloom::WriteTextFile(dir_ / "five.tkp", kFivePad);
        taskloom::WriteTextFile(dir_ / "two.tkp", kTwoPad);
    }
    void TearDown() override {
        for (HKEY k : keys_) RegCloseKey(k);
        RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    }
    std::unique_ptr<TDeckForm> Make(const std::vector<std::string>& args) {
        tessdeck::PadStart start;
        start.args = args;
        start.programPath = dir_ / "tessdeck.exe";
        start.roots = roots_;
        start.postQuit = false;
        return std::make_unique<TDeckForm>(*desktop_, start);
    }
    // Whether a stand-in root holds anything at all.
    static bool Empty(HKEY root) {
        DWORD keys = 1, values = 1;
        RegQueryInfoKeyA(root, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        return keys == 0 && values == 0;
    }
    bool Checked(const TDeckForm& pad, int id) const {
        return (GetMenuState(pad.popupMenu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    // The names of the files beside tessdeck.ini whose names begin with it.
    std::string LeftBeside() const {
        std::string names;
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA((dir_ / "tessdeck.ini*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (lstrcmpiA(found.cFileName, "tessdeck.ini") != 0) names += std::string(found.cFileName) + " ";
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
    void SetValue(const std::string& path, const char* name, const std::string& value) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyExA(keys_[0], path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(k);
    }
    std::string Registry(const char* name) const {
        return tessdeck::PadRegistry::ReadString(keys_[0], kPadKey, name);
    }

    static constexpr const char* kBase = "Software\\TaskloomTests\\Portable";
    std::vector<HKEY> keys_;
    tessdeck::RegistryRoots roots_;
    std::unique_ptr<taskloom::Desktop> desktop_;
    TempFolder dir_;
};

// Answers the next error box of this program with OK, keeping its text.
class ErrorBoxAnswerer {
public:
    ErrorBoxAnswerer()
        : thread_([this] {
              HWND box = nullptr;
              // Until the box shows, or the call that might show it has
              // returned: a box left unanswered would hold the test forever.
              // Its texts are read once the box has filled them in.
              while (!stop_ && !((box = FindWindowA("#32770", "Tessdeck")) && IsWindowVisible(box)))
                  Sleep(20);
              if (!box) return;
              text_ = MessageBoxTexts(box);
              while (IsWindow(box)) {
                  PostMessageA(box, WM_COMMAND, IDOK, 0);
                  WaitUntil([&] { return !IsWindow(box); }, 2000);
              }
          }) {}
    ~ErrorBoxAnswerer() { finish(); }
    const std::string& finish() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return text_;
    }

private:
    std::atomic<bool> stop_{false};
    std::string text_;
    std::thread thread_;
};

// Chooses `file` in the file dialog titled `title` of this program; Cancel
// when it does not take the name. The dialog is shown by the test's own
// thread, which runs it until it closes.
void ChooseInFileDialog(const char* title, const std::string& file) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindWindowA("#32770", title)) != nullptr && IsWindowVisible(dialog); },
              30000);
    if (!dialog) return;
    for (int attempt = 0; attempt < 10 && IsWindow(dialog); ++attempt) {
        HWND combo = GetDlgItem(dialog, 0x47c);  // the file name
        HWND edit = combo ? FindChildByClass(combo, "Edit") : nullptr;
        if (!edit) edit = GetDlgItem(dialog, 0x480);
        if (edit) {
            SetControlText(edit, file);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        }
        WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 3000);
    }
    if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(PortableForm, APortablePadWritesNothingIntoTheRegistryAndGraysAutoStartWithAHint) {
    taskloom::WriteTextFile(dir_ / "tessdeck.ini", "");
    auto pad = Make({dir_ / "five.tkp"});
    EXPECT_TRUE(pad->portable());
    EXPECT_EQ(pad->bar().size(), 5u);
    EXPECT_TRUE(GetMenuState(pad->popupMenu(), IDM_AUTOSTART, MF_BYCOMMAND) & MF_GRAYED);
    pad->AutoStartClick();  // even called directly: no logon value
    EXPECT_FALSE(Checked(*pad, IDM_AUTOSTART));
    EXPECT_NE(pad->aboutText().find("Portable"), std::string::npos);

    // The grayed item's hint says why, beside the item; it goes with the
    // next item or the menu.
    HMENU options = nullptr;
    for (int i = 0; i < GetMenuItemCount(pad->popupMenu()); ++i) {
        HMENU sub = GetSubMenu(pad->popupMenu(), i);
        if (sub && GetMenuState(sub, IDM_AUTOSTART, MF_BYCOMMAND) != static_cast<UINT>(-1)) options = sub;
    }
    ASSERT_TRUE(options);
    SendMessageA(pad->hwnd(), WM_MENUSELECT, MAKEWPARAM(IDM_AUTOSTART, MF_GRAYED | MF_DISABLED),
                 reinterpret_cast<LPARAM>(options));
    EXPECT_NE(pad->menuHint().find("tessdeck.ini"), std::string::npos) << pad->menuHint();
    EXPECT_NE(pad->menuHint().find("registry"), std::string::npos) << pad->menuHint();
    EXPECT_TRUE(IsWindowVisible(pad->menuTip()));
    SendMessageA(pad->hwnd(), WM_MENUSELECT, MAKEWPARAM(IDM_AUTOHIDE, 0), reinterpret_cast<LPARAM>(options));
    EXPECT_EQ(pad->menuHint(), "");
    EXPECT_FALSE(IsWindowVisible(pad->menuTip()));

    pad->command(IDM_K50);
    pad->QuitBtnClick();
    for (HKEY k : keys_) EXPECT_TRUE(Empty(k));
    EXPECT_EQ(ReadWholeFile(dir_ / "tessdeck.ini"), IniOf("five.tkp", "\r,428,47,0,1,1,0,3"));
    EXPECT_EQ(LeftBeside(), "");  // no new file is left beside it

    // "/uninstall" of a portable pad leaves the registry (an installed pad's
    // entries) and its file alone.
    SetValue(kPadKey, "Pad", "installed.tkp");
    pad = Make({"/uninstall"});
    EXPECT_TRUE(pad->exited());
    EXPECT_EQ(Registry("Pad"), "installed.tkp");
    EXPECT_EQ(ReadWholeFile(dir_ / "tessdeck.ini"), IniOf("five.tkp", "\r,428,47,0,1,1,0,3"));
}

TEST_F(PortableForm, AMalformedFileStartsWithTheDefaultsAndAFailedWriteKeepsTheOldFileWhole) {
    const std::string bad = "[Tessdeck]\r\nPad=five.tkp\r\nColour=red\r\n";
    taskloom::WriteTextFile(dir_ / "tessdeck.ini", bad);
    auto pad = Make({dir_ / "two.tkp"});
    EXPECT_TRUE(IsWindowVisible(pad->hwnd()));
    EXPECT_EQ(RectOf(pad->hwnd()).left, 428);
    EXPECT_TRUE(Checked(*pad, IDM_K4));
    const std::string about = pad->aboutText();
    EXPECT_NE(about.find("could not be read"), std::string::npos) << about;
    EXPECT_NE(about.find("tessdeck.ini"), std::string::npos) << about;
    EXPECT_NE(about.find("line 3"), std::string::npos) << about;

    // The file cannot be replaced (another program holds it): the user is
    // told, the file stays whole.
    const int reports = wingui::ReportsShown();
    {
        wingui::ScopedHandle held(CreateFileA((dir_ / "tessdeck.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
        ErrorBoxAnswerer answer;
        pad->QuitBtnClick();
        const std::string text = answer.finish();
        EXPECT_NE(text.find("could not be saved"), std::string::npos) << text;
        EXPECT_NE(text.find("tessdeck.ini"), std::string::npos) << text;
    }
    EXPECT_EQ(wingui::ReportsShown(), reports + 1);
    EXPECT_EQ(ReadWholeFile(dir_ / "tessdeck.ini"), bad);
    EXPECT_EQ(LeftBeside(), "");

    // Let go: the next exit writes a sound file.
    pad = Make({dir_ / "two.tkp"});
    pad->QuitBtnClick();
    EXPECT_EQ(ReadWholeFile(dir_ / "tessdeck.ini"), IniOf("two.tkp", "\r,428,47,0,1,1,0,1"));
}

TEST_F(PortableForm, ExportThenImportBringsTheSettingsAndThePadBackAtOnce) {
    // An installed pad (no tessdeck.ini): the registry is its store.
    auto pad = Make({dir_ / "five.tkp"});
    ASSERT_FALSE(pad->portable());
    pad->command(IDM_K50);
    pad->command(IDM_DELTAB);
    pad->command(IDM_AUTOHIDE);
    pad->command(IDM_AUTOCOPY);
    SendMessageA(pad->moreOrLess(), UDM_SETPOS32, 0, 2);
    pad->MoreOrLessClick();
    SetWindowPos(pad->hwnd(), nullptr, 150, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const std::string exported = dir_ / "exported.ini";
    pad->exportSettingsTo(exported);
    EXPECT_EQ(ReadWholeFile(exported), IniOf("five.tkp", "\t,150,160,2,1,0,1,3"));
    // A file that cannot be written is reported.
    EXPECT_THROW(pad->exportSettingsTo(dir_ / "no such folder\\x.ini"), taskloom::FileError);

    // Everything changed back, another pad open.
    pad->command(IDM_K4);
    pad->command(IDM_DELCOMMA);
    pad->command(IDM_AUTOHIDE);
    pad->command(IDM_AUTOCOPY);
    pad->openPad(dir_ / "two.tkp", false);
    SetWindowPos(pad->hwnd(), nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    pad->importSettingsFrom(exported);
    // In effect at once: the marks, the delimiter, the pad, its icons shown,
    // the place.
    EXPECT_TRUE(Checked(*pad, IDM_K50));
    EXPECT_TRUE(Checked(*pad, IDM_DELTAB));
    EXPECT_TRUE(Checked(*pad, IDM_AUTOHIDE));
    EXPECT_FALSE(Checked(*pad, IDM_AUTOCOPY));
    EXPECT_EQ(pad->engine().delimiter(), '\t');
    EXPECT_EQ(pad->padFile(), dir_ / "five.tkp");
    EXPECT_EQ(pad->bar().size(), 5u);
    EXPECT_EQ(pad->position(), 2);
    EXPECT_EQ(pad->moreOrLessHint(), "Tessdeck 3/5");
    EXPECT_EQ(RectOf(pad->hwnd()).left, 150);
    EXPECT_EQ(RectOf(pad->hwnd()).top, 160);
    // And kept at once, as the exit would keep them.
    EXPECT_EQ(Registry("Pad"), dir_ / "five.tkp");
    EXPECT_EQ(Registry("Settings"), "\t,150,160,2,1,0,1,3");
    pad->QuitBtnClick();

    // The same file into a portable pad: kept in its tessdeck.ini.
    taskloom::WriteTextFile(dir_ / "tessdeck.ini", "");
    pad = Make({dir_ / "two.tkp"});
    ASSERT_TRUE(pad->portable());
    pad->importSettingsFrom(exported);
    EXPECT_EQ(pad->bar().size(), 5u);
    EXPECT_EQ(ReadWholeFile(dir_ / "tessdeck.ini"), IniOf("five.tkp", "\t,150,160,2,1,0,1,3"));
    pad->QuitBtnClick();
}

TEST_F(PortableForm, ABadImportFileIsRefusedAndChangesNothing) {
    taskloom::WriteTextFile(dir_ / "tessdeck.ini", IniOf("two.tkp", "\r,100,110,1,1,1,0,2"));
    auto pad = Make({});
    ASSERT_EQ(pad->bar().size(), 2u);
    const std::string before = ReadWholeFile(dir_ / "tessdeck.ini");
    const struct {
        const char* name;
        std::string text;
        const char* reason;
    } cases[] = {
        {"binary.ini", std::string("\x89PNG\r\n\x1a\n\0\0", 10), "line 1"},
        {"unknown.ini", "[Tessdeck]\r\nPad=five.tkp\r\nColour=red\r\n", "line 3"},
        {"badvalue.ini", IniOf("five.tkp", "\r,ten,20,3,0,1,1,2"), "\"Settings\" value"},
        {"nosettings.ini", "[Tessdeck]\r\nPad=five.tkp\r\n", "no \"Settings\""},
    };
    for (const auto& c : cases) {
        taskloom::WriteTextFile(dir_ / c.name, c.text);
        try {
            pad->importSettingsFrom(dir_ / c.name);
            ADD_FAILURE() << c.name << " was taken";
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(c.reason), std::string::npos) << what;
            EXPECT_NE(what.find("Nothing was changed"), std::string::npos) << what;
        }
        EXPECT_EQ(pad->bar().size(), 2u) << c.name;
        EXPECT_EQ(pad->padFile(), dir_ / "two.tkp") << c.name;
        EXPECT_TRUE(Checked(*pad, IDM_K20)) << c.name;
        EXPECT_EQ(RectOf(pad->hwnd()).left, 100) << c.name;
        EXPECT_EQ(ReadWholeFile(dir_ / "tessdeck.ini"), before) << c.name;
    }
    EXPECT_THROW(pad->importSettingsFrom(dir_ / "missing.ini"), taskloom::FileError);

    // Through the menu the refusal is an error box.
    {
        ErrorBoxAnswerer answer;
        std::thread chooser([&] { ChooseInFileDialog("Import Settings", dir_ / "unknown.ini"); });
        wingui::Guarded(pad->hwnd(), [&] { pad->command(IDM_IMPORTSETTINGS); });
        chooser.join();
        EXPECT_NE(answer.finish().find("cannot be imported"), std::string::npos);
    }
    EXPECT_EQ(ReadWholeFile(dir_ / "tessdeck.ini"), before);
    pad->QuitBtnClick();
}

}  // namespace
