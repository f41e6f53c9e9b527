// Loomwright on real windows: the program started as a program, and its form
// hosted in this process on a thread of its own (menus can only be read in
// one's own process under Wine) while the test drives it through standard
// control messages and real key presses, and reads it back the same way.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "composer/control_ids.h"
#include "composer/loomwright.h"
#include "composer/tessdeck_page.h"
#include "composer/vexa_form.h"
#include "pad/model/pad_text.h"
#include "win32/win32_desktop.h"
#include "resources/loomwright_ids.h"
#include "tests/win32/composer_thread.h"
#include "tests/win32/helpers.h"
#include "wingui/dpi.h"
#include "wingui/error_report.h"

namespace loomwright {
namespace {

using taskloom::wintest::ControlText;
using taskloom::wintest::HintOf;
using taskloom::wintest::KeyEvent;
using taskloom::wintest::MessageBoxTexts;
using taskloom::wintest::PressKey;
using taskloom::wintest::PressKeys;
using taskloom::wintest::TreeItemText;
using taskloom::wintest::WaitUntil;

// The composer's form on a user-interface thread of its own, driven and
// read from the test's thread.
class Composer : public ComposerThread {
public:
    using ComposerThread::ComposerThread;

    HWND page(int i) const { return GetDlgItem(form(), kIdPageFirst + i); }
    // A page's controls are made when first needed: asking for one is a need.
    HWND control(int pageIndex, int id) {
        call([&] { object().ensurePage(pageIndex); });
        return GetDlgItem(page(pageIndex), id);
    }
    HWND formControl(int id) const { return GetDlgItem(form(), id); }
    HWND macroBox() const { return formControl(kIdMacroBox); }

    void menu(int id) { SendMessageA(form(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void showPage(int i) { menu(IDM_PAGE_FIRST + i); }
    void click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }

    // Read on the form's thread, so that the list cannot change in the middle.
    std::vector<std::string> lines() {
        std::vector<std::string> out;
        call([&] {
            const int n = static_cast<int>(SendMessageA(macroBox(), LB_GETCOUNT, 0, 0));
            for (int i = 0; i < n; ++i) out.push_back(ListText(macroBox(), i));
        });
        return out;
    }

    static std::string ListText(HWND list, int i) {
        const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (n == LB_ERR) return "<no line " + std::to_string(i) + ">";
        std::string s(static_cast<size_t>(n) + 1, '\0');
        s.resize(static_cast<size_t>(
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()))));
        return s;
    }

