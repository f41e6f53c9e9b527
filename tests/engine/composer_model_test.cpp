#include "engine/composer_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace taskloom;
using Lines = std::vector<std::string>;

namespace {

ScriptList ListOf(Lines lines, int selected) {
    ScriptList list;
    list.assign(std::move(lines));
    list.select(selected);
    return list;
}

}  // namespace

TEST(ComposerModel, AddLineAtEndBelowTheSelectionAndAsFirstLine) {
    ScriptList list;
    KeyFields keys;
    EXPECT_EQ(LinePanelText(list), "Empty");
    EXPECT_EQ(AddLine(list, keys, "{:TO Notepad", false), (ListChange{0, 0, 1}));
    EXPECT_EQ(list.lines(), Lines{"{:TO Notepad}"});  // a command gets its brace
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(LinePanelText(list), "Line: 1");
    EXPECT_TRUE(list.modified());

    AddLine(list, keys, "b", false);
    list.select(0);
    keys = {"{Tab}", "typed}", 7};  // left on the Keys page: the brace still closes
    EXPECT_EQ(AddLine(list, keys, "{:Wait 2", false), (ListChange{1, 0, 1}));
    EXPECT_EQ(list.lines(), (Lines{"{:TO Notepad}", "{:Wait 2}typed}", "b"}));
    EXPECT_EQ(list.selected(), 1);
    EXPECT_EQ(keys, KeyFields{});  // both fields emptied, count 1
    EXPECT_EQ(list.generation(), 3u);

    // Lines standing but none selected (a script just opened): the new line
    // goes to the end and is the one selected, so the next goes below it.
    list.assign({"x", "y"});
    EXPECT_EQ(LinePanelText(list), "");
    AddLine(list, keys, "z1", false);
    AddLine(list, keys, "z2", false);
    EXPECT_EQ(list.lines(), (Lines{"x", "y", "z1", "z2"}));
    EXPECT_EQ(LinePanelText(list), "Line: 4");

    // A double-click on the list appends a copy and counts as a change.
    list.select(1);
    list.setModified(false);
    EXPECT_FALSE(AskToSaveOnQuit(list));
    EXPECT_EQ(list.duplicateSelected(), (ListChange{4, 0, 1}));
    EXPECT_EQ(list.lines().back(), "y");
    EXPECT_EQ(list.selected(), 1);
    EXPECT_TRUE(AskToSaveOnQuit(list));
    list.select(ScriptList::kNone);
    EXPECT_FALSE(list.duplicateSelected().any());
}

TEST(ComposerModel, PopupBlockWrittenAndReadBack) {
    ScriptList list = ListOf({"first", "last"}, 0);
    KeyFields keys;
    PopupPage page;
    page.memo = {"Dear sir", "{Enter"};
    EXPECT_EQ(AddPopupBlock(list, keys, page), (ListChange{1, 0, 4}));
    EXPECT_EQ(list.lines(),
              (Lines{"first", "{:PopUp 200 200 Notes:}", "Dear sir", "{Enter}", "{:/}", "last"}));
    EXPECT_EQ(list.selected(), 4);

    page = {1, 5, "Hi", {"r"}, true};
    AddPopupBlock(list, keys, page);
    EXPECT_FALSE(page.remarkOnly);  // unchecked once used
    EXPECT_EQ(PopupBlockLines(page).front(), "{:PopUp 0 400 Hi");
    EXPECT_EQ(list.line(5), "{:/ Remark}");

    // Read back into a page that shows something else.
    PopupPage shown{5, 1, "old", {"old memo"}, false};
    EXPECT_TRUE(ReadPopupBlock(list.lines(), 1, shown));
    EXPECT_EQ(shown, (PopupPage{3, 3, "Notes:", {"Dear sir", "{Enter}"}, false}));
    EXPECT_TRUE(ReadPopupBlock(list.lines(), 5, shown));
    EXPECT_EQ(shown, (PopupPage{3, 3, "Notes:", {"r"}, true}));
    EXPECT_FALSE(ReadPopupBlock(list.lines(), 0, shown));
    EXPECT_FALSE(ReadPopupBlock(list.lines(), 99, shown));

    // Positions beyond the sliders are held at their ends; the title ends at
    // the brace; a line holding "{:" ends the text.
    const Lines odd{"{:PopUp 1000 -250 T:}typed", "a", "b{:Wait 1}", "c"};
    EXPECT_TRUE(ReadPopupBlock(odd, 0, shown));
    EXPECT_EQ(shown, (PopupPage{5, 1, "T:", {"a"}, false}));

    // Numbers that do not convert: the line and the text are named, the page
    // keeps what it showed.
    const PopupPage before = shown;
    for (auto [line, bad] : {std::pair{"{:PopUp 2x0 200 T}", "2x0"},
                             {"{:PopUp 200 y T}", "y"},
                             {"{:PopUp 200}", "200}"},
                             {"{:PopUp}", ""}}) {
        const Lines lines{"a", line, "memo"};
        try {
            ReadPopupBlock(lines, 1, shown);
            ADD_FAILURE() << line;
        } catch (const PopupHeaderError& e) {
            EXPECT_EQ(e.lineNumber(), 2u);
            EXPECT_EQ(e.badText(), bad);
            EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
        }
        EXPECT_EQ(shown, before);
    }
}

