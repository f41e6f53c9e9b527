// The Menus page's tree: the chosen window's menu walked by position into a
// tree of three levels, and the menu path of a node (GetMenuText).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/desktop.h"

namespace taskloom {

constexpr int kMenuTreeLevels = 3;  // bar items, drop-down items, submenu items

// One node of the menu tree. The root stands for the window (its title in
// script form, braces tripled); the nodes below it for menu items.
struct MenuNode {
    int id = 0;        // position in the tree's pre-order, root 0: the
                       // window layer keeps it with its tree item
    int level = 0;     // 0 root, 1 bar item, 2 drop-down item, 3 submenu item
    std::string text;  // what the tree shows: the item's text (at most 29
                       // characters) without leading and trailing blanks
    std::string item;  // the item's text as the menu reports it, at most 29
                       // characters: what a menu path holds
    std::vector<MenuNode> children;
};

struct MenuTree {
    MenuNode root;
    std::size_t itemsVisited = 0;  // menu items read, deeper levels and separators included
    int deepestLevel = 0;          // deepest submenu level walked (bar items at 0)
    int nodeCount() const;         // nodes in the tree, root included

    // The node with this id; nullptr when there is none.
    const MenuNode* find(int id) const;
    // The node selected after the walk: the first bar item, else the root.
    int initialSelection() const { return root.children.empty() ? 0 : 1; }
};

// GetMenusClick's walk: the menu bar of `w` read by position, items in the
// menu's own order. Separators (empty texts) are skipped with any submenu
// they have; items of the fourth level and deeper are walked but not shown.
// An unreadable menu, a window without a menu bar or a gone window gives the
// root alone. A submenu that is already being walked (a menu that holds
// itself) is not entered again.
MenuTree WalkMenu(Desktop& desktop, Wnd w, const std::string& title);

// GetMenuText: the menu path of node `id`: ESC and the item text of each
// node from the bar item down to the node itself. Empty for the root or an
// unknown id.
std::string GetMenuText(const MenuTree& tree, int id);

}  // namespace taskloom
