// The release as a user gets it, under Wine: the 64-bit installer run
// silently (programs, shortcuts, program list entry, logon value, version
// resources, `taskloom --version`, Tessdeck showing its bar from the
// installed folder), then the silent uninstall leaving no file and no key of
// ours; and the portable zip, unpacked, running examples\hello.tks, its pad
// keeping its settings in its tessdeck.ini and nothing in the registry.
//
// scripts/release_test.sh makes the packages and runs this program with
//   TASKLOOM_SETUP     the setup program (a Windows path)
//   TASKLOOM_PORTABLE  the unpacked zip's folder (a Windows path)
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/filestore.h"
#include "taskloom_version.h"
#include "tests/win32/helpers.h"

namespace {

using namespace taskloom::wintest;
namespace fs = std::filesystem;

const std::string kWindows = "Software\\Microsoft\\Windows\\CurrentVersion";
const std::string kOurKey = kWindows + "\\Uninstall\\Taskloom";
const std::string kPadKey = kWindows + "\\Uninstall\\Tessdeck";
const std::string kRunKey = kWindows + "\\Run";
// Help, Contents in each program's menu (the two headers share a few names).
#include "resources/loomwright_ids.h"
constexpr int kComposerContents = IDM_CONTENTS;
#undef IDM_CONTENTS
#undef IDM_ABOUT
#undef IDM_OPEN
#include "resources/tessdeck_ids.h"
constexpr int kPadContents = IDM_CONTENTS;

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

// A string value; nothing when it is missing.
std::optional<std::string> Value(HKEY root, const std::string& path, const char* name) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

// Every file below `dir`, as paths relative to it, lower case.
std::set<std::string> FilesBelow(const std::string& dir) {
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) out.insert(Lower(fs::relative(e.path(), dir).string()));
    return out;
}

// The ProductVersion string of a program's version resource.
std::string ProductVersion(const std::string& exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    if (!size) return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(exe.c_str(), 0, size, data.data())) return {};
    char* text = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductVersion",
                        reinterpret_cast<void**>(&text), &len))
        return {};
    return std::string(text, len ? len - 1 : 0);
}

// Where a shortcut leads.
std::string ShortcutTarget(const std::string& lnk) {
    std::string target;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring wide(lnk.begin(), lnk.end());
        char path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
            target = path;
        file->Release();
    }
    link->Release();
    return target;
}

Finished RunToEnd(const std::string& commandLine, const std::string& folder, DWORD timeoutMs = 120000) {
    CapturedRun run(commandLine, folder);
    return run.finish(timeoutMs);
}

class Release : public ::testing::Test {
protected:
    void SetUp() override {
        setup_ = Env("TASKLOOM_SETUP");
        portable_ = Env("TASKLOOM_PORTABLE");
        ASSERT_FALSE(setup_.empty() || portable_.empty())
            << "TASKLOOM_SETUP and TASKLOOM_PORTABLE must be set";
        ASSERT_TRUE(fs::is_regular_file(setup_)) << setup_;
        ASSERT_TRUE(fs::is_directory(portable_)) << portable_;
        CoInitialize(nullptr);
    }
    void TearDown() override { CoUninitialize(); }
    std::string setup_, portable_;
};

