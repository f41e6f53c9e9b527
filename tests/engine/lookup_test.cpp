#include <gtest/gtest.h>

#include "engine/lookup.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using taskloom::sim::SimDesktop;
using Lines = std::vector<std::string>;

TEST(Lookup, TitleListsAndPrefixSearch) {
    SimDesktop d;
    d.addWindow("Untitled - Notepad");
    d.addWindow("");                                   // untitled: never listed
    d.addWindow("Secret", {.visible = false});         // hidden
    d.addWindow("Notepad");                            // the tail of an earlier title
    d.addWindow("Untitled - Notepad");                 // an exact repeat
    Wnd controls = d.addWindow("Report\r\nControls");  // a control-list window
    Wnd top = d.addWindow("Report - Editor");
    // Top of the stacking order first.
    EXPECT_EQ(GetTitles(d), (Lines{"Report - Editor", "Untitled - Notepad", "Notepad"}));

    EXPECT_EQ(TitlePrefixSearch(d, "Report"), "Report - Editor");
    EXPECT_EQ(TitlePrefixSearch(d, "report"), ":report");
    EXPECT_EQ(TitlePrefixSearch(d, "Secret"), ":Secret");  // hidden windows are not searched
    EXPECT_EQ(TitlePrefixSearch(d, ""), ":");
    EXPECT_EQ(TitlePrefixSearch(d, "Untitled"), "Untitled - Notepad");
    d.closeWindow(top);
    EXPECT_EQ(TitlePrefixSearch(d, "Report"), "Report\r\nControls");  // only lists drop it
    d.closeWindow(controls);
    EXPECT_EQ(TitlePrefixSearch(d, "Report"), ":Report");

    // Titles are seen as their first 99 characters everywhere.
    const std::string longTitle = std::string(99, 'L') + "tail of a 120-character title!!";
    d.addWindow(longTitle);
    EXPECT_EQ(GetTitles(d).front(), longTitle.substr(0, 99));
    EXPECT_EQ(TitlePrefixSearch(d, "LLL"), longTitle.substr(0, 99));
    EXPECT_EQ(TitlePrefixSearch(d, longTitle.substr(0, 100)), ":" + longTitle.substr(0, 100));
}

TEST(Lookup, ControlListAndControlSearch) {
    SimDesktop d;
    Wnd form = d.addWindow("Form");
    Wnd name = d.addChild(form, "Name");
    Wnd panel = d.addChild(form, "Panel");
    Wnd hidden = d.addChild(panel, "OK", {.visible = false});
    d.addChild(panel, "");
    d.addChild(form, "Name");  // an exact repeat
    d.addChild(form, "Nam");
    Wnd numeric = d.addChild(form, "300");
    // Visible and hidden children, depth first, exact repeats dropped.
    EXPECT_EQ(GetControls(d, form), (Lines{"Name", "Panel", "OK", "Nam", "300"}));
    EXPECT_EQ(FindControl(d, form, "Name"), name);
    EXPECT_EQ(FindControl(d, form, "OK"), hidden);
    EXPECT_EQ(FindControl(d, form, "ok"), 0);
    EXPECT_EQ(FindControl(d, form, ""), 0);
    EXPECT_EQ(FindControl(d, form, "Na"), 0);
    EXPECT_EQ(FindControl(d, form, "300"), numeric);
    EXPECT_EQ(FindControl(d, form, std::to_string(name)), 0);  // a number is not a handle
    EXPECT_EQ(FindControl(d, 0, "Name"), 0);
    const std::string longText = std::string(120, 'c');
    Wnd big = d.addChild(form, longText);
    EXPECT_EQ(FindControl(d, form, longText), 0);
    EXPECT_EQ(FindControl(d, form, longText.substr(0, 99)), big);
}

TEST(Lookup, MenuPaths) {
    SimDesktop d;
    Wnd app = d.addWindow("App");
    const std::string longItem(35, 'x');
    MenuHandle recent = d.newMenu({{"&1 a.txt", 0, 0}});
    MenuHandle file = d.newMenu({{"&Open...\tCtrl+O", 0, 0},
                                 {"", 0, 0},
                                 {"&Save", kMfsGrayed, 0},
                                 {"&Wrap", kMfsChecked, 0},
                                 {"&Recent", 0, recent},
                                 {longItem, 0, 0},
                                 {"&Open...\tCtrl+O", kMfsGrayed, 0}});
    MenuHandle bar = d.newMenu({{"&File", 0, file}, {"&Help", 0, 0}, {"&Gray", kMfsGrayed, 0}});
    d.setMenuBar(app, bar);
    const std::string E(1, kEsc);
    EXPECT_TRUE(MenuPathEnabled(d, app, "&File" + E + "&Open...\tCtrl+O"));  // first equal item wins
    EXPECT_FALSE(MenuPathEnabled(d, app, "&File" + E + "&Open..."));         // needs the shortcut text
    EXPECT_TRUE(MenuPathEnabled(d, app, "&File" + E + "&Recent" + E + "&1 a.txt"));
    EXPECT_TRUE(MenuPathEnabled(d, app, "&File" + E + longItem.substr(0, 29)));
    EXPECT_FALSE(MenuPathEnabled(d, app, "&File" + E + longItem));
    EXPECT_TRUE(MenuPathEnabled(d, app, "&File" + E));  // a separator reads as empty
    // An item without submenu keeps the search in the same menu.
    EXPECT_TRUE(MenuPathEnabled(d, app, "&Help" + E + "&File"));
    EXPECT_FALSE(MenuPathEnabled(d, app, "&Help" + E + "&Open...\tCtrl+O"));
    EXPECT_FALSE(MenuPathEnabled(d, app, "&file"));
    EXPECT_FALSE(MenuPathEnabled(d, app, ""));
    // Grayed and checked items answer false and keep their state: the
    // question never changes the other program's menu.
    EXPECT_FALSE(MenuPathEnabled(d, app, "&File" + E + "&Save"));
    EXPECT_FALSE(MenuPathEnabled(d, app, "&File" + E + "&Wrap"));
    EXPECT_FALSE(MenuPathEnabled(d, app, "&Gray" + E + "&File"));
    EXPECT_EQ(d.menuItem(file, 2).state, kMfsGrayed);
    EXPECT_EQ(d.menuItem(file, 3).state, kMfsChecked);
    EXPECT_EQ(d.menuItem(bar, 2).state, kMfsGrayed);
    EXPECT_EQ(d.menuItem(bar, 0).state, 0u);
    // No menu bar, or a menu that cannot be read: false.
    EXPECT_FALSE(MenuPathEnabled(d, d.addWindow("Plain"), "&File"));
    d.setMenuUnreadable(bar);
    EXPECT_FALSE(MenuPathEnabled(d, app, "&File"));
}
