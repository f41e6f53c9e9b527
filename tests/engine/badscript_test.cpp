// Malformed script files, read through the file store and run on the
// simulated desktop: each one runs as the language's rules say or ends with a
// clear message or RunError; none crashes, hangs or grows without bound.
// The small files live in tests/badscripts/ (made by make_corpus.py there);
// the big ones are made here.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <unistd.h>

#include "engine/engine.h"
#include "engine/filestore.h"
#include "engine/text.h"
#include "tests/sim/memory_host.h"
#include "tests/sim/sim_desktop.h"
#include "tests/sim/temp_dir.h"

using namespace taskloom;
using taskloom::sim::MemoryHost;
using taskloom::sim::SimDesktop;
using taskloom::sim::TempDir;
namespace fs = std::filesystem;

namespace {

// Rounds of message processing after which the run is asked to stop: an
// endless script then ends as "stopped". The big files need more (100,000
// empty lines take four rounds each).
constexpr unsigned long kCorpusRounds = 50'000, kBigFileRounds = 600'000;
constexpr auto kWallLimit = std::chrono::seconds(60);

enum class Ends { Completed, Stopped, Message, Failed };

struct Expected {
    Ends ends;
    std::string typed;           // text in the focused editor afterwards
    std::string detail = {};     // Message: the message; Failed: part of the error
    std::size_t failedLine = 0;  // Failed: the line named, counted from 1
};

struct Outcome {
    std::optional<RunEnd> end;  // empty when the run was abandoned
    std::string error;
    std::size_t errorLine = 0;
    std::string typed;
    std::vector<std::string> messages;
    std::size_t keyEvents = 0;
    unsigned long rounds = 0, roundsAtRequest = 0;
    bool timedOut = false;
    bool modifierDown = false;
};

Outcome RunBounded(std::vector<std::string> lines, unsigned long roundLimit) {
    SimDesktop d;
    const Wnd editor = d.addWindow("");
    d.setForegroundDirect(editor);
    MemoryHost host(Flavor::Pad, std::move(lines));
    host.noteAnswer = [] { return NoteAnswer::Continue; };
    Engine engine(d, host);
    Outcome o;
    const auto deadline = std::chrono::steady_clock::now() + kWallLimit;
    d.onProcessMessages = [&] {
        ++o.rounds;
        if (o.rounds == roundLimit) {
            o.roundsAtRequest = o.rounds;
            engine.requestStop();
        }
        if (!o.timedOut && (o.rounds & 0xFFF) == 0 && std::chrono::steady_clock::now() > deadline) {
            o.timedOut = true;
            engine.requestStop();
        }
    };
    std::uint64_t clockAtRequest = 0;
    d.onSleep = [&](unsigned) {
        if (o.roundsAtRequest && !clockAtRequest) clockAtRequest = d.now();
        if (clockAtRequest && d.now() - clockAtRequest > 10'000)
            throw std::runtime_error("still waiting 10 s after the stop request");
    };
    try {
        o.end = engine.RunScript();
    } catch (const RunError& e) {
        o.error = e.what();
        o.errorLine = e.index() + 1;
    }
    o.modifierDown = d.isKeyDown(kVkShift) || d.isKeyDown(kVkControl) || d.isKeyDown(kVkMenu);
    o.typed = d.text(editor);
    o.messages = host.messages;
    o.keyEvents = d.keyLog().size();
    return o;
}

void Check(const std::string& name, const Outcome& o, const Expected& x) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(o.timedOut) << "still running after " << kWallLimit.count() << " s";
    EXPECT_FALSE(o.modifierDown) << "Shift, Ctrl or Alt left down";
    // Bounded work: a key at most four events, and after a stop request no
    // more than the line in progress.
    EXPECT_LE(o.keyEvents, 4 * o.rounds + 3);
    if (o.roundsAtRequest) {
        EXPECT_LE(o.rounds - o.roundsAtRequest, kMaxLineKeys + 16);
    }
    EXPECT_EQ(o.typed, x.typed);
    switch (x.ends) {
        case Ends::Completed:
            EXPECT_EQ(o.end, RunEnd::Completed) << o.error;
            EXPECT_TRUE(o.messages.empty());
            break;
        case Ends::Stopped:
            EXPECT_EQ(o.end, RunEnd::Stopped) << o.error;
            EXPECT_GT(o.roundsAtRequest, 0u);
            break;
        case Ends::Message:
            EXPECT_EQ(o.end, RunEnd::Message) << o.error;
            ASSERT_EQ(o.messages.size(), 1u);
            EXPECT_EQ(o.messages[0], x.detail);
            break;
        case Ends::Failed:
            ASSERT_FALSE(o.end.has_value()) << "the run was expected to be abandoned";
            EXPECT_EQ(o.errorLine, x.failedLine);
            EXPECT_EQ(o.error.rfind("line " + std::to_string(x.failedLine) + " (", 0), 0u) << o.error;
            EXPECT_NE(o.error.find(x.detail), std::string::npos) << o.error;
            EXPECT_LE(o.error.size(), 40 + RunError::kShownLine + RunError::kShownCause)
                << "a message, not the line";
            break;
    }
}

const std::string kTooManyKeys = "would type more than 1048576 keys";

// What each file of tests/badscripts/ does, by the rules of the language.
const std::map<std::string, Expected>& CorpusExpectations() {
    static const std::map<std::string, Expected> table{
        // No "{:" in it: whatever the bytes type, the list runs to its end.
        // No "{:" in it: the list runs to its end. Its lines: NUL, the
        // printable characters from "!" to "+", from "-" up to 255 and down
        // again (modifier codes 250..255 on the way leave Shift, Ctrl and
        // Alt down for the descent, which types nothing), "+" down to "!",
        // NUL. Characters without a key type nothing.
        {"binary_all_bytes.tks",
         {Ends::Completed,
          "!\"#$%&'()*+-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
          "abcdefghijklmnopqrstuvwxyz{|}~+*)('&%$#\"!"}},
        // NUL is an ordinary character of an item; it types no text.
        {"nul_bytes.tks", {Ends::Completed, "ab\r\nx"}},
        // An open quote runs to the end of the file; the rest is one line.
        {"unbalanced_quote.tks", {Ends::Completed, "firstsecond, third {Enter}"}},
        {"quote_at_end.tks", {Ends::Completed, "abcdef"}},
        {"only_separators.tks", {Ends::Completed, ""}},
        // "{" and "{{": unclosed, dropped. "{}": empty token. "{{}}": token
        // "{" then literal "}". Lines beginning "{{{" are literal after the
        // reduction; "}}}" anywhere reduces to "}".
        {"braces_only.tks",
         {Ends::Completed, std::string("}") + "}}" + "{" + "}" + "{{" + "{}" + "}{" + "{}" + "}}"}},
        // Backspace and Tab edit; ESC, BEL, VT, FF, DEL type nothing; the
        // title with control characters names no window.
        {"escape_and_controls.tks",
         {Ends::Message, "cd\te", "Inactive Window: \r\x1bNo\x07Window\rQuitting Script..."}},
        {"count_2pow40.tks", {Ends::Failed, "", kTooManyKeys, 1}},
        {"count_hex_48bit.tks", {Ends::Failed, "ok", kTooManyKeys, 2}},
        {"count_negative_huge.tks", {Ends::Completed, "xy"}},
        {"count_wraps_32bit.tks", {Ends::Failed, "", kTooManyKeys, 1}},
        // Counts held at 2^31 - 1: the loop and the pause outlast the test,
        // which asks them to stop.
        {"loop_count_2pow40.tks", {Ends::Stopped, ""}},
        {"pause_hex_48bit.tks", {Ends::Stopped, ""}},
        {"goto_self.tks", {Ends::Stopped, ""}},
        {"commands_garbage.tks", {Ends::Message, "", "Undefined Label: \r{.:Goto}\rQuitting Script..."}},
        {"note_without_blanks.tks", {Ends::Failed, "", "no blank after x", 1}},
        {"note_bad_y.tks", {Ends::Failed, "", "the note's y \"y\" is not a whole number", 1}},
        {"remark_to_the_end.tks", {Ends::Completed, ""}},
    };
    return table;
}

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

}  // namespace