    // The text of panel `part` of the status bar `bar`, read on the form's
    // thread: the text cannot change between asking its length and reading
    // it. The buffer holds at least 512 bytes for a bar that answers the
    // length of the simple panel (SB_SIMPLEID) with less than its text.
    std::string barText(HWND bar, WPARAM part) {
        std::string text;
        call([&] {
            const std::size_t length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0));
            text.assign(std::max<std::size_t>(length + 1, 512), '\0');
            SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text.data()));
        });
        text.resize(std::strlen(text.c_str()));
        return text;
    }
    std::string statusPanel(int part) {
        return barText(formControl(kIdStatusBar), static_cast<WPARAM>(part));
    }

    std::string tabCaption(int i) const {
        char text[128] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(formControl(kIdPageControl), TCM_GETITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        return text;
    }

    // Picks a title on the Windows page as a click does: the titles are
    // listed afresh, the entry selected and the list's click handler run.
    void pickTitle(const std::string& title) {
        showPage(kWindowPage);
        click(control(kWindowPage, kIdRefreshBtn));
        const HWND titles = control(kWindowPage, kIdTitleBox);
        const LRESULT i = SendMessageA(titles, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(title.c_str()));
        ASSERT_NE(i, LB_ERR) << "title not listed: " << title;
        SendMessageA(titles, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageA(page(kWindowPage), WM_COMMAND, MAKEWPARAM(kIdTitleBox, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(titles));
    }

    // A line typed into the Keys page's key field as it stands, then Add.
    void addTyped(const std::string& line) {
        showPage(kKeysPage);
        SetWindowTextA(control(kKeysPage, kIdKeyStrokes), line.c_str());
        click(formControl(kIdAddBtn));
    }

    // The form in front, as the user clicks it before pressing keys. False
    // when it does not come forward.
    bool inFront() {
        SetForegroundWindow(form());
        return WaitUntil([&] { return GetForegroundWindow() == form(); }, 5000);
    }
    // The keyboard goes to `field`: the form in front, the field focused.
    bool focusOn(HWND field) {
        SetForegroundWindow(form());
        call([&] { SetFocus(field); });
        return WaitUntil([&] { return GetForegroundWindow() == form(); }, 5000);
    }
    // The keyboard goes to the key field.
    void focusKeyStrokes() {
        showPage(kKeysPage);
        ASSERT_TRUE(focusOn(control(kKeysPage, kIdKeyStrokes)));
    }
};

bool WaitForText(HWND control, const std::string& text) {
    return WaitUntil([&] { return ControlText(control) == text; }, 10000);
}

// The file dialogs, printing, the shell, the fine timer and the session
// notices are loaded when first used: an import of any of them would load
// it (and what it imports) before either program's first line runs.
TEST(Composer, NeitherProgramImportsTheLibrariesItLoadsWhenFirstUsed) {
    for (const char* exe : {LOOMWRIGHT_EXE, TESSDECK_EXE}) {
        const std::vector<std::string> imports =
            taskloom::wintest::ImportedLibraries(taskloom::wintest::FromBuildPath(exe));
        EXPECT_NE(std::find(imports.begin(), imports.end(), "user32.dll"), imports.end()) << exe;
        for (const char* late : {"comdlg32.dll", "shell32.dll", "winmm.dll", "wtsapi32.dll", "winspool.drv"})
            EXPECT_EQ(std::find(imports.begin(), imports.end(), late), imports.end())
                << exe << " imports " << late;
    }
}

// Every item of a menu is reached by a letter of its own: a letter two
// items share only moves between them.
TEST(Composer, EachMenusItemsHaveLettersOfTheirOwn) {
    Composer c;
    const HMENU bar = GetMenu(c.form());
    ASSERT_NE(bar, nullptr);
    auto letters = [](HMENU menu) {
        std::vector<std::string> out;  // "X: caption" per item with a letter
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[128] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            const char* amp = std::strchr(text, '&');
            if (amp && amp[1])
                out.push_back(std::string(1, static_cast<char>(std::toupper(amp[1]))) + ": " + text);
        }
        return out;
    };
    std::vector<HMENU> menus{bar};
    for (int i = 0; i < GetMenuItemCount(bar); ++i) menus.push_back(GetSubMenu(bar, i));
    for (HMENU menu : menus) {
        std::vector<std::string> items = letters(menu);
        ASSERT_FALSE(items.empty());
        std::sort(items.begin(), items.end());
        for (std::size_t i = 1; i < items.size(); ++i)
            EXPECT_NE(items[i][0], items[i - 1][0]) << items[i - 1] << " and " << items[i];
    }
}

TEST(Composer, StartsAsANewScriptWithItsEightPages) {
    // The program itself: a window with the caption of a new script.
    taskloom::wintest::ChildProcess program(
        taskloom::wintest::Quote(taskloom::wintest::FromBuildPath(LOOMWRIGHT_EXE)));
    ASSERT_NE(taskloom::wintest::WaitForWindow("Taskloom - New", program.id()), nullptr);

    Composer c;
    EXPECT_EQ(ControlText(c.form()), "Taskloom - New");
    const char* captions[] = {"Windows", "Menus", "Controls", "Commands",
                              "Keys",    "Popup", "Clips",    "Tessdeck"};
    ASSERT_EQ(SendMessageA(c.formControl(kIdPageControl), TCM_GETITEMCOUNT, 0, 0), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(c.tabCaption(i), captions[i]);
    EXPECT_EQ(SendMessageA(c.formControl(kIdPageControl), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(IsWindowEnabled(c.formControl(kIdTestBtn)));
    EXPECT_FALSE(IsWindowEnabled(c.formControl(kIdDelBtn)));
    EXPECT_EQ(ControlText(c.formControl(kIdAddBtn)), "&Add");
    EXPECT_EQ(ControlText(c.formControl(kIdTestBtn)), "&Test");
    EXPECT_EQ(c.statusPanel(0), "Empty");
    EXPECT_EQ(ControlText(c.control(kWindowPage, kIdMatchBox)), "&Match only first 2 characters");
    // The buttons' hints, on the form and on the pages.
    EXPECT_EQ(HintOf(c.form(), c.formControl(kIdDelBtn)), "Delete selected line");
    EXPECT_EQ(HintOf(c.form(), c.control(kCommandPage, kIdBrowseBtn)), "Browse...");
    EXPECT_EQ(HintOf(c.form(), c.control(kCommandPage, kIdPauseEdit)),
              "Select clips line# or seconds to pause");

    // The Tessdeck page shows the page control only; the others the whole form.
    RECT tall{}, shortened{};
    GetWindowRect(c.form(), &tall);
    c.showPage(kRunPage);
    GetWindowRect(c.form(), &shortened);
    EXPECT_FALSE(IsWindowVisible(c.formControl(kIdStatusBar)));
    EXPECT_LT(shortened.bottom - shortened.top, tall.bottom - tall.top);
    c.showPage(kKeysPage);
    RECT again{};
    GetWindowRect(c.form(), &again);
    EXPECT_EQ(again.bottom - again.top, tall.bottom - tall.top);
    EXPECT_TRUE(IsWindowVisible(c.formControl(kIdStatusBar)));
    EXPECT_EQ(SendMessageA(c.formControl(kIdPageControl), TCM_GETCURSEL, 0, 0), kKeysPage);
    // The page whose work is not built yet says so, and its Add adds nothing.
    c.showPage(kCommandPage);
    c.click(c.formControl(kIdAddBtn));
    EXPECT_TRUE(c.lines().empty());
}

TEST(Composer, PickedTitleAndMatchOnlyFirstGiveSwitchLines) {
    taskloom::wintest::Target target("\"Composer {Pick} Target\"", "Composer {Pick} Target");
    ASSERT_NE(target.window(), nullptr);
    Composer c;
    c.pickTitle("Composer {Pick} Target");
    c.click(c.formControl(kIdAddBtn));
    // With eight characters matched the next line is a prefix switch, once.
    const HWND bar = c.control(kWindowPage, kIdTrackBar1);
    SendMessageA(bar, TBM_SETPOS, TRUE, 8);
    SendMessageA(c.page(kWindowPage), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(ControlText(c.control(kWindowPage, kIdMatchBox)), "&Match only first 8 characters");
    SendMessageA(c.control(kWindowPage, kIdMatchBox), BM_SETCHECK, BST_CHECKED, 0);
    c.click(c.formControl(kIdAddBtn));
    c.click(c.formControl(kIdAddBtn));
    EXPECT_EQ(c.lines(), (std::vector<std::string>{"{:TO Composer {{{Pick}}} Target}", "{:To Composer}",
                                                   "{:TO Composer {{{Pick}}} Target}"}));
    EXPECT_EQ(SendMessageA(c.control(kWindowPage, kIdMatchBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(c.statusPanel(0), "Line: 3");
    EXPECT_TRUE(IsWindowEnabled(c.formControl(kIdTestBtn)));
    EXPECT_EQ(c.statusPanel(1), "Composer {Pick} Target {Menu: }");
    // A moved track bar never stays below 2.
    SendMessageA(bar, TBM_SETPOS, TRUE, 1);
    SendMessageA(c.page(kWindowPage), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(SendMessageA(bar, TBM_GETPOS, 0, 0), 2);

    // Delete, Up and Down on the real list.
    SendMessageA(c.macroBox(), LB_SETCURSEL, 1, 0);
    SendMessageA(c.form(), WM_COMMAND, MAKEWPARAM(kIdMacroBox, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(c.macroBox()));
    c.click(c.formControl(kIdUpBtn));
    EXPECT_EQ(c.lines()[0], "{:To Composer}");
    EXPECT_EQ(c.statusPanel(0), "Line: 1");
    EXPECT_FALSE(IsWindowEnabled(c.formControl(kIdUpBtn)));
    c.click(c.formControl(kIdDelBtn));
    EXPECT_EQ(c.lines().size(), 2u);
    EXPECT_EQ(c.lines()[0], "{:TO Composer {{{Pick}}} Target}");
}

TEST(Composer, KeysPageTurnsRealKeyPressesIntoTokensAndLines) {
    Composer c;
    const HWND keys = c.control(kKeysPage, kIdKeyStrokes);
    const HWND count = c.control(kKeysPage, kIdCountEdit);
    c.focusKeyStrokes();

    // Ctrl+A: the combination is added at once, nothing left in the field.
    KeyEvent(VK_CONTROL, false);
    ASSERT_TRUE(WaitForText(keys, "{Ctrl}"));
    PressKey('A');
    KeyEvent(VK_CONTROL, true);
    ASSERT_TRUE(WaitUntil([&] { return c.lines().size() == 1; }, 10000));
    EXPECT_EQ(c.lines()[0], "{Ctrl}A");
    EXPECT_TRUE(WaitForText(keys, ""));

    // Down with the count at 4, F5 with the count at 4.
    SetWindowTextA(count, "4");
    PressKey(VK_DOWN);
    ASSERT_TRUE(WaitForText(keys, "{Down 4}"));
    EXPECT_EQ(ControlText(count), "1");
    SetWindowTextA(count, "4");
    PressKey(VK_F5);
    ASSERT_TRUE(WaitForText(keys, "{Down 4}{F5}"));
    EXPECT_EQ(ControlText(count), "4");
    c.click(c.control(kKeysPage, kIdClearKeysBtn));
    EXPECT_EQ(ControlText(keys), "");
    EXPECT_EQ(ControlText(count), "1");

    // Shift+5: the digit is the key's unshifted character; "%" goes nowhere.
    KeyEvent(VK_SHIFT, false);
    ASSERT_TRUE(WaitForText(keys, "{Shift}"));
    PressKey('5');
    KeyEvent(VK_SHIFT, true);
    ASSERT_TRUE(WaitUntil([&] { return c.lines().size() == 2; }, 10000));
    EXPECT_EQ(c.lines()[1], "{Shift}5");
    EXPECT_TRUE(WaitForText(keys, ""));

    // Alt+F: a line, and no menu opened by letting Alt go.
    KeyEvent(VK_MENU, false);
    ASSERT_TRUE(WaitForText(keys, "{Alt}"));
    PressKey('F');
    KeyEvent(VK_MENU, true);
    ASSERT_TRUE(WaitUntil([&] { return c.lines().size() == 3; }, 10000));
    EXPECT_EQ(c.lines()[2], "{Alt}F");

    // The Tab key button with a count, text in the text field, then Add.
    SetWindowTextA(count, "2");
    c.click(c.control(kKeysPage, kIdTabBtn));
    EXPECT_EQ(ControlText(keys), "{Tab 2}");
    SetWindowTextA(c.control(kKeysPage, kIdAutoText), "a{b");
    c.click(c.formControl(kIdAddBtn));
    ASSERT_EQ(c.lines().size(), 4u);
    EXPECT_EQ(c.lines()[3], "{Tab 2}a{{{b");
    EXPECT_EQ(ControlText(c.control(kKeysPage, kIdAutoText)), "");
    EXPECT_FALSE(taskloom::wintest::ModifierDown());
}

TEST(Composer, PopupBlockIsWrittenReadBackAndDeletedWhole) {
    Composer c;
    c.showPage(kPopPage);
    SetWindowTextA(c.control(kPopPage, kIdPopMemo), "first\r\nsecond");
    c.click(c.formControl(kIdAddBtn));
    const std::vector<std::string> block{"{:PopUp 200 200 Notes:}", "first", "second", "{:/}"};
    EXPECT_EQ(c.lines(), block);

    // Other values on the page; a click on the header reads the block back.
    SendMessageA(c.control(kPopPage, kIdPopBarH), TBM_SETPOS, TRUE, 1);
    SendMessageA(c.control(kPopPage, kIdPopBarV), TBM_SETPOS, TRUE, 5);
    SetWindowTextA(c.control(kPopPage, kIdPopTitle), "Other");
    SetWindowTextA(c.control(kPopPage, kIdPopMemo), "");
    SendMessageA(c.macroBox(), LB_SETCURSEL, 0, 0);
    SendMessageA(c.form(), WM_COMMAND, MAKEWPARAM(kIdMacroBox, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(c.macroBox()));
    EXPECT_EQ(SendMessageA(c.control(kPopPage, kIdPopBarH), TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(SendMessageA(c.control(kPopPage, kIdPopBarV), TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(ControlText(c.control(kPopPage, kIdPopTitle)), "Notes:");
    EXPECT_EQ(ControlText(c.control(kPopPage, kIdPopMemo)), "first\r\nsecond");

    // A plain line and a remark block after the note block, then the note
    // block deleted from its header: header, text and closing line go
    // together, and nothing after them.
    SendMessageA(c.macroBox(), LB_SETCURSEL, 3, 0);
    SendMessageA(c.form(), WM_COMMAND, MAKEWPARAM(kIdMacroBox, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(c.macroBox()));
    c.addTyped("{Enter}");
    c.showPage(kPopPage);
    SendMessageA(c.control(kPopPage, kIdPopBarH), TBM_SETPOS, TRUE, 1);
    SendMessageA(c.control(kPopPage, kIdPopBarV), TBM_SETPOS, TRUE, 5);
    SendMessageA(c.control(kPopPage, kIdRemarkBox), BM_SETCHECK, BST_CHECKED, 0);
    SetWindowTextA(c.control(kPopPage, kIdPopMemo), "why");
    c.click(c.formControl(kIdAddBtn));
    EXPECT_EQ(SendMessageA(c.control(kPopPage, kIdRemarkBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(c.macroBox(), LB_SETCURSEL, 0, 0);
    SendMessageA(c.form(), WM_COMMAND, MAKEWPARAM(kIdMacroBox, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(c.macroBox()));
    c.click(c.formControl(kIdDelBtn));
    EXPECT_EQ(c.lines(), (std::vector<std::string>{"{Enter}", "{:/ Remark}", "why", "{:/}"}));
    EXPECT_EQ(c.statusPanel(0), "Line: 1");
}

TEST(Composer, HeaderThatDoesNotConvertIsReportedAndKeepsThePage) {
    Composer c;
    SendMessageA(c.control(kPopPage, kIdPopBarV), TBM_SETPOS, TRUE, 4);
    // Added from the key field: the new line is selected and read back at
    // once, on the form's thread; the report is a message box there.
    c.showPage(kKeysPage);
    SetWindowTextA(c.control(kKeysPage, kIdKeyStrokes), "{:PopUp x1 100 T}");
    PostMessageA(c.formControl(kIdAddBtn), BM_CLICK, 0, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            box = FindWindowA("#32770", "Taskloom");
            return box != nullptr && IsWindowVisible(box);
        },
        10000));
    const std::string text = MessageBoxTexts(box);
    EXPECT_NE(text.find("line 1: the popup header position \"x1\""), std::string::npos) << text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
    EXPECT_EQ(c.lines(), std::vector<std::string>{"{:PopUp x1 100 T}"});
    EXPECT_EQ(SendMessageA(c.control(kPopPage, kIdPopBarV), TBM_GETPOS, 0, 0), 4);
    EXPECT_EQ(ControlText(c.control(kPopPage, kIdPopTitle)), "Notes:");
    // The form goes on working.
    c.addTyped("b");
    EXPECT_EQ(c.lines().size(), 2u);
}

// A window of this process with a menu of four levels, separators and a
// padded item text.
HMENU MakeTestMenu() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    HMENU one = CreatePopupMenu();
    AppendMenuA(one, MF_STRING, 10, "Fourth level");
    AppendMenuA(recent, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(one), "One");
    AppendMenuA(file, MF_STRING, 11, "&Open");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent");
    AppendMenuA(file, MF_STRING, 12, "  Padded  ");
    AppendMenuA(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 13, "&Copy");
    AppendMenuA(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    return bar;
}

std::vector<std::string> TreeTexts(HWND tree, HTREEITEM item, int depth) {
    std::vector<std::string> out;
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        out.push_back(std::string(static_cast<size_t>(depth), '.') + TreeItemText(tree, item));
        const auto child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        for (std::string& s : TreeTexts(tree, child, depth + 1)) out.push_back(std::move(s));
    }
    return out;
}

HTREEITEM FindTreeItem(HWND tree, HTREEITEM item, const std::string& text) {
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        if (TreeItemText(tree, item) == text) return item;
        const auto child = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        if (HTREEITEM found = FindTreeItem(tree, child, text)) return found;
    }
    return nullptr;
}

TEST(Composer, MenusPageShowsTheMenuTreeAndAddsMenuLines) {
    Composer c;
    HWND owner = nullptr;
    c.call([&] {
        owner = CreateWindowA("STATIC", "Menu Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                              nullptr, MakeTestMenu(), GetModuleHandleA(nullptr), nullptr);
    });
    ASSERT_NE(owner, nullptr);
    c.pickTitle("Menu Owner");
    c.showPage(kMenusPage);
    // Chosen through the tab (the page change rereads the menu).
    NMHDR change{c.formControl(kIdPageControl), kIdPageControl, TCN_SELCHANGE};
    SendMessageA(c.formControl(kIdPageControl), TCM_SETCURSEL, kMenusPage, 0);
    SendMessageA(c.form(), WM_NOTIFY, kIdPageControl, reinterpret_cast<LPARAM>(&change));
    const HWND tree = c.control(kMenusPage, kIdMenuTree);
    const auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    EXPECT_EQ(TreeTexts(tree, root, 0),
              (std::vector<std::string>{"Menu Owner", ".&File", "..&Open", "..&Recent", "...One", "..Padded",
                                        ".&Edit", "..&Copy"}));
    // The first bar item is selected after the walk.
    EXPECT_EQ(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0),
              reinterpret_cast<LRESULT>(FindTreeItem(tree, root, "&File")));

    // A drop-down item chosen: the status bar names it; Add gives the
    // switch line (the script is not yet at this window) and the menu line.
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(FindTreeItem(tree, root, "&Open")));
    // The path's ESC separators (a status bar under Wine shows them as blanks).
    std::string panel = c.statusPanel(1);
    std::replace(panel.begin(), panel.end(), '\x1b', ' ');
    EXPECT_EQ(panel, "Menu Owner {Menu:  &File &Open}");
    c.click(c.formControl(kIdAddBtn));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FindTreeItem(tree, root, "One")));
    c.click(c.formControl(kIdAddBtn));
    EXPECT_EQ(c.lines(), (std::vector<std::string>{"{:TO Menu Owner}", "{:Menu \x1b&File\x1b&Open}",
                                                   "{:Menu \x1b&File\x1b&Recent\x1bOne}"}));
    c.call([&] { DestroyWindow(owner); });
}

// Pages other than Windows are made when first needed. Made late, without
// being shown, each holds what it was given or starts with: the control list
// of a title picked before the Controls page existed, the Popup and Keys
// pages' start values, the clips buffer as it stands.
TEST(Composer, PagesMadeWhenFirstNeededHoldWhatTheyWereGiven) {
    taskloom::wintest::Target target("--form", "Order Form");
    ASSERT_NE(target.window(), nullptr);
    Composer c;
    std::vector<int> madeAtStart;
    c.call([&] {
        for (int p = 0; p < 8; ++p)
            if (c.object().pageMade(p)) madeAtStart.push_back(p);
    });
    // The Menus page comes with the first title's menu, once the window shows.
    EXPECT_EQ(madeAtStart, (std::vector<int>{kWindowPage, kMenusPage}));

    c.pickTitle("Order Form");
    bool ctrlMade = true, keysMade = true;
    c.call([&] {
        ctrlMade = c.object().pageMade(kCtrlPage);
        keysMade = c.object().pageMade(kKeysPage);
    });
    EXPECT_FALSE(ctrlMade);
    EXPECT_FALSE(keysMade);
    const std::string list = ControlText(c.control(kCtrlPage, kIdCtrl));
    EXPECT_NE(list.find("Name:"), std::string::npos) << list;
    EXPECT_NE(list.find("Send"), std::string::npos) << list;
    // Its read-out is the caret's, at the start of the list.
    char readOut[128] = {};
    SendMessageA(c.control(kCtrlPage, kIdClipsStatusBar), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(readOut));
    EXPECT_EQ(std::string(readOut), taskloom::UpdateLineCol(0, 0, 0, 0));

    EXPECT_EQ(ControlText(c.control(kPopPage, kIdPopTitle)), "Notes:");
    EXPECT_EQ(SendMessageA(c.control(kPopPage, kIdPopBarH), TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(SendMessageA(c.control(kPopPage, kIdPopBarV), TBM_GETPOS, 0, 0), 3);

    // The Keys page starts empty, a count of 1, no key name chosen (the
    // title pick chose none).
    EXPECT_EQ(ControlText(c.control(kKeysPage, kIdKeyStrokes)), "");
    EXPECT_EQ(ControlText(c.control(kKeysPage, kIdAutoText)), "");
    EXPECT_EQ(ControlText(c.control(kKeysPage, kIdCountEdit)), "1");
    EXPECT_EQ(SendMessageA(c.control(kKeysPage, kIdKeyBox), LB_GETCURSEL, 0, 0), LB_ERR);

    c.call([&] { c.object().engine().clips().setLines({"first clip", "second clip"}); });
    EXPECT_EQ(ControlText(c.control(kClipsPage, kIdClipsMemo)), "first clip\r\nsecond clip");
}

TEST(Composer, ControlsPageListsControlsAndReadsOutTheCaret) {
    taskloom::wintest::Target target("--form", "Order Form");
    ASSERT_NE(target.window(), nullptr);
    Composer c;
    c.pickTitle("Order Form");
    c.showPage(kCtrlPage);
    EXPECT_EQ(c.tabCaption(kCtrlPage), "Controls");
    const HWND ctrl = c.control(kCtrlPage, kIdCtrl);
    const std::string list = ControlText(ctrl);
    EXPECT_NE(list.find("Name:"), std::string::npos) << list;
    EXPECT_NE(list.find("Send"), std::string::npos) << list;
    const HWND panel = c.control(kCtrlPage, kIdClipsStatusBar);
    auto readOut = [&] { return c.barText(panel, 0); };
    // The caret in the line of the order number, third column, four
    // characters selected.
    const int lines = static_cast<int>(SendMessageA(ctrl, EM_GETLINECOUNT, 0, 0));
    int order = -1;
    for (int i = 0; i < lines && order < 0; ++i) {
        char text[128] = {};
        *reinterpret_cast<WORD*>(text) = sizeof text - 1;
        const LRESULT n =
            SendMessageA(ctrl, EM_GETLINE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        if (std::string(text, static_cast<size_t>(n)).rfind("Order A-1234-XY", 0) == 0) order = i;
    }
    ASSERT_GT(order, 0) << list;
    const LRESULT start = SendMessageA(ctrl, EM_LINEINDEX, static_cast<WPARAM>(order), 0);
    CHARRANGE sel{static_cast<LONG>(start + 2), static_cast<LONG>(start + 6)};
    SendMessageA(ctrl, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    char expected[64];
    snprintf(expected, sizeof expected, "Line: %3d  Col: %3d  Len: %3d", order + 1, 3, 4);
    EXPECT_EQ(readOut(), expected);
    sel = {0, 0};
    SendMessageA(ctrl, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(readOut(), "Line:   1  Col:   1  Len:   0");
}

TEST(Composer, TestRunsTheScriptIntoARealWindowAndAbortStopsALoop) {
    taskloom::wintest::Target target("\"Composer Typing\"", "Composer Typing");
    ASSERT_NE(target.field(), nullptr);
    Composer c;
    c.pickTitle("Composer Typing");
    c.click(c.formControl(kIdAddBtn));
    c.showPage(kKeysPage);
    SetWindowTextA(c.control(kKeysPage, kIdAutoText), "hello");
    c.click(c.formControl(kIdAddBtn));
    ASSERT_EQ(c.lines(), (std::vector<std::string>{"{:TO Composer Typing}", "hello"}));
    const HWND test = c.formControl(kIdTestBtn);
    PostMessageA(test, BM_CLICK, 0, 0);
    EXPECT_EQ(target.fieldText("hello"), "hello");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(test) == "&Test"; }, 10000));
    // The running line was selected in the list: the last one.
    EXPECT_EQ(c.statusPanel(0), "Line: 2");

    // A loop: each round types one "x" and waits a little.
    c.addTyped("{.Again}");
    c.addTyped("x");
    c.addTyped("{:Pause1/10 1}");
    c.addTyped("{:Goto Again}");
    PostMessageA(test, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(target.field()).size() >= 8; }, 20000));
    EXPECT_EQ(ControlText(test), "&Abort");
    PostMessageA(test, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(test) == "&Test"; }, 10000));
    const std::string stopped = target.fieldText();
    Sleep(600);
    EXPECT_EQ(ControlText(target.field()), stopped);
    EXPECT_EQ(stopped.rfind("hello", 0), 0u) << stopped;
    EXPECT_FALSE(taskloom::wintest::ModifierDown());
}

// The composer's own Test, started from its window, of a switch to a
// program we did not write and a key line: every key lands there, the
// first word too. Once in about fifteen runs the first word went into the
// composer, which still had the foreground when the keys were sent. The
// soak (docs/reliability.md) repeats this case.
TEST(Composer, TestOfASwitchThenAKeyLineTypesEveryKeyIntoTheSwitchedToWindow) {
    taskloom::wintest::ChildProcess notepad("notepad.exe");
    const HWND main = taskloom::wintest::WaitForWindow("Untitled - Notepad", notepad.id());
    ASSERT_NE(main, nullptr);
    taskloom::wintest::WaitForStartup(notepad, main);
    const HWND edit = taskloom::wintest::FindChildByClass(main, "Edit");
    ASSERT_NE(edit, nullptr);
    Composer c;
    c.call([&] { c.object().setScript({"{:TO Untitled - Notepad}", "typed by the composer"}); });
    ASSERT_TRUE(c.inFront());
    const HWND test = c.formControl(kIdTestBtn);
    PostMessageA(test, BM_CLICK, 0, 0);
    EXPECT_EQ(taskloom::wintest::ReadUntilStable(edit, std::string("typed by the composer")),
              "typed by the composer");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(test) == "&Test"; }, 20000));
    EXPECT_FALSE(taskloom::wintest::ModifierDown());
}

HWND WaitForOwnedDialog(HWND owner);

// A looping script is stopped from the keyboard as well as by the mouse:
// while a run lets its own messages run, the form's dialog keys still work.
TEST(Composer, KeyboardStopsARunningTestWithItsMnemonicAndEsc) {
    Composer c;
    c.call([&] { c.object().setScript({"{.Again}", "{:Pause1/10 1}", "{:Goto Again}"}); });
    const HWND test = c.formControl(kIdTestBtn);
    for (const bool esc : {false, true}) {
        ASSERT_TRUE(c.inFront());
        PostMessageA(test, BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return ControlText(test) == "&Abort"; }, 10000));
        Sleep(300);
        EXPECT_EQ(ControlText(test), "&Abort");  // the loop runs on by itself
        if (esc) {
            PressKey(VK_ESCAPE);
        } else {
            PressKeys({VK_MENU}, 'A');
        }
        EXPECT_TRUE(WaitUntil([&] { return ControlText(test) == "&Test"; }, 10000))
            << (esc ? "Esc" : "Alt+A") << " did not stop the run";
        if (ControlText(test) != "&Test") PostMessageA(test, BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return ControlText(test) == "&Test"; }, 10000));
    }
    EXPECT_FALSE(taskloom::wintest::ModifierDown());
}

// --- Stepping -------------------------------------------------------------

// Where the engine's paused run stands: the line it runs next, -1 when none
// is paused (a run in progress counts as none).
int PausedAt(Composer& c) {
    int at = -1;
    c.call([&] {
        if (c.object().engine().paused()) at = static_cast<int>(c.object().engine().pausedAt());
    });
    return at;
}

int Selected(Composer& c) { return static_cast<int>(SendMessageA(c.macroBox(), LB_GETCURSEL, 0, 0)); }

// F10 runs the selected line only and selects the next, typing into the
// window the script switched to, the composer back in front between steps.
TEST(Composer, StepRunsOneLineAtATimeIntoARealWindow) {
    taskloom::wintest::Target target("\"Composer Stepping\"", "Composer Stepping");
    ASSERT_NE(target.field(), nullptr);
    Composer c;
    c.call([&] { c.object().setScript({"{:TO Composer Stepping}", "one ", "two"}); });
    c.call([&] { c.object().selectLine(0); });
    ASSERT_TRUE(c.inFront());
    PressKey(VK_F10);
    ASSERT_TRUE(WaitUntil([&] { return PausedAt(c) == 1; }, 10000));
    EXPECT_EQ(Selected(c), 1);
    EXPECT_EQ(c.statusPanel(0), "Line: 2");
    EXPECT_EQ(c.statusPanel(1), "Paused; target window: Composer Stepping");
    EXPECT_EQ(target.fieldText(), "");

    ASSERT_TRUE(c.inFront());
    PressKey(VK_F10);
    ASSERT_TRUE(WaitUntil([&] { return PausedAt(c) == 2; }, 10000));
    EXPECT_EQ(target.fieldText("one "), "one ");
    EXPECT_EQ(Selected(c), 2);
    EXPECT_EQ(ControlText(c.formControl(kIdTestBtn)), "&Test");

    // The last line: the run ends there, the window's panel comes back.
    ASSERT_TRUE(c.inFront());
    c.menu(IDM_STEP);
    EXPECT_EQ(target.fieldText("one two"), "one two");
    EXPECT_EQ(PausedAt(c), -1);
    EXPECT_EQ(c.statusPanel(1).rfind("Paused", 0), std::string::npos) << c.statusPanel(1);
    EXPECT_FALSE(taskloom::wintest::ModifierDown());

    // In the Keys page's key field, F9 and F10 are keys to capture.
    c.focusKeyStrokes();
    PressKey(VK_F9);
    EXPECT_TRUE(WaitForText(c.control(kKeysPage, kIdKeyStrokes), "{F9}"));
    EXPECT_EQ(c.lines(), (std::vector<std::string>{"{:TO Composer Stepping}", "one ", "two"}));
    EXPECT_EQ(PausedAt(c), -1);
    // So in the Tessdeck page's Hot Key field, with the list hidden: F10
    // steps nothing, and Ctrl+F10 after it is the key the field shows.
    c.showPage(kRunPage);
    const HWND hotKey = c.control(kRunPage, kIdHotKey);
    ASSERT_TRUE(c.inFront());
    c.call([&] { SetFocus(hotKey); });
    PressKey(VK_F10);
    PressKeys({VK_CONTROL}, VK_F10);
    EXPECT_TRUE(WaitForText(hotKey, "Ctrl+F10"));
    EXPECT_EQ(PausedAt(c), -1);
    EXPECT_EQ(target.fieldText(), "one two");
}

// A breakpoint (F9) inside a counted loop holds Test at every pass; the
// mark shows in the list only; Esc and an edit end a paused run.
TEST(Composer, BreakpointInALoopStopsTestAtEveryPass) {
    taskloom::wintest::Target target("\"Composer Breaks\"", "Composer Breaks");
    ASSERT_NE(target.field(), nullptr);
    Composer c;
    const std::vector<std::string> script{"{:TO Composer Breaks}", "{.L}", "x", "{:LoopTimes L 3}", "y"};
    c.call([&] { c.object().setScript(script); });
    c.call([&] { c.object().selectLine(2); });
    ASSERT_TRUE(c.inFront());
    PressKey(VK_F9);
    ASSERT_TRUE(WaitUntil([&] { return c.lines()[2] == "(*) x"; }, 5000)) << c.lines()[2];
    std::vector<std::string> lines;
    c.call([&] { lines = c.object().script().lines(); });
    EXPECT_EQ(lines, script);  // what Save, Print and the engine see

    const HWND test = c.formControl(kIdTestBtn);
    for (const std::string typed : {"", "x", "xx"}) {
        PostMessageA(test, BM_CLICK, 0, 0);
        ASSERT_TRUE(
            WaitUntil([&] { return PausedAt(c) == 2 && ControlText(target.field()) == typed; }, 10000))
            << "pass after \"" << typed << "\": " << ControlText(target.field());
        EXPECT_EQ(Selected(c), 2);
        EXPECT_EQ(ControlText(test), "&Test");
    }
    PostMessageA(test, BM_CLICK, 0, 0);
    EXPECT_EQ(target.fieldText("xxxy"), "xxxy");
    ASSERT_TRUE(WaitUntil([&] { return ControlText(test) == "&Test"; }, 10000));
    EXPECT_EQ(PausedAt(c), -1);

    // Stopped at the breakpoint again, Esc ends the paused run: the next
    // Test begins at the top.
    PostMessageA(test, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return PausedAt(c) == 2; }, 10000));
    ASSERT_TRUE(c.inFront());
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return PausedAt(c) == -1; }, 5000));
    EXPECT_EQ(c.statusPanel(1).rfind("Paused", 0), std::string::npos) << c.statusPanel(1);
    // An edit while paused ends it too, and the mark stays with its line.
    PostMessageA(test, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return PausedAt(c) == 2; }, 10000));
    c.call([&] { c.object().selectLine(0); });
    c.addTyped("{.Start}");
    EXPECT_EQ(PausedAt(c), -1);
    EXPECT_EQ(c.lines()[3], "(*) x");
    EXPECT_EQ(target.fieldText(), "xxxy");
    EXPECT_FALSE(taskloom::wintest::ModifierDown());
}

