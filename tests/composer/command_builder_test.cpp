#include <gtest/gtest.h>

#include "composer/model/command_builder.h"
#include "composer/model/command_tree.h"

using namespace taskloom;
using Lines = std::vector<std::string>;
using Kind = CommandOutcome::Kind;

namespace {

// The index of the item reached by the texts below the root.
std::size_t Item(const Lines& path) {
    const auto& tree = CommandTree();
    for (std::size_t i = 0; i < tree.size(); ++i)
        if (CommandPath(i) == path) return i;
    ADD_FAILURE() << "no item " << path.back();
    return 0;
}

// Sources under which every command can be composed.
CommandSources AllSelected() {
    CommandSources s;
    s.windowTitle = "Report - Editor";
    s.menuItemCount = 3;
    s.menuPath = "\x1b&File\x1b&Save";
    s.thirdPageCaption = "Controls";
    s.controlLines = {"OK", "Cancel", "Apply"};
    s.caretLine = 2;
    s.caretColumn = 3;
    s.selectionLength = 4;
    return s;
}

// The added line as it stands in the script: AddLine closes it.
std::string Written(const CommandOutcome& out) {
    EXPECT_EQ(out.kind, Kind::Add) << out.message;
    return out.scriptLine + "}";
}

void ExpectRefused(const CommandOutcome& out, const std::string& message, CommandFocus focus) {
    EXPECT_EQ(out.kind, Kind::Refused) << out.scriptLine;
    EXPECT_EQ(out.message, message);
    EXPECT_EQ(out.focus, focus) << message;
}

}  // namespace

TEST(CommandTree, EveryLeafWritesItsLine) {
    // In tree order; N = "Again" (trimmed), P = "v  x" (trimmed), V = "  v  x "
    // (as typed), C = 5, W, M, L = "Cancel" (caret line 2), field 2 3 4.
    const Lines expected = {"{:Run Again v  x}",
                            "{:Load Again}",
                            "{:MouseClick Cancel}",
                            "{:MouseDblClick Cancel}",
                            "{:MouseRightClick Cancel}",
                            "{:PauseSeconds 5}",
                            "{:Pause1/10 5}",
                            "{.Again}",
                            "{:Goto Again}",
                            "{:ClipsClear}",
                            "{:ClipsLoad Again}",
                            "{:ClipsSave Again}",
                            "{:ClipsCopy 5}",
                            "{:ClipsPaste 5}",
                            "{:ClipsDelimiterLine}",
                            "{:ClipsDelimiterTab}",
                            "{:ClipsDelimiterNone}",
                            "{:ClipsDelimiterOther   v  x }",
                            "{:ClipsAddText}",
                            "{:ClipsAddForm}",
                            "{:ClipsAddControls 2 3 4}",
                            "{:ClipsAddClipboard}",
                            "{:ClipsAddDOS 2 3 4}",
                            "{:ClipsAddFile 2 3 4}",
                            "{:LoopTimes Again 5}",
                            "{:LoopEOF Again}",
                            "{:LoopWindowActive Again Report - Editor}",
                            "{:LoopWindowInactive Again Report - Editor}",
                            "{:LoopFileExists Again   v  x }",
                            "{:LoopFileNotFound Again   v  x }",
                            "{:LoopMenuEnabled Again \x1b&File\x1b&Save}",
                            "{:LoopMenuDisabled Again \x1b&File\x1b&Save}",
                            "{:LoopControlEnabled Again Cancel}",
                            "{:LoopControlDisabled Again Cancel}",
                            "{:LoopControlEQ Again}",
                            "{:LoopControlNE Again}",
                            "{:LoopClipboardContains Again   v  x }",
                            "{:LoopClipboardContainsNOT Again   v  x }",
                            "{:LoopClipboardEQ Again   v  x }",
                            "{:LoopClipboardGE Again   v  x }",
                            "{:LoopClipboardGT Again   v  x }",
                            "{:LoopClipboardLE Again   v  x }",
                            "{:LoopClipboardLT Again   v  x }"};
    ASSERT_EQ(CommandLeafCount(), 43u);
    const CommandFields fields{" Again ", 5, "  v  x "};
    const auto& tree = CommandTree();
    std::size_t leaf = 0;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        if (tree[i].picture != CommandPicture::Leaf) {
            // The root and the groups add nothing and say nothing.
            EXPECT_FALSE(CommandKeyword(i)) << tree[i].text;
            EXPECT_EQ(AddCommandClick(i, fields, {"{.again}"}, AllSelected()).kind, Kind::Nothing);
            continue;
        }
        ASSERT_LT(leaf, expected.size());
        const bool define = CommandKeyword(i) == "{:LabelDefine";
        const Lines script = define ? Lines{} : Lines{"{.again}"};
        EXPECT_EQ(Written(AddCommandClick(i, fields, script, AllSelected())), expected[leaf]) << tree[i].text;
        ++leaf;
    }
    EXPECT_EQ(leaf, 43u);
}

