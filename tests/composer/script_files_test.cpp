#include <gtest/gtest.h>

#include <filesystem>

#include "engine/filestore.h"
#include "engine/text.h"
#include "composer/model/script_files.h"
#include "tests/sim/temp_dir.h"

using namespace taskloom;
using taskloom::sim::TempDir;
using Lines = std::vector<std::string>;

namespace {}  // namespace

TEST(ScriptFiles, TksNamingRules) {
    // A new script asks for a name, proposing "New"; a script name saves in place.
    EXPECT_TRUE(PlanSave(kNewScriptName).askName);
    EXPECT_EQ(PlanSave(kNewScriptName).proposed, "New");
    EXPECT_FALSE(PlanSave("C:\\work\\order.tks").askName);
    EXPECT_FALSE(PlanSave("a.tks.bak").askName);  // ".tks" anywhere counts
    EXPECT_TRUE(PlanSave("a.TKS").askName);       // with case
    EXPECT_EQ(SaveFileName("order"), "order.tks");
    EXPECT_EQ(SaveFileName("a.tks.bak"), "a.tks.bak");
    EXPECT_EQ(SaveFileName("a.TKS"), "a.TKS.tks");
    // Save As proposes the name cut at its first ".tks", so it always asks.
    EXPECT_EQ(SaveAsProposal("C:\\s\\a.tks.bak"), "C:\\s\\a");
    EXPECT_EQ(SaveAsProposal("New"), "New");
    EXPECT_TRUE(PlanSave(SaveAsProposal("x.tks")).askName);

    EXPECT_EQ(ScriptCaption("Taskloom - New", "C:\\a.tks"), "Taskloom - C:\\a.tks");
    EXPECT_EQ(ScriptCaption("Taskloom", "New"), "Taskloom - New");
    EXPECT_EQ(CaptionProduct("Task-loom - x - y"), "Task-loom");
    const NewMacroEffect effect = NewMacro("Taskloom - old.tks", "New");
    EXPECT_EQ(effect.caption, "Taskloom - New");
    EXPECT_FALSE(effect.saveEnabled);
    EXPECT_EQ(effect.page, "Windows");

    EXPECT_EQ(DialogFilter(kOpenScriptFilter), std::string("All Files (*.tks)\0*.tks\0\0", 25));
}

TEST(ScriptFiles, OpenReadsFirstAndSaveRoundTrips) {
    TempDir dir;
    const Lines script = {"{:TO Order Form}", "Ada, \"the\" first", "", "{:Menu \x1b&File\x1b&Save}"};
    const std::string name = dir.file(SaveFileName("order"));
    SaveScript(name, script);
    EXPECT_EQ(ReadTextFile(name),
              "\"{:TO Order Form}\",\"Ada, \"\"the\"\" first\",,\"{:Menu \x1b&File\x1b&Save}\"");
    const OpenedScript opened = OpenScript(name);
    EXPECT_FALSE(opened.error);
    EXPECT_EQ(opened.lines, script);
    // A file that cannot be read gives its name and reason and no lines.
    const OpenedScript missing = OpenScript(dir.file("gone.tks"));
    ASSERT_TRUE(missing.error);
    EXPECT_TRUE(missing.lines.empty());
    EXPECT_NE(std::string(missing.error->what()).find("gone.tks"), std::string::npos);
    EXPECT_FALSE(missing.error->reason().empty());
    EXPECT_TRUE(OpenScript(dir.path().string()).error);  // a folder
    // A failed save throws and leaves the file before it whole.
    EXPECT_THROW(SaveScript(dir.file("no/such/folder/a.tks"), script), FileError);
}