// Counts typed outside a spin's range are held to it, never replaced by an
// earlier count; an empty count is refused by the field's name.
TEST(Composer, TypedCountOutsideItsRangeIsHeldToItAndAnEmptyOneIsRefused) {
    Composer c;
    c.showPage(kKeysPage);
    const HWND count = c.control(kKeysPage, kIdCountEdit);
    const HWND keys = c.control(kKeysPage, kIdKeyStrokes);
    SetWindowTextA(count, "250");
    c.click(c.control(kKeysPage, kIdTabBtn));
    EXPECT_EQ(ControlText(keys), "{Tab 100}");
    EXPECT_EQ(ControlText(count), "1");
    SetWindowTextA(count, "0");
    c.click(c.control(kKeysPage, kIdTabBtn));
    EXPECT_EQ(ControlText(keys), "{Tab 100}{Tab}");

    SetWindowTextA(count, "");
    PostMessageA(c.control(kKeysPage, kIdTabBtn), BM_CLICK, 0, 0);
    const HWND box = WaitForOwnedDialog(c.form());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxTexts(box).find("\"Send Count\" is empty"), std::string::npos)
        << MessageBoxTexts(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
    EXPECT_EQ(ControlText(keys), "{Tab 100}{Tab}");
    // Add with the key field's tokens and the empty count: refused too,
    // and nothing is added.
    PostMessageA(c.formControl(kIdAddBtn), BM_CLICK, 0, 0);
    const HWND again = WaitForOwnedDialog(c.form());
    ASSERT_NE(again, nullptr);
    PostMessageA(again, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(again); }, 10000));
    EXPECT_TRUE(c.lines().empty());
}

