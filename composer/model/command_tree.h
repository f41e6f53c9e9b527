// The composer's command tree: every statement that is not a window switch,
// a menu pick, a key stroke or a note, as a fixed tree of item texts. The
// command keyword of a leaf is not kept anywhere: it is read off the texts of
// the items on its path, so the tree is the one source of both.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taskloom {

// What the tree view shows in front of an item; it means nothing to the
// logic. Loop groups are the " Loop to <Name> UNTIL" group and the groups
// below it.
enum class CommandPicture { Group, LoopGroup, Leaf };

struct CommandItem {
    std::string text;  // exact, leading and trailing blanks included
    int level = 0;     // 0 for the root "Commands"
    int parent = -1;   // index of the parent item, -1 for the root
    CommandPicture picture = CommandPicture::Leaf;
};

// The items in tree order (each item before its children, children in the
// order shown); index 0 is the root. The Win32 tree view is filled from this
// list and keeps each item's index as its item data.
const std::vector<CommandItem>& CommandTree();

// The number of leaves of the tree (43).
std::size_t CommandLeafCount();

// The texts of the items from the first item below the root down to `item`
// (empty for the root). `item` must be an index of CommandTree().
std::vector<std::string> CommandPath(std::size_t item);

// The keyword of a path of item texts: each text that begins with a blank or
// holds none loses its first character; the text up to its first blank is the
// item's word; the words joined after "{:". No keyword (nothing to add) when
// no text on the path holds a blank at its second position or later, which
// is the case for the root and for every group item.
std::optional<std::string> KeywordOfPath(const std::vector<std::string>& texts);

// The keyword of a tree item, or none for the root and the group items.
std::optional<std::string> CommandKeyword(std::size_t item);

}  // namespace taskloom
