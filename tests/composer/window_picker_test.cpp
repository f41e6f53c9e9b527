#include "composer/model/window_picker.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "composer/model/menu_walk.h"
#include "engine/engine.h"
#include "engine/sendkey.h"
#include "tests/sim/sim_desktop.h"

using namespace taskloom;
using taskloom::sim::SimDesktop;
using Lines = std::vector<std::string>;

namespace {

std::vector<std::string> Texts(const MenuNode& n) {
    std::vector<std::string> out;
    for (const MenuNode& c : n.children) out.push_back(c.text);
    return out;
}

}  // namespace

TEST(WindowPicker, SwitchLineWithAndWithoutMatchOnlyFirst) {
    WindowChoice choice{"Quarterly {Report} - Ed", 0x300, 8, true};
    KeyFields keys{"{Tab}", "left", 2};
    Wnd target = -1;
    EXPECT_EQ(SwitchBtnClick(choice, keys, target), "{:To Quarterl");
    EXPECT_FALSE(choice.matchFirst);  // applies to one line only
    EXPECT_EQ(target, 0x300);
    EXPECT_EQ(keys.autoText, "");
    EXPECT_EQ(SwitchBtnClick(choice, keys, target), "{:TO Quarterly {{{Report}}} - Ed");
    // The prefix is cut from the title as shown, then escaped.
    choice.matchFirst = true;
    choice.trackPos = 11;
    EXPECT_EQ(SwitchBtnClick(choice, keys, target), "{:To Quarterly {{{");

    EXPECT_EQ(MatchCount(1), 2);
    EXPECT_EQ(MatchCount(40), 40);
    EXPECT_EQ(MatchBoxCaption(1), "&Match only first 2 characters");

    // Through AddLine, the switch line gets its brace.
    ScriptList list;
    choice.matchFirst = true;
    choice.trackPos = 3;
    AddLine(list, keys, SwitchBtnClick(choice, keys, target), false);
    EXPECT_EQ(list.lines(), Lines{"{:To Qua}"});
}

TEST(WindowPicker, MenuWalkOfFourLevelsWithSeparatorsAndPaddedTexts) {
    SimDesktop d;
    const MenuHandle level4 = d.newMenu({{"Deepest"}, {"Deeper"}});
    const MenuHandle level3 = d.newMenu({{"Third", 0, level4}, {""}, {"  Spaced third  "}});
    const MenuHandle hidden = d.newMenu({{"Under a separator"}});
    const MenuHandle file =
        d.newMenu({{"&New"}, {"", 0, hidden}, {"&More", 0, level3}, {"&Long " + std::string(40, 'x')}});
    const MenuHandle help = d.newMenu({{"&About"}});
    const MenuHandle bar = d.newMenu({{" &File ", 0, file}, {""}, {"&Help", 0, help}});
    const Wnd w = d.addWindow("Edit {1}");
    d.setMenuBar(w, bar);

    const MenuTree tree = WalkMenu(d, w, "Edit {1}");
    EXPECT_EQ(tree.root.text, "Edit {{{1}}}");
    EXPECT_EQ(Texts(tree.root), (Lines{"&File", "&Help"}));
    const MenuNode& fileNode = tree.root.children[0];
    EXPECT_EQ(Texts(fileNode), (Lines{"&New", "&More", "&Long " + std::string(23, 'x')}));
    const MenuNode& more = fileNode.children[1];
    EXPECT_EQ(Texts(more), (Lines{"Third", "Spaced third"}));
    EXPECT_TRUE(more.children[0].children.empty());  // the fourth level is not shown ...
    EXPECT_EQ(tree.deepestLevel, 3);                 // ... but walked
    EXPECT_EQ(tree.itemsVisited, 13u);               // every item but the one under a separator
    EXPECT_EQ(tree.nodeCount(), 9);
    EXPECT_EQ(tree.initialSelection(), 1);

    // Ids follow the tree in pre-order: the window layer keeps them.
    const MenuNode* spaced = tree.find(5);
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->text, "Spaced third");
    EXPECT_EQ(tree.find(8)->text, "&About");
    EXPECT_FALSE(tree.find(9));
    // Paths hold the texts as the menu reports them, so that the path finds
    // the item again at run time.
    EXPECT_EQ(GetMenuText(tree, 5), "\x1b &File \x1b&More\x1b  Spaced third  ");
    EXPECT_EQ(GetMenuText(tree, 6), "\x1b &File \x1b&Long " + std::string(23, 'x'));
    EXPECT_EQ(GetMenuText(tree, 0), "");
    EXPECT_EQ(GetMenuText(tree, 42), "");

    // No menu bar, a gone window, an unreadable menu: the root alone.
    EXPECT_EQ(WalkMenu(d, d.addWindow("Plain"), "Plain").nodeCount(), 1);
    EXPECT_EQ(WalkMenu(d, 0, "Gone").initialSelection(), 0);
    d.setMenuUnreadable(bar);
    EXPECT_EQ(WalkMenu(d, w, "Edit {1}").nodeCount(), 1);

    // A menu that holds itself is not entered again.
    const MenuHandle loop = d.newMenu({{"Again"}, {"Stop"}});
    d.menuItem(loop, 0).submenu = loop;
    const Wnd looped = d.addWindow("Loop");
    d.setMenuBar(looped, d.newMenu({{"Top", 0, loop}}));
    EXPECT_EQ(WalkMenu(d, looped, "Loop").nodeCount(), 4);
}

