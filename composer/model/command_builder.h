// The Commands page's decisions: which line a chosen command writes, which
// check refuses it and where the user is sent then. The Win32 page reads its
// fields and the other pages' selections into the structures below, calls
// AddCommandClick and carries out the outcome (AddLine, or the error box and
// the focus), so every rule of the page is tested here without a window.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taskloom {

// The three fields of the page, as they stand.
struct CommandFields {
    std::string name;   // <Name>, as typed
    int count = 1;      // <Count / Line>, the spin's value (0 to 999)
    std::string value;  // <Parameter / Value>, as typed
};

// What some commands take from the other pages.
struct CommandSources {
    // The selected entry of the Windows page's title list; none when the list
    // is empty or nothing is selected.
    std::optional<std::string> windowTitle;
    // The Menus page: how many items its tree holds, and the path of the
    // selected item as the menu picker writes it (none when none is selected).
    std::size_t menuItemCount = 0;
    std::optional<std::string> menuPath;
    // The third page: its caption ("Controls", "DOS Screen", "TextFile"), the
    // lines of its list, and the caret line, column and selection length as
    // its status panel shows them (1-based).
    std::string thirdPageCaption;
    std::vector<std::string> controlLines;
    int caretLine = 0;
    int caretColumn = 0;
    int selectionLength = 0;
    // TargetWnd is above 0: a refused control command refills the control
    // list for that window.
    bool haveTargetWindow = false;
};

// Where a refused command sends the user.
enum class CommandFocus { None, NameField, ValueField, WindowsPage, MenusPage, ThirdPage };

struct CommandOutcome {
    enum class Kind {
        Nothing,  // the root or a group item: nothing added, nothing said
        Add,      // add scriptLine (AddLine closes it with "}"), then MacroBoxClick
        Refused   // show message in an error box with one OK button, then focus
    };
    Kind kind = Kind::Nothing;
    // The line buffer ScriptLine: on Add the line without its closing brace;
    // on Refused what had been composed when the check failed.
    std::string scriptLine;
    std::string message;  // a name shown with it stands on a second line ("\n")
    CommandFocus focus = CommandFocus::None;
    // Refused control commands with a target window: refill the third
    // page's control list for TargetWnd (GetControls) before showing it.
    bool refillControls = false;
};

// The command of tree item `item` (an index of CommandTree()), with the
// fields, the script's lines (labels are looked up anywhere in them, without
// regard to case) and the other pages' selections.
CommandOutcome AddCommandClick(std::size_t item, const CommandFields& fields,
                               const std::vector<std::string>& script, const CommandSources& sources);

// The same for a keyword as the tree gives it ("{:LoopTimes", ...).
CommandOutcome ComposeCommand(std::string_view keyword, const CommandFields& fields,
                              const std::vector<std::string>& script, const CommandSources& sources);

// The script holds the label line "{." name "}", compared without case.
bool HasLabel(const std::vector<std::string>& script, std::string_view name);

// BrowseAllClick: the Open dialog's filter, and the field that takes the
// chosen file's full name: <Name> for the <Name> field's button, otherwise
// <Parameter / Value>.
inline constexpr const char* kBrowseAllFilter = "All Files (*.*)|*.*";
enum class BrowseButton { Name, Parameter };
enum class BrowseTarget { NameField, ValueField };
BrowseTarget BrowseAllClick(BrowseButton pressed);

}  // namespace taskloom