TEST(ScriptFiles, PasteAppendsEveryClipsLineAndMarksModified) {
    Lines script = {"{:TO Editor}"};
    EXPECT_FALSE(PasteAsks({}));
    EXPECT_FALSE(PasteScript(script, {}));
    EXPECT_EQ(script.size(), 1u);
    const Lines clips = {"{Enter}", "", "  {:Goto x}  "};
    EXPECT_TRUE(PasteAsks(clips));
    EXPECT_TRUE(PasteScript(script, clips));
    EXPECT_EQ(script, (Lines{"{:TO Editor}", "{Enter}", "", "  {:Goto x}  "}));
    EXPECT_EQ(
        PasteQuestion(),
        "The script statements you are about to enter\r\nfrom the Clips pad are NOT verified... Proceed?");
}

TEST(ScriptFiles, CheckRowsPointAtLines) {
    const std::vector<CheckRow> rows = CheckScriptRows({"{.Top}", "x", "{:Goto Tpo}"}, kNewScriptName);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].line, 3u);
    EXPECT_EQ(rows[0].text.rfind("Line 3: error: ", 0), 0u) << rows[0].text;
    EXPECT_NE(rows[0].text.find("Tpo"), std::string::npos);
    const std::vector<CheckRow> clean = CheckScriptRows({"{.Top}", "{:Goto top}"}, "C:\\a.tks");
    ASSERT_EQ(clean.size(), 1u);
    EXPECT_EQ(clean[0].line, 0u);
    EXPECT_EQ(clean[0].text, kCheckClean);
}

TEST(ScriptFiles, SaveFlowsAndTheQuestionBeforeDropping) {
    TempDir dir;
    const Lines script = {"{:TO Editor}", "abc"};
    std::vector<std::string> offered;
    auto answer = [&](std::optional<std::string> chosen) {
        return [&offered, chosen](const std::string& proposed) {
            offered.push_back(proposed);
            return chosen;
        };
    };
    // A new script: the dialog offers "New"; the typed name gets ".tks".
    EXPECT_EQ(SaveMenuClick(kNewScriptName, script, answer(dir.file("order"))), dir.file("order.tks"));
    EXPECT_EQ(offered, Lines{"New"});
    EXPECT_EQ(OpenScript(dir.file("order.tks")).lines, script);
    // A named script is saved in place; Save As offers the name without ".tks".
    EXPECT_EQ(SaveMenuClick(dir.file("order.tks"), {"x"}, answer(std::nullopt)), dir.file("order.tks"));
    EXPECT_EQ(offered.size(), 1u);
    EXPECT_EQ(SaveAsMenuClick(dir.file("b.tks.bak"), script, answer(dir.file("b.tks.bak"))),
              dir.file("b.tks.bak"));
    EXPECT_EQ(offered.back(), dir.file("b"));
    EXPECT_EQ(SaveAsMenuClick(dir.file("order.tks"), script, answer(std::nullopt)), std::nullopt);
    EXPECT_EQ(OpenScript(dir.file("order.tks")).lines, Lines{"x"});  // cancelled: left as it was

    int asked = 0;
    auto says = [&](SaveAnswer a) {
        return [&asked, a] {
            ++asked;
            return a;
        };
    };
    EXPECT_TRUE(
        SaveBeforeDiscard(false, "New", script, says(SaveAnswer::Cancel), answer(std::nullopt)).proceed);
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(SaveBeforeDiscard(true, "New", script, says(SaveAnswer::No), answer(std::nullopt)).proceed);
    EXPECT_FALSE(
        SaveBeforeDiscard(true, "New", script, says(SaveAnswer::Cancel), answer(std::nullopt)).proceed);
    // Yes, then the Save dialog cancelled: the script stays.
    EXPECT_FALSE(SaveBeforeDiscard(true, "New", script, says(SaveAnswer::Yes), answer(std::nullopt)).proceed);
    const DiscardDecision saved =
        SaveBeforeDiscard(true, "New", script, says(SaveAnswer::Yes), answer(dir.file("kept")));
    EXPECT_TRUE(saved.proceed);
    EXPECT_EQ(saved.savedAs, dir.file("kept.tks"));
    EXPECT_EQ(asked, 4);
    EXPECT_THROW(SaveBeforeDiscard(true, "New", script, says(SaveAnswer::Yes), answer(dir.file("no/dir/x"))),
                 FileError);
}