TEST(BadScripts, CorpusFilesRunByTheRulesOrEndWithAClearError) {
    const fs::path dir = fs::path(TASKLOOM_SOURCE_DIR) / "tests" / "badscripts";
    std::size_t seen = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
        if (e.path().extension() != ".tks") continue;
        const std::string name = e.path().filename().string();
        const auto it = CorpusExpectations().find(name);
        if (it == CorpusExpectations().end()) {
            ADD_FAILURE() << name << ": no expectation listed for this file";
            continue;
        }
        ++seen;
        Check(name, RunBounded(ReadScriptFile(e.path().string()), kCorpusRounds), it->second);
    }
    EXPECT_EQ(seen, CorpusExpectations().size()) << "a listed file is missing from " << dir;
}

TEST(BadScripts, BigFilesMadeAtTestTime) {
    TempDir tmp;
    constexpr std::size_t k5MB = 5'000'000;
    struct Case {
        std::string name, text;
        Expected expected;
    };
    const std::string label = "Label" + std::string(9'995, 'Q');  // 10,000 characters
    std::string lowered = label;
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::vector<Case> cases{
        {"letters_5mb_line.tks", std::string(k5MB, 'a'), {Ends::Failed, "", kTooManyKeys, 1}},
        {"label_tokens_5mb_line.tks", Repeat("{.x}", k5MB / 4), {Ends::Completed, ""}},
        {"unclosed_quote_5mb.tks", "\"" + Repeat("ab, ", k5MB / 4), {Ends::Failed, "", kTooManyKeys, 1}},
        {"empty_lines_100k.tks", std::string(100'000, ',') + "z", {Ends::Completed, "z"}},
        {"line_breaks_100k.tks", Repeat("\r\n", 100'000), {Ends::Completed, ""}},
        {"labels_10k_chars.tks",
         JoinCommaText(
             {"{:Goto " + label + "}", "skipped", "{." + lowered + "}", "ok", "{:Goto " + label + "x}"}),
         {Ends::Message, "ok", "Undefined Label: \r{." + label + "x}\rQuitting Script..."}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> lines = ReadScriptFile(tmp.write(c.name, c.text));
        const Outcome o = RunBounded(lines, kBigFileRounds);
        Check(c.name, o, c.expected);
        if (c.name == "label_tokens_5mb_line.tks") {
            EXPECT_EQ(o.keyEvents, 3u) << "only the release string";
        } else if (c.name == "empty_lines_100k.tks") {
            EXPECT_EQ(lines.size(), 100'001u);
        } else if (c.name == "line_breaks_100k.tks") {
            EXPECT_EQ(o.keyEvents, 0u) << "an empty list";
        }
    }
}