TEST(WindowPicker, MenuLinesAndTheSwitchBeforeThem) {
    ScriptList list;
    KeyFields keys;
    WindowChoice choice{"Notepad", 0x200, 2, false};
    Wnd target = 0x100;
    const std::string path =
        "\x1b"
        "&File\x1b"
        "&Open...";
    EXPECT_EQ(AddMenuClick(list, keys, choice, target, path), (ListChange{0, 0, 2}));
    EXPECT_EQ(list.lines(), (Lines{"{:TO Notepad}", "{:Menu " + path + "}"}));
    EXPECT_EQ(target, 0x200);
    AddMenuClick(list, keys, choice, target, path);  // already directed there
    EXPECT_EQ(list.size(), 3u);
    target = 0x100;
    AddMenuClick(list, keys, choice, target, "");  // the root: the switch line only
    EXPECT_EQ(list.lines().back(), "{:TO Notepad}");
}

TEST(WindowPicker, ControlsReadOut) {
    EXPECT_EQ(UpdateLineCol(0, 0, 0, 0), "Line:   1  Col:   1  Len:   0");
    EXPECT_EQ(UpdateLineCol(11, 130, 120, 5), "Line:  12  Col:  11  Len:   5");
    EXPECT_EQ(LineColText(1234, 5, 67890), "Line: 1234  Col:   5  Len: 67890");
}

TEST(WindowPicker, TitleClickAndConsoleScreenCopy) {
    SimDesktop d;
    const Wnd w = d.addWindow("Form");
    d.addChild(w, "Name");
    d.addChild(w, "OK");
    d.setMenuBar(w, d.newMenu({{"&File"}}));
    KeyFields keys{"{Tab}", "typed", 1};
    MenusPick pick = GetMenusClick(d, "Form", keys);
    EXPECT_EQ(pick.picked, w);
    EXPECT_EQ(pick.controls, (Lines{"Name", "OK"}));
    EXPECT_EQ(pick.tree.nodeCount(), 2);
    EXPECT_EQ(keys.autoText, "");
    d.addWindow("");
    EXPECT_EQ(GetMenusClick(d, "", keys).picked, 0);  // no title chosen
    d.closeWindow(w);
    pick = GetMenusClick(d, "Form", keys);
    EXPECT_EQ(pick.picked, 0);
    EXPECT_TRUE(pick.controls.empty());
    EXPECT_EQ(pick.tree.nodeCount(), 1);

    // The console's menu, 80 columns and 25 lines marked, copied; no key
    // left down.
    SendKeyString(d, DosScreenCopyKeys());
    const std::vector<std::string> words = d.keyWords();
    const Lines head(words.begin(), words.begin() + 7);
    EXPECT_EQ(head, (Lines{"Alt down", "Space", "e", "k", "Alt up", "Shift down", "Right"}));
    EXPECT_EQ(std::count(words.begin(), words.end(), "Right"), 80);
    EXPECT_EQ(std::count(words.begin(), words.end(), "Down"), 24);
    const Lines tail(words.end() - 7, words.end());
    EXPECT_EQ(tail, (Lines{"Down", "Shift up", "Alt down", "Space", "e", "y", "Alt up"}));
    d.clearKeyLog();
    SendKeyString(d, CaretHomeKeys());
    EXPECT_EQ(d.keyWords(), (Lines{"Ctrl down", "Home", "Ctrl up"}));
    for (std::uint8_t vk : {kVkShift, kVkControl, kVkMenu}) EXPECT_FALSE(d.isKeyDown(vk));
}
