#include "engine/suggestions.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "engine/script_line.h"
#include "engine/text.h"

namespace taskloom {
namespace {

constexpr std::size_t npos = std::string::npos;

// Words longer than this get no suggestion (and cost no time).
constexpr std::size_t kLongestSuggested = 64;

// Edit distance without regard to case; a swap of two neighbours counts one.
// npos when the budget is spent.
std::size_t Distance(std::string_view a, std::string_view b, SuggestionBudget& budget) {
    if (!budget.spend((a.size() + 1) * (b.size() + 1))) return npos;
    auto up = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    const std::size_t m = b.size();
    std::vector<std::size_t> before(m + 1), prev(m + 1), cur(m + 1);
    for (std::size_t j = 0; j <= m; ++j) prev[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        cur[0] = i;
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = up(a[i - 1]) == up(b[j - 1]) ? 0 : 1;
            cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + cost});
            if (i > 1 && j > 1 && up(a[i - 1]) == up(b[j - 2]) && up(a[i - 2]) == up(b[j - 1]))
                cur[j] = std::min(cur[j], before[j - 2] + 1);
        }
        before.swap(prev);
        prev.swap(cur);
    }
    return prev[m];
}

bool WithinReach(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t diff = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    return diff <= limit && a.size() <= kLongestSuggested && b.size() <= kLongestSuggested;
}

// Names other programs give the keys of the key name table.
const std::map<std::string, std::string> kKeyAliases{
    {"RETURN", "Enter"},   {"CR", "Enter"},         {"ESCAPE", "Esc"},    {"BACKSPACE", "Bksp"},
    {"BACK", "Bksp"},      {"BS", "Bksp"},          {"BKSP", "Bksp"},     {"DELETE", "Del"},
    {"INSERT", "Ins"},     {"PAGEUP", "PgUp"},      {"PAGEDOWN", "PgDn"}, {"PGDOWN", "PgDn"},
    {"CONTROL", "Ctrl"},   {"SPACEBAR", "Space"},   {"UPARROW", "Up"},    {"DOWNARROW", "Down"},
    {"LEFTARROW", "Left"}, {"RIGHTARROW", "Right"},
};

// The keywords in the forms the composer writes.
const std::vector<std::string> kCommandForms{
    ":/",
    ":PopUp",
    ":TO",
    ":To",
    ":Menu",
    ":Run",
    ":Load",
    ":PauseSeconds",
    ":Pause1/10",
    ":MouseClick",
    ":MouseDblClick",
    ":MouseRightClick",
    ":Goto",
    ":ClipsClear",
    ":ClipsLoad",
    ":ClipsSave",
    ":ClipsCopy",
    ":ClipsPaste",
    ":ClipsDelimiterLine",
    ":ClipsDelimiterTab",
    ":ClipsDelimiterNone",
    ":ClipsDelimiterOther",
    ":ClipsAddText",
    ":ClipsAddForm",
    ":ClipsAddClipboard",
    ":ClipsAddControls",
    ":ClipsAddFile",
    ":ClipsAddDOS",
    ":LoopTimes",
    ":LoopEOF",
    ":LoopWindowActive",
    ":LoopWindowInactive",
    ":LoopFileExists",
    ":LoopFileNotFound",
    ":LoopMenuEnabled",
    ":LoopMenuDisabled",
    ":LoopControlEnabled",
    ":LoopControlDisabled",
    ":LoopControlEQ",
    ":LoopControlNE",
    ":LoopClipboardContains",
    ":LoopClipboardContainsNOT",
    ":LoopClipboardEQ",
    ":LoopClipboardGE",
    ":LoopClipboardGT",
    ":LoopClipboardLE",
    ":LoopClipboardLT",
};

// Beginnings by which the interpreter recognises a command.
const std::vector<std::string> kCommandBeginnings{
    ":Pause", ":ClipsAdd",  ":ClipsDelimit", ":Run",   ":Load", ":Menu",
    ":PopUp", ":ClipsSave", ":ClipsLoad",    ":Mouse", ":Loop", ":Goto",
};

}  // namespace

// The candidate nearest to `word` within `limit` edits (the first of equals).
std::optional<std::string> Nearest(std::string_view word, const std::vector<std::string>& candidates,
                                   std::size_t limit, SuggestionBudget& budget) {
    std::optional<std::string> best;
    std::size_t bestDistance = limit + 1;
    for (const std::string& c : candidates) {
        if (budget.spent()) break;
        if (!WithinReach(word, c, limit)) continue;
        const std::size_t dist = Distance(word, c, budget);
        if (dist < bestDistance) {
            bestDistance = dist;
            best = c;
        }
    }
    return best;
}

// The key name that a token's name probably meant: a known other name of the
// key, or a key name a slip of one or two characters away. Names of one or
// two characters are taken as meant ("{x 3}" types xxx, "{ab 2}" abab).
std::optional<std::string> MeantKeyName(const std::string& name, SuggestionBudget& budget) {
    if (auto a = kKeyAliases.find(UpperCase(name)); a != kKeyAliases.end() && LookupKeyName(a->second))
        return a->second;
    if (name.size() < 3) return std::nullopt;
    std::optional<std::string> best;
    std::size_t bestDistance = npos;
    for (std::size_t i = 1; i < KeyBox.size(); ++i) {
        const std::string key = KeyBox[i].name;
        const std::size_t limit = std::min(name.size(), key.size()) >= 4 ? 2 : 1;
        if (!WithinReach(name, key, limit)) continue;
        const std::size_t dist = Distance(name, key, budget);
        if (dist <= limit && dist < bestDistance) {
            bestDistance = dist;
            best = key;
        }
    }
    return best;
}

const std::vector<std::string>& CommandForms() { return kCommandForms; }

std::vector<std::string> FormsBeginning(std::string_view prefix) {
    std::vector<std::string> out;
    for (const std::string& f : kCommandForms)
        if (StartsWith(f, prefix)) out.push_back(f);
    return out;
}

std::optional<std::string> MeantKeyword(const std::string& keyword, const std::vector<std::string>& forms,
                                        SuggestionBudget& budget) {
    for (const std::string& f : forms)
        if (EqualsNoCase(f, keyword)) return f;
    if (auto n = Nearest(keyword, forms, std::max<std::size_t>(2, keyword.size() / 4), budget)) return n;
    const std::string upper = UpperCase(keyword);
    for (const std::string& b : kCommandBeginnings)
        if (StartsWith(upper, UpperCase(b)) && !StartsWith(keyword, b)) return b + keyword.substr(b.size());
    return std::nullopt;
}

}  // namespace taskloom
