#include "composer/model/menu_walk.h"

#include <algorithm>

#include "engine/lookup.h"
#include "engine/text.h"

namespace taskloom {

namespace {

// A menu whose submenus are shared among many items could make the walk
// visit the same items over and over; it ends after this many reads.
constexpr std::size_t kMaxItemsVisited = 100000;

struct Resume {
    MenuHandle menu;
    int next;  // position to go on from
};

void Count(const MenuNode& n, int& count) {
    ++count;
    for (const MenuNode& c : n.children) Count(c, count);
}

const MenuNode* Find(const MenuNode& n, int id) {
    if (n.id == id) return &n;
    for (const MenuNode& c : n.children) {
        if (c.id > id) break;  // pre-order: the node lies in an earlier subtree
        if (const MenuNode* found = Find(c, id)) return found;
    }
    return nullptr;
}

bool PathTo(const MenuNode& n, int id, std::vector<const MenuNode*>& path) {
    path.push_back(&n);
    if (n.id == id) return true;
    for (const MenuNode& c : n.children)
        if (PathTo(c, id, path)) return true;
    path.pop_back();
    return false;
}

}  // namespace

int MenuTree::nodeCount() const {
    int count = 0;
    Count(root, count);
    return count;
}

const MenuNode* MenuTree::find(int id) const { return Find(root, id); }

MenuTree WalkMenu(Desktop& desktop, Wnd w, const std::string& title) {
    MenuTree tree;
    tree.root.text = TripleBraces(TripleBraces(title, '{', BraceMode::Escape), '}', BraceMode::Escape);
    tree.root.item = tree.root.text;
    const MenuHandle bar = w ? desktop.getMenu(w) : 0;
    if (!bar) return tree;

    int nextId = 1;
    MenuNode* barNode = nullptr;   // the last node added at level 1
    MenuNode* dropNode = nullptr;  // the last node added at level 2
    auto add = [&](MenuNode& parent, int level, const std::string& item) -> MenuNode& {
        MenuNode n;
        n.id = nextId++;
        n.level = level;
        n.text = TrimBlanks(item);
        n.item = item;
        parent.children.push_back(std::move(n));
        return parent.children.back();
    };

    std::vector<Resume> stack;
    MenuHandle menu = bar;
    int pos = 0;
    int level = 0;  // of the menu being read: 0 the bar
    while (true) {
        const int count = std::max(0, desktop.menuItemCount(menu));
        bool entered = false;
        for (; pos < count && tree.itemsVisited < kMaxItemsVisited; ++pos) {
            ++tree.itemsVisited;
            std::string item = desktop.menuString(menu, pos);
            if (item.size() > kMenuTextMax) item.resize(kMenuTextMax);
            if (item.empty()) continue;  // a separator, and whatever hangs below it
            // Each new node becomes the parent of the level below; adding
            // at a level leaves the nodes above it where they are.
            if (level == 0)
                barNode = &add(tree.root, 1, item);
            else if (level == 1 && barNode)
                dropNode = &add(*barNode, 2, item);
            else if (level == 2 && dropNode)
                add(*dropNode, 3, item);
            const MenuHandle sub = desktop.subMenu(menu, pos);
            const bool walking = sub == menu || std::any_of(stack.begin(), stack.end(),
                                                            [&](const Resume& r) { return r.menu == sub; });
            if (sub && !walking) {
                stack.push_back({menu, pos + 1});
                menu = sub;
                pos = 0;
                ++level;
                tree.deepestLevel = std::max(tree.deepestLevel, level);
                entered = true;
                break;
            }
        }
        if (entered) continue;
        if (stack.empty()) break;
        menu = stack.back().menu;
        pos = stack.back().next;
        stack.pop_back();
        --level;
    }
    return tree;
}

std::string GetMenuText(const MenuTree& tree, int id) {
    std::vector<const MenuNode*> path;
    if (!PathTo(tree.root, id, path)) return "";
    std::string out;
    for (std::size_t i = 1; i < path.size(); ++i) {
        out += kEsc;
        out += path[i]->item;
    }
    return out;
}

}  // namespace taskloom