// A window whose title is still listed but that has closed: no menu, and
// no controls (not the desktop's windows as if they were its controls).
// Copy DOS Screen on a window that copies nothing shows nothing, never the
// clipboard's previous text.
TEST(Composer, ClosedTitleListsNoControlsAndANonConsoleCopiesNothing) {
    // A program's window that copies nothing when it is sent the keys.
    taskloom::wintest::Target plain("\"Not A Console\"", "Not A Console");
    ASSERT_NE(plain.window(), nullptr);
    Composer c;
    HWND gone = nullptr;
    c.call([&] {
        gone = CreateWindowA("STATIC", "Closing Soon", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                             nullptr, MakeTestMenu(), GetModuleHandleA(nullptr), nullptr);
    });
    ASSERT_NE(gone, nullptr);
    c.pickTitle("Closing Soon");
    const HWND ctrl = c.control(kCtrlPage, kIdCtrl);
    c.call([&] { DestroyWindow(gone); });
    const HWND titles = c.control(kWindowPage, kIdTitleBox);
    SendMessageA(c.page(kWindowPage), WM_COMMAND, MAKEWPARAM(kIdTitleBox, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(titles));
    EXPECT_EQ(ControlText(ctrl), "");
    const HWND tree = c.control(kMenusPage, kIdMenuTree);
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 1);

    c.pickTitle("Not A Console");
    c.call([&] { c.object().engine().drainTimeoutMs = 1500; });
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char previous[] = "the previous clipboard text";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof previous);
    ASSERT_NE(memory, nullptr);
    memcpy(GlobalLock(memory), previous, sizeof previous);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    ASSERT_TRUE(c.inFront());
    c.click(c.control(kWindowPage, kIdCopyBtn));
    EXPECT_EQ(c.tabCaption(kCtrlPage), "DOS Screen");
    EXPECT_EQ(ControlText(ctrl), "");
    // The caret keys afterwards went to the copied screen, not the titles.
    const LRESULT chosen = SendMessageA(titles, LB_GETCURSEL, 0, 0);
    EXPECT_EQ(Composer::ListText(titles, static_cast<int>(chosen)), "Not A Console");
    EXPECT_FALSE(taskloom::wintest::ModifierDown());
}

