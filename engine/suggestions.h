// Suggestions for the checker's messages: the key name, command keyword or
// label that a misspelt one probably meant. Edit distances cost time, so each
// check carries a budget; once it is spent, no more suggestions are made.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taskloom {

// The budget of one check, in compared characters.
class SuggestionBudget {
public:
    bool spend(std::size_t cells) {
        if (cells > left_) {
            left_ = 0;
            return false;
        }
        left_ -= cells;
        return true;
    }
    bool spent() const { return left_ == 0; }

private:
    std::size_t left_ = 20'000'000;
};

// The candidate nearest to `word` within `limit` edits, without regard to
// case, a swap of two neighbours counting one edit (the first of equals).
// Words longer than 64 characters get no suggestion.
std::optional<std::string> Nearest(std::string_view word, const std::vector<std::string>& candidates,
                                   std::size_t limit, SuggestionBudget& budget);

// The key name that a token's name probably meant: a known other name of the
// key ("Return", "PageDown"), or a key name a slip of one or two characters
// away. Names of one or two characters are taken as meant.
std::optional<std::string> MeantKeyName(const std::string& name, SuggestionBudget& budget);

// The command keywords in the forms the composer writes.
const std::vector<std::string>& CommandForms();
// Those of the forms that begin with `prefix`.
std::vector<std::string> FormsBeginning(std::string_view prefix);

// The form that a keyword probably meant: one of `forms` equal but for case,
// or near it, or the keyword with the beginning by which the interpreter
// recognises a command put in its right case.
std::optional<std::string> MeantKeyword(const std::string& keyword, const std::vector<std::string>& forms,
                                        SuggestionBudget& budget);

}  // namespace taskloom
