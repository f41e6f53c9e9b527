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

// One walk of a menu bar: the menu being read and the position in it, the
// menus it came down through, and the last nodes added at the bar and the
// drop-down levels, the parents of the next level's nodes.
class MenuWalk {
public:
    MenuWalk(Desktop& desktop, MenuTree& tree, MenuHandle bar) : desktop_(desktop), tree_(tree), menu_(bar) {}

    void run() {
        while (true) {
            if (readMenu()) continue;  // went down into a submenu
            if (stack_.empty()) return;
            menu_ = stack_.back().menu;
            pos_ = stack_.back().next;
            stack_.pop_back();
            --level_;
        }
    }

private:
    // Reads the menu on from the position; answers whether it went down
    // into a submenu, or else read the menu to its end.
    bool readMenu() {
        const int count = std::max(0, desktop_.menuItemCount(menu_));
        for (; pos_ < count && tree_.itemsVisited < kMaxItemsVisited; ++pos_) {
            ++tree_.itemsVisited;
            std::string item = desktop_.menuString(menu_, pos_);
            if (item.size() > kMenuTextMax) item.resize(kMenuTextMax);
            if (item.empty()) continue;  // a separator, and whatever hangs below it
            addNode(item);
            if (enter(desktop_.subMenu(menu_, pos_))) return true;
        }
        return false;
    }

    // Each new node becomes the parent of the level below; adding at a
    // level leaves the nodes above it where they are.
    void addNode(const std::string& item) {
        if (level_ == 0)
            barNode_ = &add(tree_.root, 1, item);
        else if (level_ == 1 && barNode_)
            dropNode_ = &add(*barNode_, 2, item);
        else if (level_ == 2 && dropNode_)
            add(*dropNode_, 3, item);
    }

    MenuNode& add(MenuNode& parent, int level, const std::string& item) {
        MenuNode n;
        n.id = nextId_++;
        n.level = level;
        n.text = TrimBlanks(item);
        n.item = item;
        parent.children.push_back(std::move(n));
        return parent.children.back();
    }

    // Goes down into the item's submenu unless there is none or it is
    // already being walked.
    bool enter(MenuHandle sub) {
        const bool walking = sub == menu_ || std::any_of(stack_.begin(), stack_.end(),
                                                         [&](const Resume& r) { return r.menu == sub; });
        if (!sub || walking) return false;
        stack_.push_back({menu_, pos_ + 1});
        menu_ = sub;
        pos_ = 0;
        ++level_;
        tree_.deepestLevel = std::max(tree_.deepestLevel, level_);
        return true;
    }

    Desktop& desktop_;
    MenuTree& tree_;
    MenuHandle menu_;
    int pos_ = 0;
    int level_ = 0;  // of the menu being read: 0 the bar
    std::vector<Resume> stack_;
    int nextId_ = 1;
    MenuNode* barNode_ = nullptr;   // the last node added at level 1
    MenuNode* dropNode_ = nullptr;  // the last node added at level 2
};

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
    if (bar) MenuWalk(desktop, tree, bar).run();
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
