// The demo program folder that scripts/run starts with: it must load without a failure and show
// what a first look at the program should show (masters and clones, translated and untranslated
// games, a vector game, a NeoGeo game, titles for the replace rules).
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>

#include "catalogue/GameList.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {
namespace {

std::filesystem::path DemoFolder() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "demo";
}

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const TRecordset* Find(const GameList& games, const std::string& zipName) {
    for (int index = 0; index < games.Count(); ++index) {
        if (games[index].zipName == zipName) return &games[index];
    }
    return nullptr;
}

class DemoFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        NoLoadProgress quiet;
        ASSERT_TRUE(ReadListInfo(DemoFolder() / "listinfo.txt", games, quiet));
        MergeNameList(DemoFolder() / "mame32j.lst", games, translated);
    }

    GameList games;
    int translated = 0;
};

TEST_F(DemoFilesTest, FilesAreCrLfAndTheNameListIsShiftJis) {
    for (const char* name : {"listinfo.txt", "mame32j.lst"}) {
        const std::string text = Bytes(DemoFolder() / name);
        ASSERT_FALSE(text.empty()) << name;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << name;
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
            ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << name << ": a line ends in LF alone at byte " << at;
        }
    }
    const std::string list = Bytes(DemoFolder() / "mame32j.lst");
    EXPECT_EQ(ShiftJisCodec().FromUtf8(ShiftJisCodec().ToUtf8(list)), list);
    EXPECT_NE(list.find(Sjis("ぱっくまん")), std::string::npos);
}

TEST_F(DemoFilesTest, LoadsMastersAndClonesWithSomeGamesLeftUntranslated) {
    EXPECT_EQ(games.Count(), 65);
    EXPECT_EQ(translated, 46);
    EXPECT_GT(games.Count() - translated, 10);  // the list shows × as well as ○

    std::set<std::string> masters;
    int clones = 0;
    for (int index = 0; index < games.Count(); ++index) {
        const TRecordset& game = games[index];
        EXPECT_FALSE(game.zipName.empty());
        EXPECT_FALSE(game.englishName.empty()) << game.zipName;
        EXPECT_FALSE(game.cpuText.empty()) << game.zipName;
        if (game.isMaster) {
            masters.insert(game.zipName);
        } else {
            ++clones;
            EXPECT_TRUE(masters.count(game.parentName)) << game.zipName << " names no master before it";
        }
    }
    EXPECT_GE(clones, 15);
    EXPECT_EQ(Find(games, "pacman")->parentName, "puckman");
    EXPECT_EQ(Find(games, "galagao")->parentName, "galaga");
    EXPECT_EQ(Find(games, "dkongjp")->parentName, "dkong");
    // A name list line for a game the catalogue lacks changes nothing.
    EXPECT_EQ(Find(games, "polepos"), nullptr);
}

TEST_F(DemoFilesTest, ShowsTheSpecialCasesOfTheDetailPanel) {
    const TRecordset& pacman = *Find(games, "puckman");
    EXPECT_EQ(pacman.japaneseName, Sjis("パックマン"));
    EXPECT_EQ(pacman.reading, Sjis("ぱっくまん"));
    EXPECT_EQ(pacman.cpuText, "Z80 @ 3.072000MHz");
    EXPECT_EQ(pacman.videoText, "224 x 288 @ 60.606060Hz, 512 Colors");

    EXPECT_EQ(Find(games, "galaga")->cpuText, "3 x Z80 @ 3.072000MHz");
    EXPECT_EQ(Find(games, "dkong")->cpuText, "Z80 @ 3.072000MHz, I8035 @ 400.000KHz (sound)");
    EXPECT_TRUE(Find(games, "dkong")->hasSamples);
    EXPECT_EQ(Find(games, "tempest")->videoText, "Vector Game");
    EXPECT_TRUE(Find(games, "bzone")->isVector);
    EXPECT_TRUE(Find(games, "nam1975")->isNeoGeo);
    EXPECT_FALSE(Find(games, "starwars")->statusGood);
    EXPECT_EQ(Find(games, "mspacmbe")->year, "????");  // no year line
    EXPECT_EQ(Find(games, "dkong3")->soundText, "2 x NES");
}

TEST_F(DemoFilesTest, HasTitlesForTheDefaultReplaceRules) {
    // Untranslated games keep the English title as their Japanese one, so F3 has "(Japan)" and
    // "(US)" to rewrite; translated ones keep a region in parentheses here and there as well.
    const TRecordset& japan = *Find(games, "dkongjp");
    EXPECT_FALSE(japan.translated);
    EXPECT_NE(japan.japaneseName.find("(Japan"), std::string::npos);
    EXPECT_NE(Find(games, "mappy")->japaneseName.find("(US)"), std::string::npos);
    EXPECT_NE(Find(games, "mspacmab")->japaneseName.find("(bootleg)"), std::string::npos);
    EXPECT_NE(Find(games, "pacnchmp")->japaneseName.find("(prototype)"), std::string::npos);
}

}  // namespace
}  // namespace kanaroll
