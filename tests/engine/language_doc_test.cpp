// The language reference (docs/language.md) against `taskloom check`: every
// example marked ```tks checks clean, every example marked ```tks-findings
// draws at least one finding, and a findings example followed directly by a
// plain ``` block prints exactly that report. So the reference cannot drift
// from the language the checker reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/runner.h"
#include "engine/filestore.h"
#include "engine/suggestions.h"

using namespace taskloom;

namespace {

struct Example {
    std::size_t docLine = 0;  // the line of its opening fence, from 1
    bool findings = false;
    std::vector<std::string> lines;
    bool hasReport = false;
    std::string report;  // the plain block that follows it, if any
};

// "<Esc>" stands for the ESC of menu paths, as the checker prints it.
std::string Unescape(std::string line) {
    for (std::size_t at; (at = line.find("<Esc>")) != std::string::npos;) line.replace(at, 5, "\x1b");
    return line;
}

std::vector<Example> ReadExamples(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> doc;
    for (std::string line; std::getline(in, line);) doc.push_back(line);
    std::vector<Example> out;
    for (std::size_t i = 0; i < doc.size(); ++i) {
        const bool findings = doc[i] == "```tks-findings";
        if (doc[i] != "```tks" && !findings) continue;
        Example e{i + 1, findings, {}, false, {}};
        for (++i; i < doc.size() && doc[i] != "```"; ++i) e.lines.push_back(Unescape(doc[i]));
        EXPECT_LT(i, doc.size()) << "the example on line " << e.docLine << " is not closed";
        std::size_t next = i + 1;
        while (next < doc.size() && doc[next].empty()) ++next;
        if (findings && next < doc.size() && doc[next] == "```") {
            e.hasReport = true;
            for (i = next + 1; i < doc.size() && doc[i] != "```"; ++i) e.report += doc[i] + "\n";
        }
        out.push_back(std::move(e));
    }
    return out;
}

}  // namespace

TEST(LanguageReference, EveryExampleChecksAsDocumented) {
    const std::vector<Example> examples = ReadExamples(TASKLOOM_SOURCE_DIR "/docs/language.md");
    // A reference with a handful of examples means the fences were not found.
    ASSERT_GE(examples.size(), 30u);
    const std::string folder = ::testing::TempDir();
    const std::string file = folder + "report.tks";
    std::size_t reports = 0;
    for (const Example& e : examples) {
        SCOPED_TRACE("docs/language.md:" + std::to_string(e.docLine));
        ASSERT_FALSE(e.lines.empty());
        WriteScriptFile(file, e.lines);
        std::ostringstream out, err;
        cli::Platform p;
        p.out = &out;
        p.err = &err;
        const int status = cli::Main({"check", file}, p);
        if (!e.findings) {
            EXPECT_EQ(status, cli::kCheckClean) << out.str() << err.str();
            continue;
        }
        EXPECT_TRUE(status == cli::kCheckWarnings || status == cli::kCheckErrors) << out.str() << err.str();
        if (e.hasReport) {
            ++reports;
            std::string shown = out.str();
            for (std::size_t at; (at = shown.find(folder)) != std::string::npos;)
                shown.erase(at, folder.size());
            EXPECT_EQ(shown, e.report);
        }
    }
    EXPECT_GE(reports, 1u) << "the reference shows no report of `taskloom check`";
    std::remove(file.c_str());
}

TEST(LanguageReference, ShowsEveryCommandInAnExample) {
    std::string shown;  // the clean examples' lines
    for (const Example& e : ReadExamples(TASKLOOM_SOURCE_DIR "/docs/language.md"))
        if (!e.findings)
            for (const std::string& line : e.lines) shown += line + "\n";
    for (const std::string& form : CommandForms()) {
        const bool found = shown.find("{" + form + " ") != std::string::npos ||
                           shown.find("{" + form + "}") != std::string::npos;
        EXPECT_TRUE(found) << "no example of " << form;
    }
}