TEST_F(Release, SilentInstallRunsTheProgramsAndSilentUninstallLeavesNothingOfOurs) {
    const std::string dir = Folder(CSIDL_PROGRAM_FILES) + "\\Taskloom";
    const std::string menu = Folder(CSIDL_COMMON_PROGRAMS) + "\\Taskloom";
    ASSERT_FALSE(fs::exists(dir));
    TempFolder work;

    // Installed silently, with the logon choice.
    Finished f = RunToEnd(Quote(setup_) + " /S /LOGON", work.path());
    ASSERT_FALSE(f.timedOut);
    ASSERT_EQ(f.status, 0u);

    // What the zip holds but its empty tessdeck.ini (an installed pad keeps
    // its settings in the registry), and the uninstaller.
    std::set<std::string> expected = FilesBelow(portable_);
    EXPECT_EQ(expected.erase("tessdeck.ini"), 1u);
    expected.insert("uninstall.exe");
    EXPECT_EQ(FilesBelow(dir), expected);
    for (const char* exe : {"loomwright.exe", "tessdeck.exe", "taskloom.exe"})
        EXPECT_EQ(ProductVersion(dir + "\\" + exe), TASKLOOM_VERSION) << exe;

    EXPECT_EQ(Lower(ShortcutTarget(menu + "\\Loomwright.lnk")), Lower(dir + "\\loomwright.exe"));
    EXPECT_EQ(Lower(ShortcutTarget(menu + "\\Tessdeck.lnk")), Lower(dir + "\\tessdeck.exe"));

    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kOurKey, "DisplayName"), "Taskloom " TASKLOOM_VERSION);
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kOurKey, "DisplayVersion"), TASKLOOM_VERSION);
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kOurKey, "UninstallString"), "\"" + dir + "\\uninstall.exe\"");
    // The value the pad's Auto Start writes: its path in lower case.
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kRunKey, "Tessdeck"), Lower(Quote(dir + "\\tessdeck.exe")));

    f = RunToEnd(Quote(dir + "\\taskloom.exe") + " --version", work.path());
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(f.out, "taskloom " TASKLOOM_VERSION "\n");

    // Tessdeck from the installed folder shows its bar; it is left running
    // for the uninstall to end.
    taskloom::WriteTextFile(work / "two.tkp", "0\tProgram\t\tnotepad.exe\r9\tClock\t\tclock.exe\r");
    auto pad =
        std::make_unique<ChildProcess>(Quote(dir + "\\tessdeck.exe") + " " + Quote(work / "two.tkp"), dir);
    const HWND bar = WaitForWindow("Tessdeck", pad->id());
    ASSERT_TRUE(bar);
    const HWND tools = FindChildByClass(bar, TOOLBARCLASSNAMEA);
    ASSERT_TRUE(tools);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(tools, TB_BUTTONCOUNT, 0, 0) >= 1; }, 20000));
    // Its first start made its key and the ".tks" association.
    EXPECT_TRUE(WaitUntil([&] { return KeyExists(HKEY_CLASSES_ROOT, ".tks"); }, 20000));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kPadKey));
    // Program Files holds a blank: the program's path and the script's are
    // quoted in the open command, or a script in "My Scripts" would not open.
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".tks\\shell\\open\\command", nullptr),
              Lower(Quote(dir + "\\tessdeck.exe") + " \"%1\""));

    // The uninstaller copies itself away and goes on from there; removing
    // its program list entry is the last thing it does.
    f = RunToEnd(Quote(dir + "\\uninstall.exe") + " /S", work.path());
    EXPECT_EQ(f.status, 0u);
    EXPECT_TRUE(pad->waitForExit(20000)) << "the running pad was not ended";
    EXPECT_TRUE(WaitUntil([&] { return !KeyExists(HKEY_LOCAL_MACHINE, kOurKey); }, 60000));
    EXPECT_FALSE(fs::exists(dir)) << "left behind: " << testing::PrintToString(FilesBelow(dir));
    EXPECT_FALSE(fs::exists(menu));
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kRunKey, "Tessdeck"), std::nullopt);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        EXPECT_FALSE(KeyExists(root, kPadKey));
        EXPECT_FALSE(KeyExists(root, kOurKey));
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".tks"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\.tks"));
}

TEST_F(Release, ThePortableRunnerRunsHelloFromItsOwnFolder) {
    TempFolder work;
    const Finished f = RunToEnd(Quote(portable_ + "\\taskloom.exe") + " run --note=continue --print-clips " +
                                    Quote(portable_ + "\\examples\\hello.tks"),
                                work.path());
    ASSERT_FALSE(f.timedOut);
    EXPECT_EQ(f.status, 0u) << f.err;
    // Both typed lines came back through the clips buffer and its file.
    const std::string second = "Typed by a script: (1+2)*3 = 9; \"quotes\", commas & {braces}.";
    EXPECT_NE(f.out.find("Hello from Taskloom!"), std::string::npos) << f.out;
    EXPECT_NE(f.out.find(second), std::string::npos) << f.out;
    // The file keeps them as comma text: quotes doubled.
    const std::string saved = ReadWholeFile(work / "hello-clips.txt");
    EXPECT_NE(saved.find("Hello from Taskloom!"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Typed by a script: (1+2)*3 = 9; \"\"quotes\"\", commas & {braces}."),
              std::string::npos)
        << saved;
}

