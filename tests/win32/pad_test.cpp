// Tessdeck under Wine: the real program started as the user would (its
// registry entries, the bar it shows, its hot keys, a script argument, the
// settings kept across runs, /Uninstall), and the pad form hosted in this
// process with its registry roots pointed at keys of the test (loading and
// layout, reorderings, the fallback to the user's hive, a malformed Settings
// value, the session's end).
#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/filestore.h"
#include "pad/model/pad_text.h"
#include "win32/win32_desktop.h"
#include "pad/tdeck_form.h"
#include "pad/tessdeck.h"
#include "resources/tessdeck_ids.h"
#include "tests/win32/helpers.h"
#include "resources/icons/icons.h"
#include "tests/win32/pad_helpers.h"
#include "wingui/handles.h"
#include "wingui/icon_list.h"

namespace {

using namespace taskloom::wintest;
using tessdeck::TDeckForm;

const std::string kPadKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessdeck";

// Five icons: program (Ctrl+Shift+P), web page, script (Alt+F5), clock, help.
const std::string kFivePad =
    "0\tProgram\tCtrl+Shift+P\tnotepad.exe\r3\tWeb\t\thttp://example.org\r5\tScript\tAlt+F5\tc:\\a.tks\r"
    "9\tClock\t\tclock.exe\r41\tHelp\t\thelp.exe\r";

std::string PadExe() { return FromBuildPath(TESSDECK_EXE); }

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Value(HKEY root, const std::string& path, const char* name) {
    return tessdeck::PadRegistry::ReadString(root, path, name);
}

// Lets everyone read the key, change its permissions and delete it, and
// nothing else: a key an installer made, seen by an ordinary user.
bool ReadOnlyKey(HKEY key) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return false;
    EXPLICIT_ACCESSA access{};
    access.grfAccessPermissions = KEY_READ | WRITE_DAC | DELETE;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    PACL acl = nullptr;
    const bool made = SetEntriesInAclA(1, &access, nullptr, &acl) == ERROR_SUCCESS;
    FreeSid(everyone);
    if (!made) return false;
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    const bool set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                       &sd) == ERROR_SUCCESS;
    LocalFree(acl);
    return set;
}

RECT RectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// The real program, ended by its own exit (WM_CLOSE) or by force.
struct RealPad {
    explicit RealPad(const std::string& args, const TempFolder& folder)
        : process(Quote(PadExe()) + (args.empty() ? "" : " " + args), folder.path()) {}
    HWND window(DWORD ms = 20000) { return WaitForWindow("Tessdeck", process.id(), ms); }
    // The pad is shown before its start-up ends; the tray icon is the last
    // thing it adds. (Probing the show/hide key instead would hold it for a
    // moment now and then, and the pad, registering it at that moment, would
    // silently go without it.)
    HWND started() {
        HWND w = window();
        if (w) WaitUntil([&] { return TrayIconThere(w); }, 20000);
        return w;
    }
    void exit() {
        HWND w = window(2000);
        ASSERT_TRUE(w);
        PostMessageA(w, WM_CLOSE, 0, 0);
        ASSERT_TRUE(process.waitForExit(20000));
    }
    ChildProcess process;
};

void CleanRegistry() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPadKey.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".tks");
}

// The pixels of a 16 by 16 picture drawn on a plain background of `ground`.
std::vector<std::uint32_t> Drawn(COLORREF ground, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const HBRUSH brush = CreateSolidBrush(ground);
    const RECT all{0, 0, 16, 16};
    FillRect(dc, &all, brush);
    draw(dc);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + 256);
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(dc);
    for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// The bars' image list, made in one load from the set's strip, shows every
// icon where its resource puts it, on a light and on a dark ground.
TEST(PadIcons, TheImageListShowsEachIconAsItsOwnResourceDoes) {
    const HIMAGELIST list = wingui::MakeIconImageList(16);
    ASSERT_EQ(ImageList_GetImageCount(list), IDI_PAD_ICON_COUNT);
    for (int i = 0; i < IDI_PAD_ICON_COUNT; ++i) {
        const HICON icon = static_cast<HICON>(LoadImageA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PAD_ICON_FIRST + i), IMAGE_ICON, 16, 16, 0));
        ASSERT_TRUE(icon) << "icon " << i;
        for (COLORREF ground : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
            const auto fromList =
                Drawn(ground, [&](HDC dc) { ImageList_Draw(list, i, dc, 0, 0, ILD_NORMAL); });
            const auto fromIcon =
                Drawn(ground, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL); });
            int differing = 0;
            for (std::size_t p = 0; p < fromList.size(); ++p) {
                for (int shift : {0, 8, 16}) {
                    const int a = static_cast<int>((fromList[p] >> shift) & 0xFF);
                    const int b = static_cast<int>((fromIcon[p] >> shift) & 0xFF);
                    if (std::abs(a - b) > 8) {
                        ++differing;
                        break;
                    }
                }
            }
            EXPECT_EQ(differing, 0) << "icon " << i << " on ground " << std::hex << ground;
        }
        DestroyIcon(icon);
    }
    ImageList_Destroy(list);
}