// The list follows a run: a line that runs long is shown while it runs, and
// the last line run is selected and in view when the run ends.
TEST(Composer, TheListShowsTheRunningLineAndTheLastOne) {
    Composer c;
    std::vector<std::string> script;
    for (int i = 0; i < 150; ++i) {
        script.push_back("{.L" + std::to_string(i) + "}");
        script.push_back("{:LoopTimes L" + std::to_string(i) + " 2}");
    }
    const int pause = static_cast<int>(script.size());
    script.push_back("{:Pause1/10 30}");
    script.push_back("{.End}");
    c.call([&] { c.object().setScript(script); });
    const HWND list = c.macroBox();
    auto inView = [&](int i) {
        const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        RECT client{};
        GetClientRect(list, &client);
        const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        return height > 0 && i >= top && i < top + (client.bottom - client.top) / height;
    };
    const HWND test = c.formControl(kIdTestBtn);
    PostMessageA(test, BM_CLICK, 0, 0);
    // The pause runs three seconds: its line is selected and shown meanwhile.
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == pause; }, 20000));
    EXPECT_EQ(ControlText(test), "&Abort");
    EXPECT_TRUE(inView(pause));
    EXPECT_EQ(c.statusPanel(0), "Line: " + std::to_string(pause + 1));
    ASSERT_TRUE(WaitUntil([&] { return ControlText(test) == "&Test"; }, 20000));
    const int last = pause + 1;
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), last);
    EXPECT_TRUE(inView(last));
    EXPECT_EQ(c.statusPanel(0), "Line: " + std::to_string(last + 1));
}