TEST_F(Release, ThePortablePadKeepsItsSettingsInItsFolderAndNothingInTheRegistry) {
    const std::string ini = portable_ + "\\tessdeck.ini";
    ASSERT_TRUE(fs::is_regular_file(ini));
    EXPECT_EQ(fs::file_size(ini), 0u);
    TempFolder work;
    taskloom::WriteTextFile(work / "two.tkp", "0\tProgram\t\tnotepad.exe\r9\tClock\t\tclock.exe\r");
    {
        ChildProcess pad(Quote(portable_ + "\\tessdeck.exe") + " " + Quote(work / "two.tkp"), work.path());
        const HWND bar = WaitForWindow("Tessdeck", pad.id());
        ASSERT_TRUE(bar);
        PostMessageA(bar, WM_COMMAND, MAKEWPARAM(IDM_K50, 0), 0);
        PostMessageA(bar, WM_CLOSE, 0, 0);
        ASSERT_TRUE(pad.waitForExit(20000));
    }
    // The file writes a backslash as two, and a carriage return as "\r".
    std::string pad;
    for (const char c : work / "two.tkp") pad += c == '\\' ? std::string("\\\\") : std::string(1, c);
    EXPECT_EQ(ReadWholeFile(ini), "[Tessdeck]\r\nPad=" + pad + "\r\nSettings=\\r,428,47,0,1,1,0,3\r\n");
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        EXPECT_FALSE(KeyExists(root, kPadKey));
        EXPECT_EQ(Value(root, kRunKey, "Tessdeck"), std::nullopt);
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".tks"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\.tks"));
    // Left as it was shipped for the tests after this one.
    taskloom::WriteTextFile(ini, "");
}

// Makes the shell open ".html" files with a command that writes the file's
// name into `record`, so that a test sees which page a program opened.
void RecordOpenedPages(const std::string& record) {
    auto set = [](const std::string& path, const std::string& value) {
        HKEY k = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
            ERROR_SUCCESS);
        RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(k);
    };
    set(".html", "TaskloomTestPage");
    set("TaskloomTestPage\\shell\\open\\command",
        Folder(CSIDL_SYSTEM) + "\\cmd.exe /c echo %1>>" + Quote(record));
}

TEST_F(Release, TheHelpMenusOpenTheirPagesBesideThePrograms) {
    const std::string composerPage = portable_ + "\\" TASKLOOM_COMPOSER_HELP;
    const std::string padPage = portable_ + "\\" TASKLOOM_PAD_HELP;
    if (!fs::exists(composerPage) || !fs::exists(padPage))
        GTEST_SKIP() << "the package holds no help pages yet: " << composerPage << ", " << padPage;
    TempFolder work;
    const std::string record = work / "opened.txt";
    RecordOpenedPages(record);
    auto opened = [&](const std::string& page) {
        return WaitUntil([&] { return Lower(ReadWholeFile(record)).find(Lower(page)) != std::string::npos; },
                         20000);
    };

    ChildProcess composer(Quote(portable_ + "\\loomwright.exe"), work.path());
    const HWND form = WaitForWindow("Taskloom - New", composer.id());
    ASSERT_TRUE(form);
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(kComposerContents, 0), 0);
    EXPECT_TRUE(opened(composerPage)) << ReadWholeFile(record);

    taskloom::WriteTextFile(work / "one.tkp", "0\tProgram\t\tnotepad.exe\r");
    ChildProcess pad(Quote(portable_ + "\\tessdeck.exe") + " " + Quote(work / "one.tkp"), work.path());
    const HWND bar = WaitForWindow("Tessdeck", pad.id());
    ASSERT_TRUE(bar);
    PostMessageA(bar, WM_COMMAND, MAKEWPARAM(kPadContents, 0), 0);
    EXPECT_TRUE(opened(padPage)) << ReadWholeFile(record);
}

}  // namespace
