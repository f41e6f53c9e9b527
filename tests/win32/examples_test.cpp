// The example scripts of examples/, run by the console runner as a user
// would run them, against the windows they expect.
#include <gtest/gtest.h>

#include <string>

#include "tests/win32/script_fixture.h"

namespace taskloom {
namespace {

using namespace wintest;

std::string Example(const std::string& name) { return FromBuildPath(TASKLOOM_EXAMPLES) + "\\" + name; }

class ExampleTest : public ScriptTest {
protected:
    CapturedRun Start(const std::string& example, const std::string& options = {}) {
        return CapturedRun(Quote(TaskloomExe()) + " run " + options + " " + Quote(Example(example)),
                           folder_.path());
    }
};

TEST_F(ExampleTest, FillFormWaitsForTheFormFillsItAndSends) {
    const std::string sent = folder_ / "sent.txt";
    CapturedRun run = Start("fill-form.tks");
    Sleep(800);  // the form opens while the script waits for it
    Target form("--form --out " + Quote(sent), "Order Form");
    ASSERT_TRUE(form.window());
    const Finished f = run.finish();
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(sent) == "sent: Ada Lovelace/London"; }, 5000))
        << "sent: " << ReadWholeFile(sent);
    EXPECT_NE(form.control("sent: Ada Lovelace/London"), nullptr);
}

TEST_F(ExampleTest, CollectLinesCopiesTheFirstThreeLinesToTheEnd) {
    Target target("--line \"alpha 1\" --line \"beta 2\" --line \"gamma 3\" --line \"delta 4\"",
                  "Taskloom Target");
    ASSERT_TRUE(target.field());
    const Finished f = Start("collect-lines.tks").finish();
    EXPECT_EQ(f.status, 0u) << f.err;
    const std::string expected =
        "alpha 1\r\nbeta 2\r\ngamma 3\r\ndelta 4\r\ncopy: alpha 1\r\ncopy: beta 2\r\ncopy: gamma 3";
    EXPECT_EQ(target.fieldText(expected), expected);
    EXPECT_EQ(ReadWholeFile(folder_ / "collected.txt"), "\"alpha 1\"\r\n\"beta 2\"\r\n\"gamma 3\"\r\n");
}

TEST_F(ExampleTest, WaitWindowTypesIntoTheReportOnceItIsOpen) {
    CapturedRun run = Start("wait-window.tks");
    Sleep(1000);
    Target report("\"Report - Done\"", "Report - Done");
    ASSERT_TRUE(report.field());
    const Finished f = run.finish();
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_EQ(report.fieldText("The report is done."), "The report is done.");
}

TEST_F(ExampleTest, NoteIsAnsweredByTheOptionAndTheScriptGoesOnOrStops) {
    Target target("", "Taskloom Target");
    ASSERT_TRUE(target.field());

    Finished f = Start("note.tks", "--note=abort").finish();
    EXPECT_EQ(f.status, 5u) << f.err;
    EXPECT_NE(f.err.find("note \"Taskloom\" at 200,200:\n  This script shows a note and waits.\n"
                         "  Continue goes on; Abort stops the script.\n  -> Abort"),
              std::string::npos)
        << f.err;

    f = Start("note.tks", "--note=continue").finish();
    EXPECT_EQ(f.status, 0u) << f.err;
    EXPECT_NE(f.err.find("-> Continue"), std::string::npos) << f.err;
    // Only the run that went on typed.
    EXPECT_EQ(target.fieldText("Continued after the note."), "Continued after the note.");
}

}  // namespace
}  // namespace taskloom