// --- The Tessdeck page ---------------------------------------------------

// The image indexes of a tool bar's buttons, in bar order.
std::vector<int> BarIcons(HWND bar) {
    std::vector<int> out;
    const auto n = static_cast<int>(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        TBBUTTON b{};
        SendMessageA(bar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        out.push_back(b.idCommand - kPadIconCommandFirst);
    }
    return out;
}

// A click on an icon button of either bar, as the bar reports it.
void ClickIcon(HWND bar, int image, bool post = false) {
    const WPARAM wp = MAKEWPARAM(kPadIconCommandFirst + image, BN_CLICKED);
    if (post)
        PostMessageA(GetParent(bar), WM_COMMAND, wp, reinterpret_cast<LPARAM>(bar));
    else
        SendMessageA(GetParent(bar), WM_COMMAND, wp, reinterpret_cast<LPARAM>(bar));
}

// The visible dialog owned by `owner` (a message box or a file dialog).
HWND WaitForOwnedDialog(HWND owner) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = nullptr;
            for (HWND h = FindWindowExA(nullptr, nullptr, "#32770", nullptr); h && !found;
                 h = FindWindowExA(nullptr, h, "#32770", nullptr))
                if (GetWindow(h, GW_OWNER) == owner && IsWindowVisible(h)) found = h;
            return found != nullptr;
        },
        10000);
    return found;
}

// The file name field of a file dialog.
HWND FileNameField(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, cmb13)) {
        if (HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr)) return edit;
        return combo;
    }
    return GetDlgItem(dialog, edt1);
}

// Clicks a button that opens a file dialog, checks the name it proposes and
// answers it with `name`.
void AnswerFileDialog(Composer& c, int buttonId, const std::string& proposed, const std::string& name) {
    PostMessageA(c.control(kRunPage, buttonId), BM_CLICK, 0, 0);
    const HWND dialog = WaitForOwnedDialog(c.form());
    ASSERT_NE(dialog, nullptr);
    const HWND field = FileNameField(dialog);
    ASSERT_NE(field, nullptr) << MessageBoxTexts(dialog);
    // The proposed name, with or without the folder it is in.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const std::string shown = ControlText(field);
            return shown.size() >= proposed.size() &&
                   shown.compare(shown.size() - proposed.size(), proposed.size(), proposed) == 0;
        },
        10000))
        << ControlText(field);
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000)) << MessageBoxTexts(dialog);
}