TEST(CommandTree, TextsAndPictures) {
    const auto& tree = CommandTree();
    ASSERT_EQ(tree.front().text, "Commands");
    // Groups begin with a blank, leaves do not.
    for (std::size_t i = 1; i < tree.size(); ++i)
        EXPECT_EQ(tree[i].text[0] == ' ', tree[i].picture != CommandPicture::Leaf) << tree[i].text;
    EXPECT_EQ(tree[0].picture, CommandPicture::Group);
    EXPECT_EQ(tree[Item({" Clips ", " Delimiter "})].picture, CommandPicture::Group);
    EXPECT_EQ(tree[Item({" Loop to <Name> UNTIL"})].picture, CommandPicture::LoopGroup);
    EXPECT_EQ(tree[Item({" Loop to <Name> UNTIL", " Clipboard "})].picture, CommandPicture::LoopGroup);
    // The derivation itself, on texts outside the tree.
    EXPECT_EQ(KeywordOfPath({" Loop to <Name> UNTIL", " Control <selected>", "EQ Clipboard"}),
              "{:LoopControlEQ");
    EXPECT_EQ(KeywordOfPath({" A b", "Cd e"}), "{:ACd");
    EXPECT_EQ(KeywordOfPath({"Xab", "Cd e"}), "{:abCd");  // no blank: the first character goes
    EXPECT_FALSE(KeywordOfPath({" Loop to <Name> UNTIL", " Control <selected>"}));
    EXPECT_FALSE(KeywordOfPath({}));
}

TEST(CommandBuilder, NameChecks) {
    const CommandSources s = AllSelected();
    const std::size_t run = Item({"Run <Name> <Parameter>"});
    for (const char* empty : {"", " ", "\tprog", "   "})
        ExpectRefused(AddCommandClick(run, {empty, 1, "x"}, {}, s), "Undefined <Name>",
                      CommandFocus::NameField);
    // An empty parameter leaves the blank before the brace.
    EXPECT_EQ(Written(AddCommandClick(run, {"  notepad ", 1, "  "}, {}, s)), "{:Run notepad }");
    ExpectRefused(AddCommandClick(Item({" Clips ", "Save <Name>"}), {"", 1, ""}, {}, s), "Undefined <Name>",
                  CommandFocus::NameField);
    // A loop asks for its name before anything else.
    ExpectRefused(AddCommandClick(Item({" Loop to <Name> UNTIL", " Window <selected>", "Active "}),
                                  {"", 1, ""}, {"{.}"}, CommandSources{}),
                  "Undefined <Name>", CommandFocus::NameField);
}