TEST(TessdeckProgram, FirstStartSecondStartSettingsHotKeysAndUninstall) {
    CleanRegistry();
    TempFolder folder;
    taskloom::WriteTextFile(folder / "five.tkp", kFivePad);
    const std::string exe = PadExe();

    {  // First start: the key and the association are written.
        RealPad pad(Quote(folder / "five.tkp"), folder);
        HWND w = pad.started();
        ASSERT_TRUE(w);
        EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "DisplayName"), "Tessdeck");
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kPadKey));
        EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "Pad"), "");
        EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "UninstallString"), exe + " /uninstall");
        EXPECT_EQ(Value(HKEY_CLASSES_ROOT, ".tks\\shell\\open\\command", nullptr), Lower(exe + " \"%1\""));
        // Borderless, topmost, no task bar button; at the form's place.
        const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE), ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
        EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
        EXPECT_TRUE(ex & WS_EX_TOPMOST);
        EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
        EXPECT_EQ(RectOf(w).left, 428);
        EXPECT_EQ(RectOf(w).top, 47);
        // The icons' hot keys and the show/hide key are taken.
        EXPECT_FALSE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, 'P'));
        EXPECT_FALSE(HotKeyFree(MOD_ALT, VK_F5));
        EXPECT_FALSE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, VK_F9));
        pad.exit();
    }
    // The exit wrote the pad file and the settings (first start: the saved
    // position 0 shows one icon).
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "Pad"), folder / "five.tkp");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "Settings"), "\r,428,47,0,1,1,0,1");
    EXPECT_TRUE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, 'P'));

    // Second start, from the saved pad file with no argument: neither
    // DisplayName nor UninstallString is written again; the saved place and
    // icon count are taken.
    SetRegString(HKEY_LOCAL_MACHINE, kPadKey, "DisplayName", "Kept");
    SetRegString(HKEY_LOCAL_MACHINE, kPadKey, "UninstallString", "kept /uninstall");
    SetRegString(HKEY_LOCAL_MACHINE, kPadKey, "Settings", "\r,100,120,4,0,1,0,2");
    {
        RealPad pad("", folder);
        HWND w = pad.started();
        ASSERT_TRUE(w);
        const RECT r = RectOf(w);
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 120);
        // Five icons: the bar 5 × 23 + 2 wide, the window 25 more, 25 high.
        EXPECT_EQ(r.right - r.left, 5 * 23 + 2 + 25);
        EXPECT_EQ(r.bottom - r.top, 25);
        HWND upDown = FindChildByClass(w, UPDOWN_CLASSA);
        ASSERT_TRUE(upDown);
        EXPECT_EQ(ControlText(upDown), "Tessdeck 5/5");
        EXPECT_TRUE(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
        // Moved by the user before the exit: the new place is saved.
        SetWindowPos(w, nullptr, 200, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        WaitUntil([&] { return RectOf(w).left == 200; }, 5000);
        pad.exit();
    }
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "DisplayName"), "Kept");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "UninstallString"), "kept /uninstall");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "Settings"), "\r,200,210,4,0,1,0,2");

    // /Uninstall in any letter case: the key and the association go, and no
    // pad is shown.
    {
        RealPad pad("/UnInstall", folder);
        ASSERT_TRUE(pad.process.waitForExit(20000));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPadKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".tks"));
}

TEST(TessdeckProgram, AScriptArgumentRunsTheScriptAndExitsShowingNoPad) {
    CleanRegistry();
    TempFolder folder;
    Target target("\"Pad Script Target 12\"", "Pad Script Target 12");
    ASSERT_TRUE(target.field());
    taskloom::WriteScriptFile(folder / "typed.tks", {"{:TO Pad Script Target 12}", "typed by the pad"});
    RealPad pad(Quote(folder / "typed.tks"), folder);
    ASSERT_TRUE(pad.process.waitForExit(30000));
    EXPECT_EQ(pad.process.exitCode(), 0u);
    EXPECT_EQ(target.fieldText("typed by the pad"), "typed by the pad");
    // The settings were saved on the way out.
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, kPadKey, "Settings"), "\r,428,47,0,1,1,0,1");
}