TEST(ComposerModel, DeleteTakesAWholePopupBlockAndALoneClosingLineAlone) {
    const Lines script{"{:TO A}", "{:PopUp 0 0 N}", "one", "two",  "{:/}",
                       "keys",    "{:/ Remark}",    "why", "{:/}", "end"};
    ScriptList list = ListOf(script, 1);
    EXPECT_EQ(list.deleteSelected(), (ListChange{1, 4, 0}));
    EXPECT_EQ(list.lines(), (Lines{"{:TO A}", "keys", "{:/ Remark}", "why", "{:/}", "end"}));
    EXPECT_EQ(list.selected(), 0);
    EXPECT_TRUE(list.modified());
    list.select(2);
    list.deleteSelected();
    EXPECT_EQ(list.lines(), (Lines{"{:TO A}", "keys", "end"}));
    EXPECT_EQ(list.selected(), 1);

    // A closing line alone takes nothing after it.
    list = ListOf(script, 4);
    EXPECT_EQ(list.deleteSelected(), (ListChange{4, 1, 0}));
    EXPECT_EQ(list.lines().size(), script.size() - 1);
    EXPECT_EQ(list.line(4), "keys");

    // A header without its closing line stops before the next command.
    list = ListOf({"{:PopUp 0 0 N}", "text", "{:Wait 1}", "x"}, 0);
    list.deleteSelected();
    EXPECT_EQ(list.lines(), (Lines{"{:Wait 1}", "x"}));
    EXPECT_EQ(list.selected(), 0);  // deleted from the top: the new first line

    list = ListOf({"only"}, 0);
    list.deleteSelected();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.selected(), ScriptList::kNone);
    EXPECT_FALSE(list.deleteSelected().any());
}

TEST(ComposerModel, UpAndDownMoveOneLine) {
    ScriptList list = ListOf({"a", "b", "c"}, 1);
    EXPECT_EQ(list.moveUp(), (ListChange{0, 2, 2}));
    EXPECT_EQ(list.lines(), (Lines{"b", "a", "c"}));
    EXPECT_EQ(list.selected(), 0);
    EXPECT_TRUE(list.modified());
    EXPECT_FALSE(list.moveUp().any());
    EXPECT_EQ(list.moveDown(), (ListChange{0, 2, 2}));
    list.moveDown();
    EXPECT_EQ(list.lines(), (Lines{"a", "c", "b"}));
    EXPECT_EQ(list.selected(), 2);
    EXPECT_FALSE(list.moveDown().any());
    list.select(ScriptList::kNone);
    EXPECT_FALSE(list.moveUp().any());
    EXPECT_FALSE(list.moveDown().any());
}