TEST(CommandBuilder, LabelsAreCaseBlindAndFoundAnywhere) {
    const CommandSources s = AllSelected();
    const std::size_t define = Item({" Label <Name>", "Define "}), jump = Item({" Label <Name>", "Goto "});
    const std::size_t times = Item({" Loop to <Name> UNTIL", "Times <Count>"});
    Lines script = {"{:TO Editor}"};
    EXPECT_EQ(Written(AddCommandClick(define, {" Start ", 1, ""}, script, s)), "{.Start}");
    script.push_back("{.Start}");
    ExpectRefused(AddCommandClick(define, {"start", 1, ""}, script, s), "Duplicate Label\nstart",
                  CommandFocus::NameField);
    EXPECT_EQ(Written(AddCommandClick(jump, {"START", 1, ""}, script, s)), "{:Goto START}");
    ExpectRefused(AddCommandClick(jump, {"Stat", 1, ""}, script, s), "Invalid Label\nStat",
                  CommandFocus::NameField);
    ExpectRefused(AddCommandClick(jump, {"", 1, ""}, script, s), "Invalid Label\n", CommandFocus::NameField);
    for (const char* bad : {"", "  ", "two words", "a}b"})
        ExpectRefused(AddCommandClick(define, {bad, 1, ""}, script, s),
                      "Undefined or Invalid <Name>\n" + std::string(bad == std::string("  ") ? "" : bad),
                      CommandFocus::NameField);
    // A loop's label may stand below the loop; it must be a whole label line.
    EXPECT_EQ(Written(AddCommandClick(times, {"later", 7, ""}, {"{:LoopTimes x 1}", "{.LATER}"}, s)),
              "{:LoopTimes later 7}");
    ExpectRefused(AddCommandClick(times, {"later", 7, ""}, {" {.later}", "{.later}x"}, s),
                  "Invalid Label\nlater", CommandFocus::NameField);
    // The spin's value is held within 0 to 999.
    EXPECT_EQ(Written(AddCommandClick(times, {"later", 5000, ""}, {"{.later}"}, s)),
              "{:LoopTimes later 999}");
    EXPECT_EQ(Written(AddCommandClick(Item({" Pause <Count>", "Seconds "}), {"", 0, ""}, {}, s)),
              "{:PauseSeconds 0}");
}

TEST(CommandBuilder, ValuesAndSelections) {
    const Lines script = {"{.L}"};
    const CommandFields named{"L", 1, ""};
    const std::size_t other = Item({" Clips ", " Delimiter ", "Other <Value>"});
    const std::size_t fileLoop = Item({" Loop to <Name> UNTIL", " File <Parameter>", "Exists "});
    for (const char* empty : {"", " ", "\x01x"}) {
        ExpectRefused(AddCommandClick(other, {"", 1, empty}, {}, {}), "Undefined <Value>",
                      CommandFocus::ValueField);
        ExpectRefused(AddCommandClick(fileLoop, {"L", 1, empty}, script, {}), "Undefined <Value>",
                      CommandFocus::ValueField);
    }
    EXPECT_EQ(Written(AddCommandClick(other, {"", 1, "  ;"}, {}, {})), "{:ClipsDelimiterOther   ;}");

    CommandSources none;
    none.menuItemCount = 1;  // the tree's lone item is not a menu item
    none.menuPath = "\x1b&File";
    ExpectRefused(AddCommandClick(Item({" Loop to <Name> UNTIL", " Menu item <selected>", "Enabled "}), named,
                                  script, none),
                  "Please select a Menu item", CommandFocus::MenusPage);
    ExpectRefused(AddCommandClick(Item({" Loop to <Name> UNTIL", " Window <selected>", "Inactive "}), named,
                                  script, none),
                  "Please select a Window title", CommandFocus::WindowsPage);

    // Controls: only from a control list, and only a line it holds.
    const std::size_t click = Item({" Mouse ", "Click control"});
    const std::size_t controlLoop = Item({" Loop to <Name> UNTIL", " Control <selected>", "Disabled "});
    CommandSources dos = AllSelected();
    dos.thirdPageCaption = "DOS Screen";
    dos.haveTargetWindow = true;
    for (std::size_t item : {click, controlLoop}) {
        const CommandOutcome out = AddCommandClick(item, named, script, dos);
        ExpectRefused(out, "Please select a Control item", CommandFocus::ThirdPage);
        EXPECT_TRUE(out.refillControls);
    }
    for (int caret : {0, 4}) {
        CommandSources s = AllSelected();
        s.caretLine = caret;
        const CommandOutcome out = AddCommandClick(click, named, script, s);
        ExpectRefused(out, "Please select a Control item", CommandFocus::ThirdPage);
        EXPECT_FALSE(out.refillControls);  // no target window to read controls from
    }
    // A console screen serves for the field captures, which need a selection.
    EXPECT_EQ(Written(AddCommandClick(Item({" Clips ", " Add clip from", "DOS window"}), named, script, dos)),
              "{:ClipsAddDOS 2 3 4}");
    dos.selectionLength = 0;
    ExpectRefused(AddCommandClick(Item({" Clips ", " Add clip from", "File field"}), named, script, dos),
                  "Please select a field", CommandFocus::ThirdPage);
}