// --- The form in this process ------------------------------------------------

// Keys of the test standing in for the machine's hive, the classes root and
// the user's hive.
class PadForm : public ::testing::Test {
protected:
    void SetUp() override {
        tessdeck::InitProgram();
        desktop_ = taskloom::MakeWin32Desktop();
        taskloom::WriteTextFile(folder_ / "five.tkp", kFivePad);
    }
    std::unique_ptr<TDeckForm> Make(const std::vector<std::string>& args) {
        tessdeck::PadStart start;
        start.args = args;
        start.programPath = "C:\\Pads\\Tessdeck.exe";
        start.roots = registry_.roots();
        start.postQuit = false;
        return std::make_unique<TDeckForm>(*desktop_, start);
    }
    // The toolbar's image indexes, left to right.
    static std::vector<int> Images(HWND bar) {
        std::vector<int> images;
        const int n = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            TBBUTTON b{};
            SendMessageA(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
            images.push_back(b.iBitmap);
        }
        return images;
    }
    static int Width(const TDeckForm& f) { return RectOf(f.hwnd()).right - RectOf(f.hwnd()).left; }

    static constexpr const char* kBase = "Software\\TaskloomTests\\Pad";
    RegistrySandbox registry_{kBase};
    std::unique_ptr<taskloom::Desktop> desktop_;
    TempFolder folder_;
};

TEST_F(PadForm, LoadsFiveIconsWithHintsSlotsAndNormalisedHotKeys) {
    auto pad = Make({folder_ / "five.tkp"});
    pad->OpenPadClick(false);  // as start-up's load does: all five shown
    EXPECT_EQ(Images(pad->toolBar()), (std::vector<int>{0, 3, 5, 9, 41}));
    HIMAGELIST list = reinterpret_cast<HIMAGELIST>(SendMessageA(pad->toolBar(), TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(ImageList_GetImageCount(list), 42);
    ASSERT_EQ(pad->bar().size(), 5u);
    EXPECT_EQ(pad->bar()[0].hint, "Program\tShift+Ctrl+P");
    EXPECT_EQ(pad->bar()[1].hint, "Web");
    EXPECT_EQ(pad->slots()[2].program, "c:\\a.tks");
    EXPECT_EQ(pad->storeTags(), (std::vector<int>{6080, 0, 1116, 0, 0}));
    EXPECT_EQ(pad->moreOrLessHint(), "Tessdeck 5/5");
    EXPECT_EQ(Width(*pad), 142);
    EXPECT_FALSE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, 'P'));

    // Another pad: the first one's keys are released before the new ones
    // are taken.
    taskloom::WriteTextFile(folder_ / "five.tkp", "6\tCalc\tCtrl+Alt+K\tcalc.exe\r");
    pad->OpenPadClick(false);
    EXPECT_TRUE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, 'P'));
    EXPECT_TRUE(HotKeyFree(MOD_ALT, VK_F5));
    EXPECT_FALSE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'K'));
    EXPECT_EQ(pad->storeTags(), (std::vector<int>{3075}));
    EXPECT_EQ(Images(pad->toolBar()), (std::vector<int>{6}));
    // "&Open..." always asks; Cancel leaves the pad as it was.
    std::thread canceller([] {
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindWindowA(nullptr, "Open New Tessdeck")) != nullptr; }, 20000);
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    pad->command(IDM_OPEN);
    canceller.join();
    EXPECT_EQ(Images(pad->toolBar()), (std::vector<int>{6}));
    EXPECT_FALSE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'K'));
    pad->QuitBtnClick();
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'K'));
    EXPECT_TRUE(HotKeyFree(MOD_SHIFT | MOD_CONTROL, VK_F9));
}

