#include <gtest/gtest.h>

#include <map>

#include "pad/model/clips_pane.h"
#include "engine/errors.h"
#include "pad/model/phone.h"

using namespace taskloom;

TEST(Phone, NumberTest) {
    for (const char* yes :
         {"555-1234", "555-1234567", "1-800-555-1234", "555 - 123, 4", "12-34567", "55-55-55"})
        EXPECT_TRUE(IsPhoneNumber(yes)) << yes;
    for (const char* no : {"555-123", "-5551234", "12-3456", "5-5-5-5-", "555 123 4567", "555-1234x", "",
                           "1-2-3-4-5", "555-12a4", "555\t1234-1", "55-555\n5"})
        EXPECT_FALSE(IsPhoneNumber(no)) << no;
    EXPECT_EQ(TelAddress("555 - 1234"), "tel:555-1234");
}

TEST(ClipsPane, AddingRespectsTheLimitAndKeepsEarlierClipsWhole) {
    PaneAdd r = AddClipToPane("", "a", ',', 4096);
    r = AddClipToPane(r.text, "b", ',', 4096);
    EXPECT_EQ(r.text, "a,b,");
    r = AddClipToPane("", "one\ntwo", '\r', 4096);
    EXPECT_EQ(r.text, "one\r\ntwo\r\n");
    EXPECT_EQ(AddClipToPane("x", "y", '\x1b', 4096).text, "xy");
    EXPECT_EQ(AddClipToPane("x", "y", '\t', 4096).text, "xy\t");
    // A line break counts one character, as the pane counts it.
    EXPECT_EQ(PaneSize("ab\r\ncd\r\n"), 6u);
    r = AddClipToPane("1234\r\n", "5678", '\r', 10);  // 5 + 5 = 10: fits exactly
    EXPECT_TRUE(r.added);
    const PaneAdd full = AddClipToPane(r.text, "9", '\r', 10);
    EXPECT_FALSE(full.added);
    EXPECT_EQ(full.text, r.text);
    EXPECT_NE(full.status.find("not added"), std::string::npos);
    EXPECT_FALSE(AddClipToPane("", std::string(11, 'x'), '\x1b', 10).added);
}

TEST(ClipsPane, LineCountingAndHint) {
    const std::string pane = "a\r\nb\r\n";  // two copies with the line delimiter
    EXPECT_EQ(PaneLines(pane).size(), 2u);
    EXPECT_EQ(ClipsHintAt(pane, pane.size()), "Clips 2/2");
    EXPECT_EQ(ClipsHintAt(pane, 0), "Clips 1/2");
    EXPECT_EQ(ClipsHintAt(pane, 3), "Clips 2/2");
    EXPECT_EQ(ClipsHintAt("a\rb\rc", 4), "Clips 3/3");
    EXPECT_EQ(ClipsHint(2, 2), "Clips 2/2");
    EXPECT_EQ(ClipsHint(0, 0), "Clips 0/0");
    EXPECT_EQ(ClipsHint(2, 12, true), "Clips 3/12 full");
    EXPECT_FALSE(ClipsItems("").copyAndRun);
    EXPECT_TRUE(ClipsItems("a\r\n").copyAndRun);
    EXPECT_FALSE(ClipsItems("a\r\n").last);
    EXPECT_TRUE(ClipsItems(pane).last);
}

TEST(ClipsPane, SaveTexts) {
    EXPECT_EQ(PaneCommaLine("a\r\nb c\r\nd\r\n"), "a,\"b c\",d\r\n");
    EXPECT_EQ(PaneCommaLine("\r\n"), "\"\"\r\n");
    EXPECT_EQ(PaneCommaLine("say \"x\",y"), "\"say \"\"x\"\",y\"\r\n");
    EXPECT_EQ(PaneSaveText("a\rb"), "a\r\nb\r\n");
}

namespace {

struct FakeSystem : ClipsSaveSystem {
    std::map<std::string, std::string> files;
    std::optional<std::string> choice;
    bool answer = false;
    std::vector<std::string> asked;
    std::string proposed;
    std::optional<std::string> chooseFile(const std::string& p) override {
        proposed = p;
        return choice;
    }
    bool exists(const std::string& n) override { return files.count(n) != 0; }
    bool confirm(const std::string& q) override {
        asked.push_back(q);
        return answer;
    }
    void replace(const std::string& n, std::string_view t) override {
        if (n.find('?') != std::string::npos) throw FileError(n, "bad name", "cannot write");
        files[n] = std::string(t);
    }
    void append(const std::string& n, std::string_view t) override { files[n] += t; }
};

}  // namespace

TEST(ClipsPane, DoSaveDlgOutcomes) {
    FakeSystem fs;
    std::string last = "C:\\old.txt";
    EXPECT_EQ(SaveClips(ClipsSaveMode::Text, "a\r\n", last, fs), SaveOutcome::Cancelled);
    EXPECT_EQ(fs.proposed, "C:\\old.txt");
    EXPECT_EQ(last, "");
    EXPECT_TRUE(fs.files.empty());

    fs.choice = "C:\\d\\clips.txt";
    EXPECT_EQ(SaveClips(ClipsSaveMode::Comma, "a\r\nb c\r\n", last, fs), SaveOutcome::Created);
    EXPECT_EQ(fs.files["C:\\d\\clips.txt"], "a,\"b c\"\r\n");
    EXPECT_TRUE(fs.asked.empty());
    EXPECT_EQ(SaveClips(ClipsSaveMode::Comma, "d\r\n", last, fs), SaveOutcome::Appended);
    EXPECT_EQ(fs.files["C:\\d\\clips.txt"], "a,\"b c\"\r\nd\r\n");
    EXPECT_EQ(fs.asked.back(), "Overwrite file:\nclips.txt");
    fs.answer = true;
    EXPECT_EQ(SaveClips(ClipsSaveMode::Comma, "e\r\n", last, fs), SaveOutcome::Replaced);
    EXPECT_EQ(fs.files["C:\\d\\clips.txt"], "e\r\n");
    EXPECT_EQ(SaveClips(ClipsSaveMode::Text, "x\ry", last, fs), SaveOutcome::Replaced);
    EXPECT_EQ(fs.files["C:\\d\\clips.txt"], "x\r\ny\r\n");
    fs.answer = false;
    EXPECT_EQ(SaveClips(ClipsSaveMode::Text, "z", last, fs), SaveOutcome::Declined);
    EXPECT_EQ(fs.files["C:\\d\\clips.txt"], "x\r\ny\r\n");
    EXPECT_EQ(last, "");
    fs.choice = "bad?name";
    EXPECT_THROW(SaveClips(ClipsSaveMode::Text, "z", last, fs), FileError);
}

TEST(ClipsPane, PrivateClipboardFormats) {
    EXPECT_FALSE(IsPrivateClip({}));
    EXPECT_FALSE(IsPrivateClip({{"", std::nullopt}, {"Rich Text Format", std::nullopt}}));
    EXPECT_TRUE(
        IsPrivateClip({{"", std::nullopt}, {"ExcludeClipboardContentFromMonitorProcessing", std::nullopt}}));
    EXPECT_TRUE(IsPrivateClip({{"clipboard viewer ignore", std::nullopt}}));
    EXPECT_TRUE(IsPrivateClip({{"CanIncludeInClipboardHistory", 0u}}));
    EXPECT_FALSE(IsPrivateClip({{"CanIncludeInClipboardHistory", 1u}}));
    EXPECT_FALSE(IsPrivateClip({{"CanIncludeInClipboardHistory", std::nullopt}}));
}
