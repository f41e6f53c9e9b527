// What the checker's messages suggest for a misspelt name.
#include <gtest/gtest.h>

#include "engine/suggestions.h"

using namespace taskloom;
using Maybe = std::optional<std::string>;

TEST(Suggestions, NearestCandidateWithinTheLimit) {
    SuggestionBudget budget;
    const std::vector<std::string> labels{"Again", "Start", "Stop"};
    EXPECT_EQ(Nearest("Agian", labels, 1, budget), Maybe("Again"));  // a swap counts one
    EXPECT_EQ(Nearest("stat", labels, 1, budget), Maybe("Start"));   // case does not count
    EXPECT_EQ(Nearest("Stup", labels, 1, budget), Maybe("Stop"));
    EXPECT_EQ(Nearest("Sta", labels, 1, budget), std::nullopt);  // two away from each
    EXPECT_EQ(Nearest("Stxp", labels, 2, budget), Maybe("Stop"));
    EXPECT_EQ(Nearest(std::string(70, 'a'), {std::string(69, 'a')}, 3, budget), std::nullopt);  // too long
}

TEST(Suggestions, KeyNamesAndKeywords) {
    SuggestionBudget budget;
    EXPECT_EQ(MeantKeyName("Entr", budget), Maybe("Enter"));
    EXPECT_EQ(MeantKeyName("PgDown", budget), Maybe("PgDn"));
    EXPECT_EQ(MeantKeyName("return", budget), Maybe("Enter"));
    EXPECT_EQ(MeantKeyName("ab", budget), std::nullopt);  // short names are typed as meant
    EXPECT_EQ(MeantKeyName("Customer", budget), std::nullopt);

    EXPECT_EQ(MeantKeyword(":Goot", CommandForms(), budget), Maybe(":Goto"));
    EXPECT_EQ(MeantKeyword(":clipscopy", CommandForms(), budget), Maybe(":ClipsCopy"));
    EXPECT_EQ(MeantKeyword(":LoopWindowInactiv", FormsBeginning(":LoopWindow"), budget),
              Maybe(":LoopWindowInactive"));
    // Far from every form: the recognised beginning in its right case.
    EXPECT_EQ(MeantKeyword(":MENUbarAndMore", CommandForms(), budget), Maybe(":MenubarAndMore"));
    EXPECT_EQ(MeantKeyword(":Xyzzyplugh", CommandForms(), budget), std::nullopt);
    for (const std::string& form : FormsBeginning(":Mouse")) EXPECT_EQ(form.rfind(":Mouse", 0), 0u);
    EXPECT_EQ(FormsBeginning(":Mouse").size(), 3u);
}

TEST(Suggestions, ASpentBudgetSuggestsNothingMore) {
    SuggestionBudget budget;
    const std::vector<std::string> many(1000, std::string(60, 'b'));
    std::size_t rounds = 0;
    while (!budget.spent() && rounds < 100'000) {
        Nearest(std::string(60, 'a'), many, 60, budget);
        ++rounds;
    }
    EXPECT_TRUE(budget.spent());
    EXPECT_LT(rounds, 10u);
    EXPECT_EQ(Nearest("Agian", {"Again"}, 1, budget), std::nullopt);
    EXPECT_EQ(MeantKeyName("Entr", budget), std::nullopt);
}