TEST_F(PadForm, TheHintsFollowTheShowWithTheTextsOfThenAndTheNoteWindowItsFirstUse) {
    auto pad = Make({folder_ / "five.tkp"});
    ASSERT_FALSE(pad->moreOrLessHint().empty());
    // Made once the pad has shown and painted, with the up-down's hint as
    // the start-up left it; later changes reach the tooltip.
    EXPECT_TRUE(
        PumpUntil([&] { return HintOf(pad->hwnd(), pad->moreOrLess()) == pad->moreOrLessHint(); }, 5000));
    pad->ExpandClick();
    EXPECT_EQ(HintOf(pad->hwnd(), pad->moreOrLess()), pad->moreOrLessHint());
    pad->ShrinkClick();
    pad->ShrinkClick();
    EXPECT_EQ(HintOf(pad->hwnd(), pad->moreOrLess()), pad->moreOrLessHint());
    // The note: kept, its window not made until a note shows.
    ASSERT_NE(pad->note(), nullptr);
    EXPECT_FALSE(pad->note()->made());
    EXPECT_TRUE(pad->note()->lines().empty());
    // Its Continue button shows the pad's own cursor.
    EXPECT_NE(pad->note()->continueCursor(), nullptr);
    EXPECT_EQ(pad->note()->continueCursor(), LoadCursorA(GetModuleHandleA(nullptr), "VEXA"));
    pad->QuitBtnClick();
    EXPECT_EQ(pad->note(), nullptr);
}