TEST(ComposerModel, ButtonsRoutesAndPanels) {
    ScriptList list;
    ButtonStates s = SetButtons(list, "Windows");
    EXPECT_FALSE(s.deleteEnabled || s.upEnabled || s.downEnabled || s.testEnabled);
    EXPECT_TRUE(s.clearTarget);
    list = ListOf({"a", "b", "c"}, 1);
    s = SetButtons(list, "Controls");
    EXPECT_TRUE(s.deleteEnabled && s.upEnabled && s.downEnabled && s.testEnabled && s.statusBarVisible);
    EXPECT_EQ(s.refresh, PageRefresh::ControlList);
    EXPECT_EQ(s.formHeight, kFormHeight);
    list.select(2);
    s = SetButtons(list, "Tessdeck");
    EXPECT_TRUE(s.upEnabled && !s.downEnabled && !s.statusBarVisible);
    EXPECT_EQ(s.formHeight, kPadFormHeight);
    EXPECT_EQ(s.refresh, PageRefresh::PadCheck);
    EXPECT_EQ(SetButtons(list, "DOS Screen").refresh, PageRefresh::None);

    EXPECT_EQ(AddBtnRoute("Menus", true), AddRoute::Menu);
    EXPECT_EQ(AddBtnRoute("Popup", true), AddRoute::Popup);
    EXPECT_EQ(AddBtnRoute("Windows", true), AddRoute::Duplicate);
    EXPECT_EQ(AddBtnRoute("Windows", false), AddRoute::Switch);
    EXPECT_EQ(AddBtnRoute("Keys", false), AddRoute::Plain);
    EXPECT_EQ(WindowPanelText("Notepad",
                              "\x1b"
                              "File"),
              "Notepad {Menu: \x1b"
              "File}");
    EXPECT_EQ(WindowPanelText("", "x"), "");
    EXPECT_EQ(FormCaption("New"), "Taskloom - New");
}

TEST(ComposerModel, TestPopupPreview) {
    namespace fs = std::filesystem;
    const fs::path file =
        fs::temp_directory_path() / ("taskloom-preview-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(file) << "from\r\nfile\r\n";
    const std::string at = "@" + file.string();
    const NotePreview n = PopTestClick({1, 5, "T", {"lost", at, "after", "@no such file"}, false});
    fs::remove(file);
    EXPECT_EQ(n.lines, (Lines{"from", "file", "after", "??? @no such file"}));
    EXPECT_EQ(n.title, "T");
    EXPECT_EQ(n.x, 0);
    EXPECT_EQ(n.y, 350);
    EXPECT_EQ(PopTestClick({4, 4, "", {}, false}).y, 300);
}

TEST(ComposerModel, SpinFieldsHoldTypedNumbersToTheirRangeAndRefuseNoNumber) {
    // What is typed counts, never an earlier value: outside the range it is
    // held to the range's end.
    EXPECT_EQ(SpinFieldValue("Send Count", "250", 1, 100), 100);
    EXPECT_EQ(SpinFieldValue("<Count / Line>", "1500", 0, 999), 999);
    EXPECT_EQ(SpinFieldValue("<Count / Line>", " 7 ", 0, 999), 7);
    EXPECT_EQ(SpinFieldValue("Send Count", "0", 1, 100), 1);
    EXPECT_EQ(SpinFieldValue("Send Count", "-40", 1, 100), 1);
    EXPECT_EQ(SpinFieldValue("Send Count", "99999999999999999999999", 1, 100), 100);
    // An empty field, or text that is no number, is refused by the field's name.
    for (const char* text : {"", "  ", "12a", "-", "1 2"}) {
        try {
            SpinFieldValue("Send Count", text, 1, 100);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const FieldError& e) {
            EXPECT_NE(std::string(e.what()).find("\"Send Count\""), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("from 1 to 100"), std::string::npos) << e.what();
        }
    }
}

TEST(ComposerModel, UnsavedPadIsAskedAboutAndAFailedStartNamesTheFile) {
    EXPECT_TRUE(AskToSavePad(true, 3));
    EXPECT_FALSE(AskToSavePad(false, 3));  // as opened or saved
    EXPECT_FALSE(AskToSavePad(true, 0));   // nothing to lose
    EXPECT_NE(ShellStartFailedText("C:\\Taskloom\\loomwright.html").find("\"C:\\Taskloom\\loomwright.html\""),
              std::string::npos);
}
