// Which game each edit of a journal goes to, in the catalogue it was written for and in one that
// changed since, and what the replay does: never a title on a game it was not typed for.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/RecoveryJournal.h"
#include "catalogue/RecoveryPlan.h"
#include "catalogue/TextCodec.h"
#include "tests/support/Catalogues.h"

namespace kanaroll {
namespace {

using testing::UntranslatedCatalogue;

JournalContents JournalFor(const GameList& games, std::vector<JournalEdit> edits,
                           std::uint32_t codePage = 932) {
    JournalContents journal;
    journal.identity = {IdentifyCatalogue(games), {}, codePage};
    journal.edits = std::move(edits);
    return journal;
}

JournalIdentity IdentityOf(const GameList& games, std::uint32_t codePage = 932) {
    return {IdentifyCatalogue(games), {}, codePage};
}

// Where each edit went, as "zipName#listOrder".
std::vector<std::string> Targets(const RecoveryPlan& plan, const GameList& games) {
    std::vector<std::string> targets;
    for (const ReplayEdit& edit : plan.edits)
        targets.push_back(games[edit.game].zipName + "#" + std::to_string(games[edit.game].listOrder));
    return targets;
}

// Duplicate and empty ZIP names, as hostile or hand-made catalogues have them.
GameList Awkward() {
    return UntranslatedCatalogue({"pacman", "", "dup", "galaga", "dup", ""});
}

TEST(RecoveryPlan, InItsOwnCatalogueEveryEditGoesToTheGameAtItsPlaceInTheFileOrder) {
    GameList games = Awkward();
    const JournalContents journal = JournalFor(
        games, {{5, "", EditedField::JapaneseName, "t5"},
                {4, "dup", EditedField::Reading, "r4"},
                {1, "", EditedField::Reading, "r1"},
                {2, "dup", EditedField::JapaneseName, "t2"},
                {0, "galaga", EditedField::Reading, "x"},  // the game at that place has another name
                {99, "pacman", EditedField::Reading, "x"}});
    std::reverse(games.Items().begin(), games.Items().end());  // the plan does not rely on the order
    const RecoveryPlan plan = PlanRecovery(journal, games, IdentityOf(games));

    EXPECT_FALSE(plan.catalogueChanged);
    EXPECT_EQ(Targets(plan, games), (std::vector<std::string>{"#5", "dup#4", "#1", "dup#2"}));
    EXPECT_EQ(plan.gamesEdited, 4);
    EXPECT_EQ(plan.firstGame, 0);  // "#5", first in the reversed list
    ASSERT_EQ(plan.unapplied.size(), 2u);
    EXPECT_EQ(plan.unapplied[0].reason, UnappliedReason::GameNotFound);
    EXPECT_EQ(plan.unappliedZipNames, (std::vector<std::string>{"galaga", "pacman"}));
    EXPECT_TRUE(plan.LeavesSomethingBehind());
}

TEST(RecoveryPlan, InAChangedCatalogueOnlyAZipNameOfOneGameFindsItsGame) {
    const GameList old = Awkward();
    const JournalContents journal = JournalFor(old, {{0, "pacman", EditedField::Reading, "p"},
                                                     {2, "dup", EditedField::Reading, "d"},
                                                     {1, "", EditedField::Reading, "e"},
                                                     {3, "galaga", EditedField::JapaneseName, "g"},
                                                     {0, "pacman", EditedField::JapaneseName, "P"}});
    const GameList games = UntranslatedCatalogue({"galaga", "dup", "new", "dup", "pacman"});
    const RecoveryPlan plan = PlanRecovery(journal, games, IdentityOf(games));

    EXPECT_TRUE(plan.catalogueChanged);
    EXPECT_EQ(Targets(plan, games), (std::vector<std::string>{"pacman#4", "galaga#0", "pacman#4"}));
    EXPECT_EQ(plan.gamesEdited, 2);
    ASSERT_EQ(plan.unapplied.size(), 2u);
    EXPECT_EQ(plan.unapplied[0].reason, UnappliedReason::AmbiguousZipName);
    EXPECT_EQ(plan.unapplied[1].reason, UnappliedReason::GameNotFound);  // no game has an empty name now
    EXPECT_EQ(plan.unappliedZipNames, (std::vector<std::string>{"dup", ""}));
}

TEST(RecoveryPlan, ANameListChangedSinceMovesNoGame) {
    const GameList games = Awkward();
    const JournalContents journal = JournalFor(games, {{4, "dup", EditedField::Reading, "r"}});
    JournalIdentity current = IdentityOf(games);
    current.nameList = {10, 20};
    const RecoveryPlan plan = PlanRecovery(journal, games, current);
    EXPECT_TRUE(plan.nameListChanged);
    EXPECT_FALSE(plan.catalogueChanged);
    EXPECT_EQ(Targets(plan, games), (std::vector<std::string>{"dup#4"}));
    EXPECT_FALSE(plan.LeavesSomethingBehind());
}

// The replay follows the rules of typing: the flag follows a stored reading, the counter the flag,
// and a game typed on and put back as it was has nothing unsaved.
TEST(RecoveryPlan, TheReplayChangesWhatTypingChangedAndCountsTheGamesItChanged) {
    GameList games = UntranslatedCatalogue({"listed", "undone", "typed"});
    games[0].translated = true;  // named by the list, without a reading
    int translatedCount = 1;
    const JournalContents journal =
        JournalFor(games, {{1, "undone", EditedField::JapaneseName, "other"},
                           {0, "listed", EditedField::Reading, "r"},
                           {2, "typed", EditedField::Reading, "t"},
                           {1, "undone", EditedField::JapaneseName, "English undone"},
                           {0, "listed", EditedField::Reading, ""}});
    const RecoveryPlan plan = PlanRecovery(journal, games, IdentityOf(games));
    EXPECT_EQ(plan.gamesEdited, 3);
    EXPECT_EQ(plan.gamesChanged, 2);
    EXPECT_EQ(plan.firstGame, 1);

    EXPECT_EQ(ReplayRecovery(plan, games, translatedCount), 2);
    EXPECT_FALSE(games[0].translated);  // its reading was typed and emptied
    EXPECT_TRUE(games[2].translated);
    EXPECT_EQ(games[2].reading, "t");
    EXPECT_EQ(games[1].japaneseName, "English undone");
    EXPECT_EQ(translatedCount, games.CountTranslated());
}

TEST(RecoveryPlan, TextsOfAnotherCodePageAreConvertedWhenTheCatalogueCanHoldThem) {
    const GameList games = UntranslatedCatalogue({"a", "b"});
    const std::string game = "ゲーム";
    const RecoveryPlan toUtf8 =
        PlanRecovery(JournalFor(games, {{0, "a", EditedField::JapaneseName, Sjis(game)}}, 932), games,
                     IdentityOf(games, 65001));
    ASSERT_EQ(toUtf8.edits.size(), 1u);
    EXPECT_EQ(toUtf8.edits[0].text, game);

    const RecoveryPlan toShiftJis = PlanRecovery(
        JournalFor(games,
                   {{0, "a", EditedField::JapaneseName, game}, {1, "b", EditedField::JapaneseName, "한국"}},
                   65001),
        games, IdentityOf(games, 932));
    ASSERT_EQ(toShiftJis.edits.size(), 1u);
    EXPECT_EQ(toShiftJis.edits[0].text, Sjis(game));
    ASSERT_EQ(toShiftJis.unapplied.size(), 1u);
    EXPECT_EQ(toShiftJis.unapplied[0].reason, UnappliedReason::TextNotHeld);
}

TEST(RecoveryPlan, AJournalThatCannotBeReadOrIsDamagedIsKeptAside) {
    const GameList games = Awkward();
    JournalContents unreadable;
    unreadable.problem = JournalProblem::DamagedHead;
    const RecoveryPlan nothing = PlanRecovery(unreadable, games, IdentityOf(games));
    EXPECT_TRUE(nothing.edits.empty());
    EXPECT_TRUE(nothing.LeavesSomethingBehind());

    JournalContents damaged = JournalFor(games, {{0, "pacman", EditedField::Reading, "p"}});
    damaged.damagedBytes = 40;
    const RecoveryPlan partly = PlanRecovery(damaged, games, IdentityOf(games));
    EXPECT_EQ(partly.edits.size(), 1u);
    EXPECT_TRUE(partly.LeavesSomethingBehind());
}

}  // namespace
}  // namespace kanaroll
