#include <gtest/gtest.h>

#include "composer/model/print_layout.h"

using namespace taskloom;
using Lines = std::vector<std::string>;

namespace {

// A measured device: every character is `charWidth` wide except "W", which
// is three times as wide; it counts the characters it measured.
class FakeDevice : public PrintDevice {
public:
    FakeDevice(int width, int height, int lineHeight) : width_(width), height_(height), line_(lineHeight) {}
    int textWidth(std::string_view text) const override {
        measured += static_cast<long>(text.size());
        int w = 0;
        for (char c : text) w += c == 'W' ? 30 : 10;
        return w;
    }
    int pageWidth() const override { return width_; }
    int pageHeight() const override { return height_; }
    int lineHeight() const override { return line_; }
    mutable long measured = 0;

private:
    int width_, height_, line_;
};

// The body runs of all pages (the heading left out), joined per script line
// by following continuations (indented runs).
Lines BodyTexts(const std::vector<PrintedPage>& pages, const FakeDevice& device, int margin = 0) {
    Lines out;
    for (const PrintedPage& page : pages)
        for (const TextRun& run : page.runs) {
            if (run.y < margin + 2 * device.lineHeight()) continue;
            EXPECT_LE(run.x + device.textWidth(run.text), device.pageWidth() - margin) << run.text;
            EXPECT_LE(run.y + device.lineHeight(),
                      std::max(device.pageHeight() - margin, margin + 3 * device.lineHeight()));
            if (run.x > margin)
                out.back() += run.text;
            else
                out.push_back(run.text);
        }
    return out;
}

}  // namespace

TEST(PrintLayout, LongLinesWrapAndNothingIsLost) {
    FakeDevice device(200, 1000, 12);  // 20 characters a line, continuations 16
    const std::string longWords = "{:PopUp 100 100 a title that goes on for a while}";
    const std::string noBlank(55, 'x');
    const Lines script = {"short", "", longWords, noBlank, "WWWWWWW"};
    const std::vector<PrintedPage> pages = LayOutScript(script, "order.tks", device);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(BodyTexts(pages, device), script);

    // Broken after the last blank that fits; without one, after 20 characters.
    const auto& runs = pages[0].runs;
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(runs[2].text, "short");
    EXPECT_EQ(runs[3].text, "");
    EXPECT_EQ(runs[4].text, "{:PopUp 100 100 a ");
    EXPECT_EQ(runs[5].x, 40);  // continuations indented by four blanks
    std::vector<std::string> xs;
    for (const TextRun& r : runs)
        if (r.text.find('x') == 0 && r.text.find_first_not_of('x') == std::string::npos) xs.push_back(r.text);
    EXPECT_EQ(xs, (Lines{std::string(20, 'x'), std::string(16, 'x'), std::string(16, 'x'), "xxx"}));
    // Each line follows the one above it, one line height apart.
    for (std::size_t i = 3; i < runs.size(); ++i) EXPECT_EQ(runs[i].y, runs[i - 1].y + 12);
}

TEST(PrintLayout, PagesBreakWhereThePageEndsAndCarryNameAndNumber) {
    FakeDevice device(400, 120, 10);  // margin 10: heading at 10, body 30..110: 8 lines a page
    Lines script;
    for (int i = 1; i <= 20; ++i) script.push_back("line " + std::to_string(i));
    const std::vector<PrintedPage> pages = LayOutScript(script, "C:\\scripts\\order.tks", device, {10});
    ASSERT_EQ(pages.size(), 3u);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto& runs = pages[p].runs;
        EXPECT_EQ(pages[p].number, static_cast<int>(p + 1));
        EXPECT_EQ(runs[0].text, "C:\\scripts\\order.tks");
        EXPECT_EQ(runs[1].text, "Page " + std::to_string(p + 1) + " of 3");
        EXPECT_EQ(runs[1].x + device.textWidth(runs[1].text), 390);  // at the right margin
        EXPECT_EQ(runs[2].y, 30);
        EXPECT_EQ(runs.size() - 2, p < 2 ? 8u : 4u);
    }
    EXPECT_EQ(pages[1].runs[2].text, "line 9");
    EXPECT_EQ(BodyTexts(pages, device, 10), script);

    // A long name gives way to the page number; an empty script still prints.
    const std::vector<PrintedPage> one = LayOutScript({}, std::string(100, 'n'), device, {10});
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(one[0].runs.size(), 2u);
    EXPECT_LE(device.textWidth(one[0].runs[0].text) + 20, one[0].runs[1].x - 10);
    EXPECT_EQ(one[0].runs[1].text, "Page 1 of 1");
}

TEST(PrintLayout, TinyPagesAndLongLinesStillEnd) {
    FakeDevice tiny(5, 5, 10);  // not even one character or one line fits
    const std::vector<PrintedPage> pages = LayOutScript({"abc", ""}, "s", tiny);
    Lines texts;
    for (const PrintedPage& p : pages) texts.push_back(p.runs.back().text);
    EXPECT_EQ(texts, (Lines{"a", "b", "c", ""}));  // one piece a page, each at least one character

    FakeDevice device(800, 100000, 10);
    const std::string huge(200000, 'y');
    device.measured = 0;
    const std::vector<PrintedPage> big = LayOutScript({huge}, "s", device);
    // Measuring costs about a printed line per piece, not the rest of the line.
    EXPECT_LT(device.measured, 40L * 200000);
    EXPECT_EQ(BodyTexts(big, device).front(), huge);
}