TEST(Composer, TessdeckPageAssignsDeletesSavesReopensAndTestsAPad) {
    taskloom::wintest::TempFolder folder;
    // The pad program in the composer's folder: a stand-in that writes down
    // how the shell started it.
    ASSERT_TRUE(CopyFileA((taskloom::wintest::ExeDir() + "tl_echo.exe").c_str(),
                          (folder / "tessdeck.exe").c_str(), FALSE));
    const std::string echo = folder / "echo.txt";
    SetEnvironmentVariableA("TL_ECHO_OUT", echo.c_str());

    Composer c(folder.path());
    c.showPage(kRunPage);
    const int dpi = wingui::DpiOf(c.form());
    RECT client{};
    GetClientRect(c.form(), &client);
    EXPECT_EQ(client.bottom, wingui::Scale(254, dpi));  // the form is 300 high
    const HWND palette = c.control(kRunPage, kIdPadPalette);
    const HWND bar = c.control(kRunPage, kIdPadBar);
    const HWND hint = c.control(kRunPage, kIdIconHint), hotKey = c.control(kRunPage, kIdHotKey),
               run = c.control(kRunPage, kIdRunName);
    const HWND save = c.control(kRunPage, kIdSavePadBtn), test = c.control(kRunPage, kIdTestPadBtn),
               open = c.control(kRunPage, kIdLoadPadBtn);
    auto barWidth = [&] {
        RECT r{};
        GetWindowRect(bar, &r);
        return r.right - r.left;
    };
    // The palette starts with icon 0 at its end; the preview is empty.
    std::vector<int> all;
    for (int i = 1; i < 42; ++i) all.push_back(i);
    all.push_back(0);
    EXPECT_EQ(BarIcons(palette), all);
    EXPECT_TRUE(BarIcons(bar).empty());
    EXPECT_EQ(barWidth(), wingui::Scale(31, dpi));
    EXPECT_FALSE(IsWindowEnabled(save));
    EXPECT_FALSE(IsWindowEnabled(test));
    EXPECT_TRUE(IsWindowEnabled(open));

    // No program: the error box, and nothing moves.
    ClickIcon(palette, 7, true);
    const HWND box = WaitForOwnedDialog(c.form());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxTexts(box).find("|Undefined field|"), std::string::npos) << MessageBoxTexts(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
    EXPECT_TRUE(BarIcons(bar).empty());

    // Without a description the program's file name stands for it.
    SetWindowTextA(run, "C:\\Tools\\calc.exe");
    ClickIcon(palette, 7);
    EXPECT_EQ(ControlText(hint), "calc.exe");
    EXPECT_EQ(BarIcons(bar), std::vector<int>{7});
    EXPECT_EQ(BarIcons(palette).size(), 41u);
    EXPECT_EQ(barWidth(), wingui::Scale(54, dpi));
    EXPECT_TRUE(IsWindowEnabled(save));
    EXPECT_FALSE(IsWindowEnabled(test));

    // The hot key from real key presses: Ctrl+Shift+P; P alone clears it.
    ASSERT_TRUE(c.focusOn(hotKey));
    PressKeys({VK_CONTROL, VK_SHIFT}, 'P');
    EXPECT_TRUE(WaitForText(hotKey, "Ctrl+Shift+P"));
    PressKey('P');
    EXPECT_TRUE(WaitForText(hotKey, ""));
    PressKey(VK_F5);  // no modifier: unchanged
    PressKeys({VK_CONTROL, VK_SHIFT}, 'P');
    ASSERT_TRUE(WaitForText(hotKey, "Ctrl+Shift+P"));
    EXPECT_FALSE(taskloom::wintest::ModifierDown());

    // A program text far over 120 characters comes back whole.
    const std::string longProgram = "C:\\Mail\\mailer.exe /to " + std::string(200, 'x');
    SetWindowTextA(hint, "Mail");
    SetWindowTextA(run, longProgram.c_str());
    ClickIcon(palette, 4);
    SetWindowTextA(hint, "Web");
    SetWindowTextA(hotKey, "");
    SetWindowTextA(run, "https://example.com/");
    ClickIcon(palette, 3);
    EXPECT_EQ(BarIcons(bar), (std::vector<int>{7, 4, 3}));
    ClickIcon(bar, 4);
    EXPECT_EQ(ControlText(hint), "Mail");
    EXPECT_EQ(ControlText(hotKey), "Ctrl+Shift+P");
    EXPECT_EQ(ControlText(run), longProgram);
    EXPECT_EQ(BarIcons(bar), (std::vector<int>{7, 3}));
    EXPECT_EQ(BarIcons(palette).back(), 4);
    EXPECT_EQ(barWidth(), wingui::Scale(77, dpi));
    ClickIcon(palette, 4);  // the fields as they were give the same record
    ASSERT_EQ(BarIcons(bar), (std::vector<int>{7, 3, 4}));

    // Saved through the dialog under the proposed name's place.
    const std::string expected =
        "7\tcalc.exe\t\tC:\\Tools\\calc.exe\r3\tWeb\t\thttps://example.com/\r"
        "4\tMail\tCtrl+Shift+P\t" +
        longProgram + "\r";
    const std::string pad = folder / "pad.tkp";
    AnswerFileDialog(c, kIdSavePadBtn, "New.tkp", pad);
    // The composer writes the file once the dialog has returned, which may be
    // after its window is gone.
    WaitUntil([&] { return taskloom::wintest::ReadWholeFile(pad) == expected; }, 10000);
    EXPECT_EQ(taskloom::wintest::ReadWholeFile(pad), expected);
    EXPECT_FALSE(IsWindowEnabled(test));  // a changed pad is opened before it is tried

    // Reopened: the same icons in the same order with the same records; a
    // last line without a carriage return is left out by the composer.
    const std::string other = folder / "other.tkp";
    {
        FILE* f = std::fopen(other.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::string text = expected + "9\tHand\t\tedited.exe";
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    AnswerFileDialog(c, kIdLoadPadBtn, "pad.tkp", other);
    WaitUntil([&] { return BarIcons(bar) == std::vector<int>{7, 3, 4}; }, 10000);
    EXPECT_EQ(BarIcons(bar), (std::vector<int>{7, 3, 4}));
    EXPECT_EQ(BarIcons(palette).size(), 39u);
    std::vector<taskloom::PadEntry> entries;
    c.call([&] { entries = c.object().padPage().preview(); });
    EXPECT_EQ(taskloom::FormatPadText(entries), expected);
    EXPECT_FALSE(IsWindowEnabled(save));
    EXPECT_TRUE(IsWindowEnabled(test));

    // Test Pad starts the pad program of the composer's folder through the
    // shell, with the pad file as its one argument, in that folder.
    c.click(test);
    std::string started;
    ASSERT_TRUE(WaitUntil(
        [&] {
            started = taskloom::wintest::ReadWholeFile(echo);
            return started.find("end\n") != std::string::npos;
        },
        15000));
    std::string cwd = folder.path();
    cwd.pop_back();
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, started.c_str(), -1,
                             ("cwd: " + cwd + "\narg: " + other + "\nend\n").c_str(), -1),
              CSTR_EQUAL)
        << started;

    // The real pad in its place: the saved pad, reopened and tried, comes up
    // as the "Tessdeck" bar with its three icons.
    ASSERT_TRUE(WaitUntil(
        [&] {
            return CopyFileA(taskloom::wintest::FromBuildPath(TESSDECK_EXE).c_str(),
                             (folder / "tessdeck.exe").c_str(), FALSE) != 0;
        },
        15000));
    AnswerFileDialog(c, kIdLoadPadBtn, "other.tkp", pad);
    ASSERT_EQ(BarIcons(bar), (std::vector<int>{7, 3, 4}));
    ASSERT_TRUE(IsWindowEnabled(test));
    c.click(test);
    const HWND padWindow = taskloom::wintest::WaitForWindow("Tessdeck", 0, 60000);
    ASSERT_NE(padWindow, nullptr);
    DWORD padId = 0;
    GetWindowThreadProcessId(padWindow, &padId);
    ASSERT_NE(padId, GetCurrentProcessId());
    taskloom::wintest::ChildProcess padProgram(padId);
    const HWND padBar = taskloom::wintest::FindChildByClass(padWindow, TOOLBARCLASSNAMEA);
    const HWND upDown = taskloom::wintest::FindChildByClass(padWindow, UPDOWN_CLASSA);
    ASSERT_NE(padBar, nullptr);
    ASSERT_NE(upDown, nullptr);
    // The window may show before the icons are all in: read until they are.
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(padBar, TB_BUTTONCOUNT, 0, 0) == 3; }, 20000))
        << SendMessageA(padBar, TB_BUTTONCOUNT, 0, 0);
    std::string hintText;
    EXPECT_TRUE(WaitUntil(
        [&] {
            hintText = ControlText(upDown);
            return hintText.rfind("Tessdeck ", 0) == 0 && hintText.size() > 2 &&
                   hintText.compare(hintText.size() - 2, 2, "/3") == 0;
        },
        20000))
        << hintText;
    EXPECT_TRUE(GetWindowLongPtrA(padWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    PostMessageA(padWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(padProgram.waitForExit(30000));
}

TEST(Composer, TessdeckPageKeepsTheIconsBeforeABadLineAndTakesTwentyAtMost) {
    taskloom::wintest::TempFolder folder;
    const std::string bad = folder / "bad.tkp";
    {
        FILE* f = std::fopen(bad.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::string text = "5\tA\t\ta.exe\rx\tB\t\tb.exe\r6\tC\t\tc.exe\r";
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    Composer c(folder.path());
    c.showPage(kRunPage);
    const HWND palette = c.control(kRunPage, kIdPadPalette);
    const HWND bar = c.control(kRunPage, kIdPadBar);

    // A line whose icon number is no number ends the load with a report;
    // the icons before it stay.
    PostMessageA(c.control(kRunPage, kIdLoadPadBtn), BM_CLICK, 0, 0);
    const HWND dialog = WaitForOwnedDialog(c.form());
    ASSERT_NE(dialog, nullptr);
    SendMessageA(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bad.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            box = WaitForOwnedDialog(c.form());
            return box && box != dialog &&
                   MessageBoxTexts(box).find("not a valid icon number") != std::string::npos;
        },
        10000));
    EXPECT_NE(MessageBoxTexts(box).find("line 2: \"x\" is not a valid icon number"), std::string::npos)
        << MessageBoxTexts(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
    EXPECT_EQ(BarIcons(bar), std::vector<int>{5});
    EXPECT_TRUE(IsWindowEnabled(c.control(kRunPage, kIdTestPadBtn)));

    // Twenty icons fill the preview; a palette click then does nothing.
    SetWindowTextA(c.control(kRunPage, kIdRunName), "notepad.exe");
    for (int i = 0; i < 19; ++i) ClickIcon(palette, BarIcons(palette).front());
    ASSERT_EQ(BarIcons(bar).size(), 20u);
    const int next = BarIcons(palette).front();
    ClickIcon(palette, next);
    EXPECT_EQ(BarIcons(bar).size(), 20u);
    EXPECT_EQ(BarIcons(palette).front(), next);
    RECT r{};
    GetWindowRect(bar, &r);
    EXPECT_EQ(r.right - r.left, wingui::Scale(31 + 23 * 20, wingui::DpiOf(c.form())));
}

// The folder a file dialog shows.
std::string DialogFolder(HWND dialog) {
    char path[MAX_PATH] = {};
    SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof path, reinterpret_cast<LPARAM>(path));
    std::string folder = path;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

bool SameFolder(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

// Answers the visible message box of the form with `answer`; its texts.
std::string AnswerBox(HWND form, int answer) {
    const HWND box = WaitForOwnedDialog(form);
    if (!box) return "<no box>";
    const std::string texts = MessageBoxTexts(box);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    WaitUntil([&] { return !IsWindow(box); }, 10000);
    return texts;
}

// Pad edits are asked about as script edits are, before Open Pad, Exit and
// the close box drop them; Open Pad replaces the preview only once a file
// is read; the page's dialogs start in the program's folder.
TEST(Composer, UnsavedPadIsAskedAboutAndKeptUntilAnotherIsRead) {
    taskloom::wintest::TempFolder folder;
    Composer c(folder.path());
    c.showPage(kRunPage);
    const HWND palette = c.control(kRunPage, kIdPadPalette);
    const HWND bar = c.control(kRunPage, kIdPadBar);
    SetWindowTextA(c.control(kRunPage, kIdRunName), "notepad.exe");
    ClickIcon(palette, 9);
    ASSERT_EQ(BarIcons(bar), std::vector<int>{9});

    // Cancel keeps the pad, and no dialog comes.
    PostMessageA(c.control(kRunPage, kIdLoadPadBtn), BM_CLICK, 0, 0);
    EXPECT_NE(AnswerBox(c.form(), IDCANCEL).find("Save current pad?"), std::string::npos);
    c.call([] {});
    EXPECT_EQ(BarIcons(bar), std::vector<int>{9});
    // No, then the dialog (in the program's folder) cancelled: the pad stays.
    PostMessageA(c.control(kRunPage, kIdLoadPadBtn), BM_CLICK, 0, 0);
    EXPECT_NE(AnswerBox(c.form(), IDNO).find("Save current pad?"), std::string::npos);
    HWND dialog = WaitForOwnedDialog(c.form());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return SameFolder(DialogFolder(dialog), folder.path()); }, 5000))
        << DialogFolder(dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
    c.call([] {});
    EXPECT_EQ(BarIcons(bar), std::vector<int>{9});
    // Browse starts there too.
    PostMessageA(c.control(kRunPage, kIdPadBrowseBtn), BM_CLICK, 0, 0);
    dialog = WaitForOwnedDialog(c.form());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return SameFolder(DialogFolder(dialog), folder.path()); }, 5000))
        << DialogFolder(dialog);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));

    // Exit with a script line and the pad unsaved: both are asked about;
    // Cancel on the pad's question keeps the program.
    c.addTyped("a line");
    c.showPage(kRunPage);
    PostMessageA(c.form(), WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
    EXPECT_NE(AnswerBox(c.form(), IDNO).find("Save current script?"), std::string::npos);
    EXPECT_NE(AnswerBox(c.form(), IDCANCEL).find("Save current pad?"), std::string::npos);
    c.call([] {});
    EXPECT_TRUE(IsWindow(c.form()));
    // The close box asks the same; No to both closes.
    PostMessageA(c.form(), WM_CLOSE, 0, 0);
    EXPECT_NE(AnswerBox(c.form(), IDNO).find("Save current script?"), std::string::npos);
    EXPECT_NE(AnswerBox(c.form(), IDNO).find("Save current pad?"), std::string::npos);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(c.form()); }, 10000));
}