TEST_F(PadForm, ExpandShrinkAndTheReorderingsKeepEachIconsSlot) {
    auto pad = Make({folder_ / "five.tkp"});
    pad->OpenPadClick(false);
    pad->command(IDM_SHRINK);
    EXPECT_EQ(pad->position(), 3);
    EXPECT_EQ(Width(*pad), 4 * 23 + 2 + 25);
    EXPECT_EQ(pad->moreOrLessHint(), "Tessdeck 4/5");
    // Expand from maximum - 1 shows all five while the up-down stays.
    pad->command(IDM_EXPAND);
    EXPECT_EQ(Width(*pad), 142);
    EXPECT_EQ(pad->position(), 3);
    EXPECT_EQ(pad->moreOrLessHint(), "Tessdeck 5/5");
    // Shrink below 0: an empty bar, the position kept, never below 25 by 25.
    for (int i = 0; i < 6; ++i) pad->command(IDM_SHRINK);
    EXPECT_EQ(pad->position(), 0);
    EXPECT_GE(Width(*pad), 25);
    EXPECT_EQ(RectOf(pad->hwnd()).bottom - RectOf(pad->hwnd()).top, 25);
    // A size below the minimum is held at 25 by 25.
    SetWindowPos(pad->hwnd(), nullptr, 0, 0, 10, 5, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Width(*pad), 25);
    EXPECT_EQ(RectOf(pad->hwnd()).bottom - RectOf(pad->hwnd()).top, 25);

    pad->command(IDM_LEFT);
    EXPECT_EQ(Images(pad->toolBar()), (std::vector<int>{3, 5, 9, 41, 0}));
    EXPECT_EQ(pad->bar()[4].slot, 0);
    EXPECT_EQ(pad->bar()[4].hint, "Program\tShift+Ctrl+P");
    pad->command(IDM_RIGHT);
    pad->command(IDM_RIGHT);
    EXPECT_EQ(Images(pad->toolBar()), (std::vector<int>{41, 0, 3, 5, 9}));
    pad->command(IDM_SWAP12);
    EXPECT_EQ(Images(pad->toolBar()), (std::vector<int>{0, 41, 3, 5, 9}));
    EXPECT_EQ(pad->bar()[1].slot, 4);
    EXPECT_EQ(pad->slots()[pad->bar()[0].slot].hotKeyId, 6080);

    // Flat Look toggles with its check mark; every item of the menu works.
    pad->command(IDM_FLATSTYLE);
    EXPECT_TRUE(pad->flat());
    EXPECT_TRUE(GetWindowLongPtrA(pad->toolBar(), GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_TRUE(GetMenuState(pad->popupMenu(), IDM_FLATSTYLE, MF_BYCOMMAND) & MF_CHECKED);
    for (int id : {IDM_APPENDTOCLIPS, IDM_VIEWCLIPS, IDM_K20, IDM_DELCOMMA, IDM_HIDESHOW, IDM_AUTOSTART,
                   IDM_AUTODIAL, IDM_WEBSITE, IDM_EMAILUS})
        EXPECT_FALSE(GetMenuState(pad->popupMenu(), id, MF_BYCOMMAND) & MF_GRAYED) << id;
    // Auto Hide hides the pad when the up-down goes below 0.
    pad->command(IDM_AUTOHIDE);
    ShowWindow(pad->hwnd(), SW_SHOWNOACTIVATE);
    SendMessageA(pad->moreOrLess(), UDM_SETPOS32, 0, -1);
    pad->MoreOrLessClick();
    EXPECT_FALSE(IsWindowVisible(pad->hwnd()));
    pad->QuitBtnClick();
}

TEST_F(PadForm, MenuItemsCaptionsAndShortcuts) {
    auto pad = Make({folder_ / "five.tkp"});
    const std::vector<std::pair<int, std::string>> items = {{IDM_APPENDTOCLIPS, "&Add Clip\tCtrl+V"},
                                                            {IDM_VIEWCLIPS, "&View Clips\tF9"},
                                                            {IDM_OPEN, "&Open...\tCtrl+O"},
                                                            {IDM_MOVE, "&Move\tCtrl+M"},
                                                            {IDM_FLATSTYLE, "&Flat Look\tCtrl+F"},
                                                            {IDM_EXPAND, "&Expand\tIns"},
                                                            {IDM_SHRINK, "&Shrink\tDel"},
                                                            {IDM_LEFT, "<- &Left <-\tCtrl+L"},
                                                            {IDM_RIGHT, "-> &Right ->\tCtrl+R"},
                                                            {IDM_SWAP12, "S&wap 1<->2\tCtrl+W"},
                                                            {IDM_HIDESHOW, "&Hide/Show\tShift+Ctrl+F9"},
                                                            {IDM_AUTOADD, "Auto &Add Clips"},
                                                            {IDM_AUTOCOPY, "Auto &Copy"},
                                                            {IDM_AUTOSTART, "Auto &Start"},
                                                            {IDM_AUTOHIDE, "Auto &Hide"},
                                                            {IDM_AUTODIAL, "Auto Dia&L"},
                                                            {IDM_K4, "&4K"},
                                                            {IDM_K20, "&20K"},
                                                            {IDM_K50, "&50K"},
                                                            {IDM_DELNEWLINE, "New &Line"},
                                                            {IDM_DELCOMMA, "&Comma"},
                                                            {IDM_DELTAB, "&Tab"},
                                                            {IDM_DELSPACE, "&Space"},
                                                            {IDM_DELNONE, "&None"},
                                                            {IDM_CONTENTS, "&Contents"},
                                                            {IDM_WEBSITE, "&Web site"},
                                                            {IDM_EMAILUS, "&E-mail us"},
                                                            {IDM_ABOUT, "&About"},
                                                            {IDM_HOTKEYREPORT, "Hot &Key Report..."},
                                                            {IDM_QUIT, "E&xit"}};
    for (const auto& [id, caption] : items) {
        char text[64] = {};
        GetMenuStringA(pad->popupMenu(), static_cast<UINT>(id), text, sizeof text, MF_BYCOMMAND);
        EXPECT_EQ(text, caption);
    }
    // Defaults: Auto Add Clips, Auto Copy, 4K and New Line checked.
    for (int id : {IDM_AUTOADD, IDM_AUTOCOPY, IDM_K4, IDM_DELNEWLINE})
        EXPECT_TRUE(GetMenuState(pad->popupMenu(), id, MF_BYCOMMAND) & MF_CHECKED) << id;
    // The two groups of choices show radio marks, before and after a choice.
    auto radio = [&](int id) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(pad->popupMenu(), static_cast<UINT>(id), FALSE, &info);
        return (info.fType & MFT_RADIOCHECK) != 0;
    };
    const std::vector<int> radios = {IDM_K4,       IDM_K20,    IDM_K50,      IDM_DELNEWLINE,
                                     IDM_DELCOMMA, IDM_DELTAB, IDM_DELSPACE, IDM_DELNONE};
    for (int id : radios) EXPECT_TRUE(radio(id)) << id;
    pad->command(IDM_K20);
    pad->command(IDM_DELTAB);
    for (int id : radios) EXPECT_TRUE(radio(id)) << id;
    EXPECT_FALSE(radio(IDM_AUTOADD));
    EXPECT_NE(pad->aboutText().find("Tessdeck Version: " TASKLOOM_VERSION "\n"), std::string::npos);
    pad->QuitBtnClick();
}

TEST_F(PadForm, SettingsAreReadAtStartAndAMalformedValueGivesTheDefaults) {
    SetRegString(registry_.machine(), kPadKey, "Settings", std::string("\t,10,20,3,0,1,1,2"));
    auto pad = Make({folder_ / "five.tkp"});
    EXPECT_EQ(RectOf(pad->hwnd()).left, 10);
    EXPECT_EQ(RectOf(pad->hwnd()).top, 20);
    EXPECT_EQ(pad->position(), 3);
    EXPECT_FALSE(GetMenuState(pad->popupMenu(), IDM_AUTOADD, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(pad->popupMenu(), IDM_AUTOHIDE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(pad->popupMenu(), IDM_K20, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(pad->popupMenu(), IDM_DELTAB, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(pad->engine().delimiter(), '\t');
    pad->QuitBtnClick();
    EXPECT_EQ(Value(registry_.machine(), kPadKey, "Settings"), "\t,10,20,3,0,1,1,2");

    SetRegString(registry_.machine(), kPadKey, "Settings", "\r,ten,20,3,0,1,1,2");
    pad = Make({folder_ / "five.tkp"});
    EXPECT_TRUE(IsWindowVisible(pad->hwnd()));  // start-up completed
    EXPECT_EQ(RectOf(pad->hwnd()).left, 428);
    EXPECT_NE(pad->aboutText().find("could not be read"), std::string::npos);
    pad->QuitBtnClick();
    EXPECT_EQ(Value(registry_.machine(), kPadKey, "Settings"), "\r,428,47,0,1,1,0,1");
}

TEST_F(PadForm, FallsBackToTheUsersHiveWhenTheMachinesCannotBeWritten) {
    // The machine's hive and the classes root stand in as keys that were
    // deleted: nothing can be created or written under them.
    for (int i : {0, 1}) {
        RegDeleteTreeA(HKEY_CURRENT_USER,
                       (std::string(kBase) + (i == 0 ? "\\machine" : "\\classes")).c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kBase) + (i == 0 ? "\\machine" : "\\classes")).c_str());
    }
    HKEY probe = nullptr;
    ASSERT_NE(
        RegCreateKeyExA(registry_.machine(), "probe", 0, nullptr, 0, KEY_WRITE, nullptr, &probe, nullptr),
        ERROR_SUCCESS);

    auto pad = Make({folder_ / "five.tkp"});
    EXPECT_EQ(pad->hive(), tessdeck::Hive::User);
    EXPECT_EQ(Value(registry_.user(), kPadKey, "DisplayName"), "Tessdeck");
    EXPECT_EQ(Value(registry_.user(), kPadKey, "UninstallString"), "C:\\Pads\\Tessdeck.exe /uninstall");
    EXPECT_EQ(Value(registry_.user(), "Software\\Classes\\.tks\\shell\\open\\command", nullptr),
              "c:\\pads\\tessdeck.exe \"%1\"");
    SetWindowPos(pad->hwnd(), nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pad->QuitBtnClick();
    EXPECT_EQ(Value(registry_.user(), kPadKey, "Settings"), "\r,300,310,0,1,1,0,1");

    // Read back from there at the next start.
    pad = Make({});
    EXPECT_EQ(pad->padFile(), folder_ / "five.tkp");
    EXPECT_EQ(RectOf(pad->hwnd()).left, 300);
    pad->QuitBtnClick();
}

TEST_F(PadForm, ABadIconNumberAfterALineWithoutTabKeepsTheIconsPlacedWithoutProgramsOrKeys) {
    auto pad = Make({folder_ / "five.tkp"});
    // A keyed icon, a line with no TAB, then a number that is none.
    taskloom::WriteTextFile(folder_ / "five.tkp", "1\tA\tCtrl+Alt+K\tcalc.exe\r9\rfive\tB\t\tb\r");
    try {
        pad->OpenPadClick(false);
        ADD_FAILURE() << "the bad number was not reported";
    } catch (const taskloom::PadTextError& e) {
        EXPECT_NE(std::string(e.what()).find("\"five\" is not a valid icon number"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(Images(pad->toolBar()), (std::vector<int>{1, 9}));
    ASSERT_EQ(pad->bar().size(), 2u);
    EXPECT_EQ(pad->bar()[0].hint, "A");
    EXPECT_EQ(pad->bar()[1].hint, "");
    for (const taskloom::PadSlot& slot : pad->slots()) EXPECT_EQ(slot, taskloom::PadSlot{});
    EXPECT_EQ(pad->storeTags(), (std::vector<int>{0, 0}));
    EXPECT_TRUE(HotKeyFree(MOD_CONTROL | MOD_ALT, 'K'));
    EXPECT_EQ(pad->moreOrLessHint(), "Tessdeck 2/2");
    pad->QuitBtnClick();
}

TEST_F(PadForm, AnUnreadablePadFileLeavesTheBarOfAnEmptyPad) {
    auto pad = Make({folder_ / "five.tkp"});
    pad->OpenPadClick(false);
    ASSERT_EQ(pad->maximum(), 4);
    // What an empty pad file shows.
    taskloom::WriteTextFile(folder_ / "empty.tkp", "");
    auto empty = Make({folder_ / "empty.tkp"});
    empty->OpenPadClick(false);
    ASSERT_EQ(empty->maximum(), -1);
    {
        // The file is there but held by another program that shares it
        // with nobody.
        wingui::ScopedHandle held(CreateFileA((folder_ / "five.tkp").c_str(), GENERIC_READ, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
        EXPECT_THROW(pad->OpenPadClick(false), std::exception);
    }
    EXPECT_TRUE(pad->bar().empty());
    EXPECT_EQ(SendMessageA(pad->toolBar(), TB_BUTTONCOUNT, 0, 0), 0);
    EXPECT_EQ(pad->maximum(), empty->maximum());
    EXPECT_EQ(pad->position(), empty->position());
    EXPECT_EQ(pad->moreOrLessHint(), empty->moreOrLessHint());
    EXPECT_EQ(pad->moreOrLessHint(), "Tessdeck 0/0");
    EXPECT_EQ(Width(*pad), Width(*empty));
    EXPECT_EQ(RectOf(pad->hwnd()).right - RectOf(pad->toolBar()).left,
              RectOf(empty->hwnd()).right - RectOf(empty->toolBar()).left);
    EXPECT_EQ(RectOf(pad->toolBar()).right - RectOf(pad->toolBar()).left,
              RectOf(empty->toolBar()).right - RectOf(empty->toolBar()).left);
    empty->QuitBtnClick();
    pad->QuitBtnClick();
}

TEST_F(PadForm, AScriptRunFromTheCommandLineKeepsTheSavedPlaceAndIconCount) {
    SetRegString(registry_.machine(), kPadKey, "Settings", "\r,100,120,4,0,1,1,2");
    // The script changes the clips delimiter, and only that.
    taskloom::WriteScriptFile(folder_ / "tab.tks", {"{:ClipsDelimiterTab}"});
    auto pad = Make({folder_ / "tab.tks"});
    EXPECT_TRUE(pad->exited());
    EXPECT_FALSE(IsWindowVisible(pad->hwnd()));
    EXPECT_EQ(Value(registry_.machine(), kPadKey, "Settings"), "\t,100,120,4,0,1,1,2");
}

TEST_F(PadForm, AScriptsClipsDelimiterIsTheOneTheMenuChecksAndTheExitSaves) {
    auto pad = Make({folder_ / "five.tkp"});
    auto checkedItem = [&](int id) {
        return (GetMenuState(pad->popupMenu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    taskloom::WriteScriptFile(folder_ / "tab.tks", {"{:ClipsDelimiterTab}"});
    pad->RunIt(folder_ / "tab.tks");
    EXPECT_EQ(pad->engine().delimiter(), '\t');
    EXPECT_TRUE(checkedItem(IDM_DELTAB));
    EXPECT_FALSE(checkedItem(IDM_DELNEWLINE));
    // A delimiter that no item names: none is checked, and the settings,
    // which cannot hold it, keep the last one they can.
    taskloom::WriteScriptFile(folder_ / "semicolon.tks", {"{:ClipsDelimiterOther ;}"});
    pad->RunIt(folder_ / "semicolon.tks");
    EXPECT_EQ(pad->engine().delimiter(), ';');
    for (int id : {IDM_DELNEWLINE, IDM_DELCOMMA, IDM_DELTAB, IDM_DELSPACE, IDM_DELNONE})
        EXPECT_FALSE(checkedItem(id)) << id;
    pad->QuitBtnClick();
    EXPECT_EQ(Value(registry_.machine(), kPadKey, "Settings"), "\t,428,47,0,1,1,0,1");
    // Read back at the next start: the pane and the menu agree.
    pad = Make({folder_ / "five.tkp"});
    EXPECT_EQ(pad->engine().delimiter(), '\t');
    EXPECT_TRUE(checkedItem(IDM_DELTAB));
    pad->QuitBtnClick();
}

TEST_F(PadForm, AMachineKeyThatCannotBeWrittenIsReadAndTheUsersKeyTakesItsValues) {
    SetRegString(registry_.machine(), kPadKey, "Pad", folder_ / "five.tkp");
    SetRegString(registry_.machine(), kPadKey, "Settings", "\r,100,120,2,1,1,0,2");
    // The machine's key may be read (and, for the test's own clean-up,
    // deleted), not written.
    {
        HKEY k = nullptr;
        ASSERT_EQ(RegOpenKeyExA(registry_.machine(), kPadKey.c_str(), 0, KEY_ALL_ACCESS, &k), ERROR_SUCCESS);
        ASSERT_TRUE(ReadOnlyKey(k));
        RegCloseKey(k);
        ASSERT_NE(RegOpenKeyExA(registry_.machine(), kPadKey.c_str(), 0, KEY_SET_VALUE, &k), ERROR_SUCCESS);
    }
    // Were the machine's values lost, the pad would ask for a pad file.
    std::atomic<bool> started{false}, asked{false};
    std::thread canceller([&] {
        HWND dialog = nullptr;
        WaitUntil([&] { return started || (dialog = FindWindowA(nullptr, "Open New Tessdeck")) != nullptr; },
                  20000);
        if (dialog) {
            asked = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    auto pad = Make({});
    started = true;
    canceller.join();
    EXPECT_FALSE(asked);
    EXPECT_EQ(pad->hive(), tessdeck::Hive::User);
    EXPECT_EQ(pad->padFile(), folder_ / "five.tkp");
    EXPECT_EQ(pad->bar().size(), 5u);
    EXPECT_EQ(RectOf(pad->hwnd()).left, 100);
    EXPECT_EQ(RectOf(pad->hwnd()).top, 120);
    EXPECT_EQ(pad->position(), 2);
    EXPECT_TRUE(GetMenuState(pad->popupMenu(), IDM_K20, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(Value(registry_.user(), kPadKey, "Pad"), folder_ / "five.tkp");
    SetWindowPos(pad->hwnd(), nullptr, 130, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pad->QuitBtnClick();
    EXPECT_EQ(Value(registry_.user(), kPadKey, "Settings"), "\r,130,140,2,1,1,0,2");
    EXPECT_EQ(Value(registry_.machine(), kPadKey, "Settings"), "\r,100,120,2,1,1,0,2");
    // The next start reads the user's key, where the changes went.
    pad = Make({});
    EXPECT_EQ(RectOf(pad->hwnd()).left, 130);
    pad->QuitBtnClick();
}

TEST_F(PadForm, TheSessionsEndSavesTheSettings) {
    auto pad = Make({folder_ / "five.tkp"});
    SetWindowPos(pad->hwnd(), nullptr, 150, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SendMessageA(pad->hwnd(), WM_QUERYENDSESSION, 0, 0));
    SendMessageA(pad->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(Value(registry_.machine(), kPadKey, "Settings"), "\r,150,160,0,1,1,0,1");
    EXPECT_EQ(Value(registry_.machine(), kPadKey, "Pad"), folder_ / "five.tkp");
}

TEST_F(PadForm, TheClipsImageItsHintAndThePanesKeysReachTheClipsPaneUntilTheExit) {
    auto pad = Make({folder_ / "five.tkp"});
    const HWND image = pad->clipsImage(), pane = pad->clipsPane();
    const auto click = [&] {
        SendMessageA(pad->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(image), STN_CLICKED),
                     reinterpret_cast<LPARAM>(image));
    };
    const auto paneShown = [&] { return (GetWindowLongA(pane, GWL_STYLE) & WS_VISIBLE) != 0; };
    ASSERT_FALSE(paneShown());
    click();
    EXPECT_TRUE(paneShown());
    // The image's tooltip asks the form for its text: the pane's hint.
    NMTTDISPINFOA info{};
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(image);
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(pad->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_FALSE(pad->clipsHint().empty());
    EXPECT_EQ(std::string(info.lpszText), pad->clipsHint());
    // The pane's own keys: F5 to the last clip's end, F4 back to the start.
    SetWindowTextA(pane, "one\r\ntwo");
    pad->UpdateLinePos();  // the pane's menu items follow its text
    SendMessageA(pane, WM_KEYDOWN, VK_F5, 0);
    DWORD from = 0, to = 0;
    SendMessageA(pane, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_GT(from, 5u);
    EXPECT_EQ(from, to);
    SendMessageA(pane, WM_KEYDOWN, VK_F4, 0);
    SendMessageA(pane, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    click();
    EXPECT_FALSE(paneShown());
    // Once the pad has exited, a click shows nothing.
    pad->QuitBtnClick();
    click();
    EXPECT_FALSE(paneShown());
}

}  // namespace
