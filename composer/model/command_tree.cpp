#include "composer/model/command_tree.h"

namespace taskloom {
namespace {

struct ItemText {
    int level;
    const char* text;
};

// Group items begin with a blank, leaves do not; the texts are exact.
constexpr ItemText kItems[] = {
    {0, "Commands"},
    {1, "Run <Name> <Parameter>"},
    {1, "Load text file <Name>"},
    {1, " Mouse "},
    {2, "Click control"},
    {2, "DblClick control"},
    {2, "RightClick control"},
    {1, " Pause <Count>"},
    {2, "Seconds "},
    {2, "1/10 of second"},
    {1, " Label <Name>"},
    {2, "Define "},
    {2, "Goto "},
    {1, " Clips "},
    {2, "Clear all"},
    {2, "Load <Name>"},
    {2, "Save <Name>"},
    {2, "Copy <Line> to Clipboard"},
    {2, "Paste from <Line>"},
    {2, " Delimiter "},
    {3, "Line feed - default"},
    {3, "Tab "},
    {3, "None "},
    {3, "Other <Value>"},
    {2, " Add clip from"},
    {3, "Text line"},
    {3, "Form field"},
    {3, "Controls "},
    {3, "Clipboard "},
    {3, "DOS window"},
    {3, "File field"},
    {1, " Loop to <Name> UNTIL"},
    {2, "Times <Count>"},
    {2, "EOF Clips"},
    {2, " Window <selected>"},
    {3, "Active "},
    {3, "Inactive "},
    {2, " File <Parameter>"},
    {3, "Exists "},
    {3, "NotFound "},
    {2, " Menu item <selected>"},
    {3, "Enabled "},
    {3, "Disabled "},
    {2, " Control <selected>"},
    {3, "Enabled "},
    {3, "Disabled "},
    {3, "EQ Clipboard"},
    {3, "NE Clipboard"},
    {2, " Clipboard "},
    {3, "Contains <Value>"},
    {3, "ContainsNOT <Value>"},
    {3, "EQ <Value>"},
    {3, "GE <Value>"},
    {3, "GT <Value>"},
    {3, "LE <Value>"},
    {3, "LT <Value>"},
};

// The word an item gives to the keyword.
std::string ItemWord(std::string_view text) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos || blank == 0) text.remove_prefix(text.empty() ? 0 : 1);
    return std::string(text.substr(0, text.find(' ')));
}

std::vector<CommandItem> BuildTree() {
    std::vector<CommandItem> items;
    std::vector<int> open;  // the last item seen on each level
    for (const ItemText& t : kItems) {
        CommandItem item;
        item.text = t.text;
        item.level = t.level;
        open.resize(static_cast<std::size_t>(t.level));
        item.parent = open.empty() ? -1 : open.back();
        open.push_back(static_cast<int>(items.size()));
        items.push_back(item);
    }
    // An item with children is a group; a group whose path starts with the
    // loop group is a loop group.
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool group = i + 1 < items.size() && items[i + 1].level > items[i].level;
        if (!group) continue;
        std::size_t top = i;
        while (items[top].level > 1) top = static_cast<std::size_t>(items[top].parent);
        const bool loop = items[top].level == 1 && ItemWord(items[top].text) == "Loop";
        items[i].picture = loop ? CommandPicture::LoopGroup : CommandPicture::Group;
    }
    return items;
}

}  // namespace

const std::vector<CommandItem>& CommandTree() {
    static const std::vector<CommandItem> tree = BuildTree();
    return tree;
}

std::size_t CommandLeafCount() {
    std::size_t leaves = 0;
    for (const CommandItem& item : CommandTree()) leaves += item.picture == CommandPicture::Leaf;
    return leaves;
}

std::vector<std::string> CommandPath(std::size_t item) {
    const std::vector<CommandItem>& tree = CommandTree();
    std::vector<std::string> path;
    for (int i = static_cast<int>(item); i >= 0 && tree[static_cast<std::size_t>(i)].level > 0;
         i = tree[static_cast<std::size_t>(i)].parent)
        path.insert(path.begin(), tree[static_cast<std::size_t>(i)].text);
    return path;
}

std::optional<std::string> KeywordOfPath(const std::vector<std::string>& texts) {
    std::string keyword = "{:";
    bool leaf = false;
    for (const std::string& text : texts) {
        const std::size_t blank = text.find(' ');
        if (blank != std::string::npos && blank >= 1) leaf = true;
        keyword += ItemWord(text);
    }
    if (!leaf) return std::nullopt;
    return keyword;
}

std::optional<std::string> CommandKeyword(std::size_t item) { return KeywordOfPath(CommandPath(item)); }

}  // namespace taskloom
