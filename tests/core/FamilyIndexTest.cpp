// The family index: what the family list shows for a family, in the catalogue's current order.
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "mainwindow/FamilyIndex.h"
#include "mainwindow/GameOrder.h"

namespace kanaroll {
namespace {

GameList Games(const std::vector<std::pair<std::string, std::string>>& zipAndParent) {
    GameList games;
    for (const auto& [zip, parent] : zipAndParent) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = zip;
        game->parentName = parent;
        game->isMaster = parent.empty();
        games.Append(std::move(game));
    }
    return games;
}

std::vector<std::string> Names(const Family& family) {
    std::vector<std::string> names;
    if (family.master) names.push_back(family.master->zipName);
    for (const TRecordset* clone : family.clones) names.push_back(clone->zipName);
    return names;
}

TEST(FamilyIndexTest, MasterFirstThenItsClonesInCatalogueOrder) {
    GameList games =
        Games({{"sf2ce", "sf2"}, {"pacman", ""}, {"sf2", ""}, {"sf2j", "sf2"}, {"puckman", "pacman"}});
    FamilyIndex index;
    index.Build(games);
    EXPECT_EQ(Names(index.Of("sf2")), (std::vector<std::string>{"sf2", "sf2ce", "sf2j"}));
    EXPECT_EQ(Names(index.Of("pacman")), (std::vector<std::string>{"pacman", "puckman"}));
    EXPECT_TRUE(Names(index.Of("galaga")).empty());
}

TEST(FamilyIndexTest, MissingMasterFirstOfDuplicatesAndCloneOfClone) {
    // Clones whose master is not in the catalogue; two games of one ZIP name; a clone heading the
    // family of its own clones.
    GameList games = Games({{"dkongj", "dkong"}, {"mk", ""}, {"mk", ""}, {"mkr4", "mk"}, {"mkr4b", "mkr4"}});
    FamilyIndex index;
    index.Build(games);
    const Family orphans = index.Of("dkong");
    EXPECT_EQ(orphans.master, nullptr);
    EXPECT_EQ(Names(orphans), (std::vector<std::string>{"dkongj"}));
    EXPECT_EQ(index.Of("mk").master, &games[1]);
    EXPECT_EQ(Names(index.Of("mk")), (std::vector<std::string>{"mk", "mkr4"}));
    EXPECT_EQ(Names(index.Of("mkr4")), (std::vector<std::string>{"mkr4", "mkr4b"}));
}

TEST(FamilyIndexTest, AnEmptyKeyListsClonesOnlyNotEveryMaster) {
    // Blocks without a name line: masters with the empty ZIP name.
    GameList games = Games({{"", ""}, {"galaga", ""}, {"", ""}});
    FamilyIndex index;
    index.Build(games);
    EXPECT_EQ(index.Of("").master, &games[0]);
    EXPECT_TRUE(index.Of("").clones.empty());
}

TEST(FamilyIndexTest, FollowsTheOrderItWasBuiltInAndKnowsWhenItIsStale) {
    GameList games = Games({{"sf2", ""}, {"sf2ua", "sf2"}, {"sf2ce", "sf2"}});
    FamilyIndex index;
    EXPECT_FALSE(index.IsBuiltFor(games));
    index.Build(games);
    EXPECT_TRUE(index.IsBuiltFor(games));
    EXPECT_EQ(Names(index.Of("sf2")), (std::vector<std::string>{"sf2", "sf2ua", "sf2ce"}));

    SortGames(games, 1);  // by ZIP name
    index.Build(games);
    EXPECT_EQ(Names(index.Of("sf2")), (std::vector<std::string>{"sf2", "sf2ce", "sf2ua"}));

    games.Append(std::make_unique<TRecordset>());
    EXPECT_FALSE(index.IsBuiltFor(games));
    index.Build(games);
    index.Clear();
    EXPECT_FALSE(index.IsBuiltFor(games));
    EXPECT_TRUE(Names(index.Of("sf2")).empty());
}

// Against the plain walk over the catalogue that the index replaces, on catalogues full of the odd
// cases: repeated and empty ZIP names, missing masters, clones of clones, games in any order.
TEST(FamilyIndexTest, AgreesWithAWalkOverTheCatalogue) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::pair<std::string, std::string>> specs;
        const int count = 1 + static_cast<int>(random() % 400);
        const auto name = [&] {
            return random() % 10 == 0 ? std::string() : "g" + std::to_string(random() % 150);
        };
        for (int i = 0; i < count; ++i) specs.emplace_back(name(), random() % 2 ? name() : std::string());
        GameList games = Games(specs);
        for (int i = 0; i < games.Count(); ++i)
            games[i].isMaster = random() % 3 != 0 && specs[i].second.empty();
        FamilyIndex index;
        index.Build(games);

        std::set<std::string> keys{"absent"};
        for (int i = 0; i < games.Count(); ++i) keys.insert({games[i].zipName, games[i].parentName});
        for (const std::string& key : keys) {
            const TRecordset* master = nullptr;
            std::vector<const TRecordset*> clones;
            for (int i = 0; i < games.Count(); ++i) {
                if (!master && games[i].zipName == key) master = &games[i];
                if (!games[i].isMaster && games[i].parentName == key) clones.push_back(&games[i]);
            }
            const Family family = index.Of(key);
            EXPECT_EQ(family.master, master) << "round " << round << ", key " << key;
            EXPECT_EQ(std::vector<const TRecordset*>(family.clones.begin(), family.clones.end()), clones)
                << "round " << round << ", key " << key;
        }
    }
}

// Every game a clone of a master the catalogue lacks: twice as many families as games, past the
// room the index starts with.
TEST(FamilyIndexTest, ClonesOfMissingMastersOutnumberingTheGames) {
    std::vector<std::pair<std::string, std::string>> specs;
    for (int i = 0; i < 3000; ++i) specs.emplace_back("c" + std::to_string(i), "m" + std::to_string(i));
    GameList games = Games(specs);
    FamilyIndex index;
    index.Build(games);
    for (int i = 0; i < 3000; ++i) {
        const Family family = index.Of("m" + std::to_string(i));
        EXPECT_EQ(family.master, nullptr);
        ASSERT_EQ(family.clones.size(), 1u);
        EXPECT_EQ(family.clones[0], &games[i]);
        EXPECT_EQ(index.Of("c" + std::to_string(i)).master, &games[i]);
    }
}

TEST(FamilyIndexTest, AnEmptyCatalogueHasNoFamilies) {
    GameList games;
    FamilyIndex index;
    EXPECT_EQ(index.Of("sf2").master, nullptr);
    index.Build(games);
    EXPECT_TRUE(index.IsBuiltFor(games));
    EXPECT_EQ(index.Of("").master, nullptr);
    EXPECT_TRUE(index.Of("").clones.empty());
}

}  // namespace
}  // namespace kanaroll