// A hot key that another program holds: the field's hint and the page's
// status bar say so as soon as it is entered, assigning it asks first, and
// a second icon with a key of the pad is refused with both icons named.
TEST(Composer, TessdeckPageSaysWhenAHotKeyIsTakenAndRefusesTwoIconsWithOneKey) {
    taskloom::wintest::TempFolder folder;
    taskloom::wintest::ChildProcess holder(
        taskloom::wintest::Quote(taskloom::wintest::ExeDir() + "tl_holdkey.exe") + " " +
        std::to_string(MOD_CONTROL | MOD_ALT) + " " + std::to_string('K') + " \"Composer Key Holder\"");
    const HWND holderWindow = taskloom::wintest::WaitForWindow("Composer Key Holder", holder.id(), 30000);
    ASSERT_NE(holderWindow, nullptr);
    Composer c(folder.path());
    c.showPage(kRunPage);
    const HWND palette = c.control(kRunPage, kIdPadPalette), bar = c.control(kRunPage, kIdPadBar);
    const HWND hint = c.control(kRunPage, kIdIconHint), hotKey = c.control(kRunPage, kIdHotKey),
               run = c.control(kRunPage, kIdRunName), status = c.control(kRunPage, kIdPadStatusBar);
    ASSERT_NE(status, nullptr);
    auto statusText = [&] { return c.barText(status, 0); };
    const std::string inUse = "Hot key in use by another program";
    EXPECT_FALSE(IsWindowVisible(status));
    EXPECT_EQ(HintOf(c.form(), hotKey), "");

    // Ctrl+Alt+K pressed in the field, as the user would.
    ASSERT_TRUE(c.focusOn(hotKey));
    PressKeys({VK_CONTROL, VK_MENU}, 'K');
    ASSERT_TRUE(WaitForText(hotKey, "Ctrl+Alt+K"));
    EXPECT_FALSE(taskloom::wintest::ModifierDown());
    EXPECT_TRUE(WaitUntil([&] { return statusText() == inUse; }, 5000)) << statusText();
    EXPECT_TRUE(IsWindowVisible(status));
    EXPECT_EQ(HintOf(c.form(), hotKey), inUse);

    // Assigning it asks: No leaves the pad as it was, Yes writes the key.
    SetWindowTextA(hint, "Editor");
    SetWindowTextA(run, "C:\\Tools\\edit.exe");
    ClickIcon(palette, 5, true);
    std::string texts = AnswerBox(c.form(), IDNO);
    EXPECT_NE(texts.find(inUse + ": Ctrl+Alt+K does not start this icon"), std::string::npos) << texts;
    EXPECT_TRUE(BarIcons(bar).empty());
    ClickIcon(palette, 5, true);
    texts = AnswerBox(c.form(), IDYES);
    EXPECT_NE(texts.find("Assign it all the same?"), std::string::npos) << texts;
    ASSERT_TRUE(WaitUntil([&] { return BarIcons(bar) == std::vector<int>{5}; }, 5000));

    // A free key: nothing to say. The same key for a second icon, however
    // written, is refused with both icons named.
    SetWindowTextA(hotKey, "Ctrl+Alt+J");
    EXPECT_FALSE(IsWindowVisible(status));
    EXPECT_EQ(HintOf(c.form(), hotKey), "");
    SetWindowTextA(hint, "Notes");
    ClickIcon(palette, 6);
    ASSERT_EQ(BarIcons(bar), (std::vector<int>{5, 6}));
    for (const char* again : {"Ctrl+Alt+K", "Alt+Ctrl+J"}) {
        SetWindowTextA(hotKey, again);
        SetWindowTextA(hint, "Mail");
        ClickIcon(palette, 7, true);
        texts = AnswerBox(c.form(), IDOK);
        const std::string owner = again[0] == 'C' ? "Icon 1 (Editor) already has the hot key Ctrl+Alt+K.\n"
                                                  : "Icon 2 (Notes) already has the hot key Alt+Ctrl+J.\n";
        EXPECT_NE(texts.find(owner + "Icon 3 (Mail) cannot have it too"), std::string::npos) << texts;
        EXPECT_EQ(BarIcons(bar), (std::vector<int>{5, 6}));
    }
    std::vector<taskloom::PadEntry> entries;
    c.call([&] { entries = c.object().padPage().preview(); });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].record, "Editor\tCtrl+Alt+K\tC:\\Tools\\edit.exe");

    // A pad file that gives two icons one key is opened whole, and says so.
    const std::string twins = folder / "twins.tkp";
    {
        FILE* f = std::fopen(twins.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("8\tA\tCtrl+Alt+Q\ta.exe\r9\tB\tAlt+Ctrl+Q\tb.exe\r", f);
        std::fclose(f);
    }
    PostMessageA(c.control(kRunPage, kIdLoadPadBtn), BM_CLICK, 0, 0);
    texts = AnswerBox(c.form(), IDNO);  // the changed pad is not saved
    const HWND dialog = WaitForOwnedDialog(c.form());
    ASSERT_NE(dialog, nullptr) << texts;
    SendMessageA(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(twins.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
    texts = AnswerBox(c.form(), IDOK);
    EXPECT_NE(
        texts.find("Icons 1 (A) and 2 (B) have the same hot key Ctrl+Alt+Q; only icon 1 starts with it."),
        std::string::npos)
        << texts;
    EXPECT_EQ(BarIcons(bar), (std::vector<int>{8, 9}));

    // The other program lets go: the key entered again is free.
    PostMessageA(holderWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(holder.waitForExit(10000));
    SetWindowTextA(hotKey, "Ctrl+Alt+K");
    EXPECT_FALSE(IsWindowVisible(status));
    EXPECT_EQ(HintOf(c.form(), hotKey), "");
    EXPECT_TRUE(taskloom::wintest::HotKeyFree(MOD_CONTROL | MOD_ALT, 'K'));  // the trial let it go
}

// Help and Test Pad say which file could not be started.
TEST(Composer, HelpAndTestPadNameTheFileTheyCouldNotStart) {
    taskloom::wintest::TempFolder folder;
    {
        FILE* f = std::fopen((folder / "one.tkp").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("5\tA\t\ta.exe\r", f);
        std::fclose(f);
    }
    Composer c(folder.path());
    PostMessageA(c.form(), WM_COMMAND, MAKEWPARAM(IDM_CONTENTS, 0), 0);
    std::string texts = AnswerBox(c.form(), IDOK);
    EXPECT_NE(texts.find(folder / kHelpFile), std::string::npos) << texts;

    c.showPage(kRunPage);
    AnswerFileDialog(c, kIdLoadPadBtn, "New.tkp", folder / "one.tkp");
    ASSERT_TRUE(
        WaitUntil([&] { return IsWindowEnabled(c.control(kRunPage, kIdTestPadBtn)) != FALSE; }, 5000));
    PostMessageA(c.control(kRunPage, kIdTestPadBtn), BM_CLICK, 0, 0);
    texts = AnswerBox(c.form(), IDOK);
    EXPECT_NE(texts.find(folder / "tessdeck.exe"), std::string::npos) << texts;
}

// The menu items with a hint show it in the status bar while chosen; Exit
// with an empty list (lines added and deleted again) asks nothing.
TEST(Composer, MenuHintsShowAndExitWithAnEmptyListAsksNothing) {
    Composer c;
    const HWND bar = c.formControl(kIdStatusBar);
    // The simple panel's text: asked for by its own index, or (as Wine's
    // bar answers it) by index 0 while the bar is simple.
    auto simpleText = [&] {
        const std::string text = c.barText(bar, SB_SIMPLEID);
        return text.empty() ? c.barText(bar, 0) : text;
    };
    const HMENU menu = GetMenu(c.form());
    SendMessageA(c.form(), WM_MENUSELECT, MAKEWPARAM(IDM_LOADTEXT, MF_STRING),
                 reinterpret_cast<LPARAM>(menu));
    EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(simpleText(), "Text File");
    SendMessageA(c.form(), WM_MENUSELECT, MAKEWPARAM(IDM_PASTESCRIPT, MF_STRING),
                 reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(simpleText(), "From Clips pad");
    SendMessageA(c.form(), WM_MENUSELECT, MAKEWPARAM(IDM_SAVE, MF_STRING), reinterpret_cast<LPARAM>(menu));
    EXPECT_FALSE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    SendMessageA(c.form(), WM_MENUSELECT, MAKEWPARAM(IDM_LOADTEXT, MF_STRING),
                 reinterpret_cast<LPARAM>(menu));
    SendMessageA(c.form(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(c.statusPanel(0), "Empty");

    c.addTyped("gone again");
    c.click(c.formControl(kIdDelBtn));
    ASSERT_TRUE(c.lines().empty());
    PostMessageA(c.form(), WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(c.form()); }, 5000))
        << MessageBoxTexts(WaitForOwnedDialog(c.form()));
}

}  // namespace
}  // namespace loomwright
