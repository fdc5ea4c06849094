#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/GameList.h"
#include "catalogue/TextCodec.h"
#include "mainwindow/GameOrder.h"

namespace kanaroll {
namespace {

using Zips = std::vector<std::string>;

struct Game {
    Game(std::string zip = "", std::string reading = "", std::string manufacturer = "Maker",
         bool translated = false, std::string year = "1980", std::string parent = "")
        : zip(std::move(zip)),
          reading(std::move(reading)),
          manufacturer(std::move(manufacturer)),
          translated(translated),
          year(std::move(year)),
          parent(std::move(parent)) {}

    std::string zip;
    std::string reading;
    std::string manufacturer;
    bool translated;
    std::string year;
    std::string parent;
};

GameList MakeList(const std::vector<Game>& games) {
    GameList list;
    int order = 0;
    for (const auto& game : games) {
        auto record = std::make_unique<TRecordset>();
        record->zipName = game.zip;
        record->englishName = game.zip + " title";
        record->japaneseName = game.zip;
        record->reading = game.reading;
        record->manufacturer = game.manufacturer;
        record->translated = game.translated;
        record->year = game.year;
        record->parentName = game.parent;
        record->isMaster = game.parent.empty();
        record->listOrder = order++;
        list.Append(std::move(record));
    }
    return list;
}

GameList ZipsOnly(const Zips& zips) {
    std::vector<Game> games;
    for (const auto& zip : zips) games.push_back({zip, ""});
    return MakeList(games);
}

Zips ZipOrder(const GameList& list) {
    Zips zips;
    for (int i = 0; i < list.Count(); ++i) zips.push_back(list[i].zipName);
    return zips;
}

Zips Sorted(const std::vector<Game>& games, int sortKey) {
    GameList list = MakeList(games);
    SortGames(list, sortKey);
    return ZipOrder(list);
}

TEST(CompareText, FoldsLowerCaseAsciiOnlyAndComparesBytesUnsigned) {
    EXPECT_EQ(CompareText("pacman", "PACMAN"), 0);
    EXPECT_EQ(CompareText("a", "B"), 'A' - 'B');
    // Only a-z fold: '[' and '_' stand between the two alphabets and sort after every letter.
    EXPECT_EQ(CompareText("[", "a"), '[' - 'A');
    EXPECT_EQ(CompareText("_x", "Zx"), '_' - 'Z');
    EXPECT_GT(CompareText("{", "Z"), 0);  // 0x7B is not folded
    // Bytes above 0x7F compare as unsigned values, after all of ASCII.
    EXPECT_EQ(CompareText(Sjis("あ"), "z"), 0x82 - 'Z');
    EXPECT_EQ(CompareText(Sjis("あ"), Sjis("い")), 0xA0 - 0xA2);
}

TEST(CompareText, ShorterPrefixFirstAndEmptyFirstOfAll) {
    EXPECT_EQ(CompareText("ab", "abc"), -1);
    EXPECT_EQ(CompareText("ABCD", "ab"), 2);
    EXPECT_EQ(CompareText("", "a"), -1);
    EXPECT_EQ(CompareText("", ""), 0);
    EXPECT_EQ(CompareText("b", "abc"), 1);  // a differing byte decides before the length
}

TEST(CompareText, FoldsSecondBytesOfShiftJisCharactersToo) {
    // ヂ is 0x83 0x61 and ア is 0x83 0x41; ブ is 0x83 0x75 and ザ is 0x83 0x55.
    EXPECT_EQ(CompareText(Sjis("ヂ"), Sjis("ア")), 0);
    EXPECT_EQ(CompareText(Sjis("ブ"), Sjis("ザ")), 0);
    // Folded to 0x41, ヂ sorts before イ (0x83 0x43) although its code is larger.
    EXPECT_LT(CompareText(Sjis("ヂ"), Sjis("イ")), 0);
}

TEST(CompareGames, ChoosesTheKeyByColumnWithTheReadingAsTieBreak) {
    TRecordset a, b;
    a.zipName = "aaa", b.zipName = "bbb";
    a.englishName = "Zed", b.englishName = "Alpha";
    a.reading = Sjis("い"), b.reading = Sjis("あ");
    a.japaneseName = Sjis("あ"), b.japaneseName = Sjis("い");  // never a key
    a.manufacturer = "Sega", b.manufacturer = "Namco";
    a.year = "????", b.year = "1999";
    a.parentName = "", b.parentName = "pacman";
    a.translated = true, b.translated = false;

    EXPECT_LT(CompareGames(&a, &b, 1), 0);
    EXPECT_GT(CompareGames(&a, &b, 2), 0);
    EXPECT_GT(CompareGames(&a, &b, 3), 0);  // the reading, not the Japanese title
    EXPECT_GT(CompareGames(&a, &b, 4), 0);
    EXPECT_GT(CompareGames(&a, &b, 5), 0);  // "????" after every year that starts with a digit
    EXPECT_LT(CompareGames(&a, &b, 6), 0);  // masters first
    EXPECT_EQ(CompareGames(&a, &b, 7), 1);
    EXPECT_EQ(CompareGames(&b, &a, 7), -1);
    for (int key = 1; key <= 7; ++key)
        EXPECT_EQ(CompareGames(&a, &b, -key), -CompareGames(&a, &b, key)) << "key " << key;

    // Equal keys fall back to the reading, except for ascending ZIP names.
    b = a;
    b.reading = Sjis("あ");
    EXPECT_EQ(CompareGames(&a, &b, 1), 0);
    EXPECT_LT(CompareGames(&a, &b, -1), 0);  // descending ZIP names do fall back, negated
    for (int key = 2; key <= 7; ++key) {
        EXPECT_GT(CompareGames(&a, &b, key), 0) << "key " << key;
        EXPECT_LT(CompareGames(&a, &b, -key), 0) << "key " << key;
    }
    // Before any column was clicked only the reading is compared; a missing record is equal.
    EXPECT_GT(CompareGames(&a, &b, 0), 0);
    EXPECT_EQ(CompareGames(nullptr, &b, 3), 0);
    EXPECT_EQ(CompareGames(&a, nullptr, -3), 0);
}

TEST(SortGames, JapaneseNameColumnSortsByReadingWithEmptyReadingsFirst) {
    const std::vector<Game> games = {
        {"i", Sjis("い")}, {"none1", ""}, {"a", Sjis("あ")}, {"none2", ""}, {"ka", Sjis("か")}};
    const Zips ascending = Sorted(games, 3);
    EXPECT_EQ(Zips(ascending.begin() + 2, ascending.end()), (Zips{"a", "i", "ka"}));
    EXPECT_EQ(Sorted(games, -3).back().substr(0, 4), "none");
}

TEST(SortGames, TranslatedColumnPutsUntranslatedFirstThenFollowsTheReading) {
    const std::vector<Game> games = {
        {"t2", Sjis("か"), "M", true}, {"u1", Sjis("い"), "M", false}, {"t1", Sjis("あ"), "M", true},
        {"u0", "", "M", false},        {"u2", Sjis("う"), "M", false},
    };
    EXPECT_EQ(Sorted(games, 7), (Zips{"u0", "u1", "u2", "t1", "t2"}));
    EXPECT_EQ(Sorted(games, -7), (Zips{"t2", "t1", "u2", "u1", "u0"}));
}

TEST(SortGames, DescendingManufacturerHasDescendingReadingsWithin) {
    const std::vector<Game> games = {
        {"n1", Sjis("あ"), "Namco"}, {"s1", Sjis("あ"), "Sega"},  {"n3", Sjis("う"), "Namco"},
        {"s2", Sjis("い"), "sega"},  {"n2", Sjis("い"), "Namco"},
    };
    EXPECT_EQ(Sorted(games, 4), (Zips{"n1", "n2", "n3", "s1", "s2"}));
    // "Sega" and "sega" are one manufacturer to the sort.
    EXPECT_EQ(Sorted(games, -4), (Zips{"s2", "s1", "n3", "n2", "n1"}));
}

TEST(SortGames, ZipNameColumnAndItsReverse) {
    GameList list = ZipsOnly({"pacman", "Galaga", "1943", "mspacman", "DKONG", "_test"});
    SortGames(list, 1);
    EXPECT_EQ(ZipOrder(list), (Zips{"1943", "DKONG", "Galaga", "mspacman", "pacman", "_test"}));
    SortGames(list, -1);
    EXPECT_EQ(ZipOrder(list), (Zips{"_test", "pacman", "mspacman", "Galaga", "DKONG", "1943"}));
}

TEST(SortGames, YearAndParentColumns) {
    const std::vector<Game> games = {
        {"c1", "", "M", false, "1982", "m1"},
        {"m1", "", "M", false, "????", ""},
        {"m2", "", "M", false, "1981", ""},
    };
    EXPECT_EQ(Sorted(games, 5), (Zips{"m2", "c1", "m1"}));
    EXPECT_EQ(Sorted(games, 6).back(), "c1");
}

// Games that compare equal land exactly where the game list's quicksort puts them (worked out by
// hand, partition by partition); a stable or an introsort would leave them in their first order.
TEST(SortGames, EqualGamesLandWhereTheQuicksortPutsThem) {
    const auto equal = [](const Zips& zips) {
        std::vector<Game> games;
        for (const auto& zip : zips) games.push_back({zip, Sjis("あ"), "Same"});
        return games;
    };
    EXPECT_EQ(Sorted(equal({"A"}), 4), (Zips{"A"}));
    EXPECT_EQ(Sorted(equal({"A", "B"}), 4), (Zips{"B", "A"}));
    EXPECT_EQ(Sorted(equal({"A", "B", "C"}), 4), (Zips{"C", "B", "A"}));
    EXPECT_EQ(Sorted(equal({"A", "B", "C", "D"}), 4), (Zips{"C", "D", "A", "B"}));
    EXPECT_EQ(Sorted(equal({"A", "B", "C", "D", "E"}), 4), (Zips{"D", "E", "C", "A", "B"}));
    // The same for a descending sort: the reversal lies in the comparison, not in the procedure.
    EXPECT_EQ(Sorted(equal({"A", "B", "C", "D"}), -4), (Zips{"C", "D", "A", "B"}));

    // Two equal makers around a smaller one: the pivot (y) moves first, then the pair swaps.
    const std::vector<Game> mixed = {
        {"x", Sjis("あ"), "B"},
        {"y", Sjis("あ"), "A"},
        {"z", Sjis("あ"), "B"},
    };
    EXPECT_EQ(Sorted(mixed, 4), (Zips{"y", "z", "x"}));
    // Alternating makers: the pivot is the lower middle (x), so z and x swap first and the two B
    // games end up swapped as well (a stable sort gives x z w y).
    const std::vector<Game> alternating = {
        {"w", Sjis("あ"), "B"},
        {"x", Sjis("あ"), "A"},
        {"y", Sjis("あ"), "B"},
        {"z", Sjis("あ"), "A"},
    };
    EXPECT_EQ(Sorted(alternating, 4), (Zips{"z", "x", "w", "y"}));
    // Ascending ZIP names have no tie-break: same ZIP name in any letter case, different readings.
    const std::vector<Game> sameZip = {{"ab", Sjis("あ")}, {"AB", Sjis("い")}, {"Ab", Sjis("う")}};
    EXPECT_EQ(Sorted(sameZip, 1), (Zips{"Ab", "AB", "ab"}));
    EXPECT_EQ(Sorted(sameZip, -1), (Zips{"Ab", "AB", "ab"}));
}

TEST(SortGames, EmptyAndSingleListsAndAnUnclickedKey) {
    GameList empty;
    SortGames(empty, 3);
    EXPECT_TRUE(empty.Empty());
    GameList list = MakeList({{"b", Sjis("い")}, {"a", Sjis("あ")}});
    SortGames(list, 0);  // no key: only the readings order
    EXPECT_EQ(ZipOrder(list), (Zips{"a", "b"}));
}

// Large random catalogues with many equal keys: every key sorts into order, keeps every game once,
// and the descending order is the exact reverse of the ascending one where no two games are equal.
TEST(SortGames, SortsLargeCataloguesIntoOrderByEveryKey) {
    std::mt19937 random(1234);
    const char* makers[] = {"Sega", "sega", "Namco", "Capcom", "Konami", ""};
    const std::string kana[] = {Sjis("あ"), Sjis("ヂ"), Sjis("ア"), Sjis("か"), "", "a"};
    std::vector<Game> games;
    for (int i = 0; i < 5000; ++i) {
        Game game;
        game.zip = "g" + std::to_string(random() % 3000);
        game.reading = kana[random() % 6] + kana[random() % 6];
        game.manufacturer = makers[random() % 6];
        game.translated = random() % 2;
        game.year = random() % 5 ? std::to_string(1975 + random() % 30) : "????";
        game.parent = random() % 3 ? "" : "g" + std::to_string(random() % 100);
        games.push_back(game);
    }
    for (int key = -7; key <= 7; ++key) {
        GameList list = MakeList(games);
        SortGames(list, key);
        ASSERT_EQ(list.Count(), static_cast<int>(games.size()));
        for (int i = 1; i < list.Count(); ++i)
            ASSERT_LE(CompareGames(&list[i - 1], &list[i], key), 0) << "key " << key << " row " << i;
        std::vector<int> orders;
        for (int i = 0; i < list.Count(); ++i) orders.push_back(list[i].listOrder);
        std::sort(orders.begin(), orders.end());
        for (int i = 0; i < list.Count(); ++i) ASSERT_EQ(orders[static_cast<std::size_t>(i)], i);
    }

    std::vector<Game> distinct;
    for (int i = 0; i < 3000; ++i) distinct.push_back({"z" + std::to_string(i * 7919 % 3001), ""});
    Zips ascending = Sorted(distinct, 1);
    std::reverse(ascending.begin(), ascending.end());
    EXPECT_EQ(Sorted(distinct, -1), ascending);
}

// The procedure as the game list has always run it, straight on CompareGames, to hold the sort's
// faster comparison of prepared keys to: every game must land in the very same place.
void ReferenceQuickSort(std::vector<const TRecordset*>& items, int left, int right, int sortKey) {
    int i;
    do {
        i = left;
        int j = right;
        const TRecordset* pivot = items[static_cast<std::size_t>((left + right) / 2)];
        do {
            while (CompareGames(items[static_cast<std::size_t>(i)], pivot, sortKey) < 0) ++i;
            while (CompareGames(items[static_cast<std::size_t>(j)], pivot, sortKey) > 0) --j;
            if (i <= j) std::swap(items[static_cast<std::size_t>(i++)], items[static_cast<std::size_t>(j--)]);
        } while (i <= j);
        if (left < j) ReferenceQuickSort(items, left, j, sortKey);
        left = i;
    } while (i < right);
}

TEST(SortGames, PlacesEveryGameWhereTheProcedureOnCompareGamesDoes) {
    std::mt19937 random(99);
    // Short texts that fold alike or not, long ones that agree on their first eight bytes or more,
    // and one with a zero byte, as the end of a short text is padded.
    std::vector<std::string> texts = {"",  "a",        "A",         "ab",       "aB",      "b",
                                      "_", "galaxian", "Galaxian2", "GALAXIAN", "galaxiaM"};
    for (const char* kana : {"ヂ", "ア", "イ", "ギャラクシアン"}) texts.push_back(Sjis(kana));
    texts.push_back("galaxiaN\x01");
    texts.push_back(std::string("aB\0", 3));
    const auto pick = [&] { return texts[random() % texts.size()]; };
    for (int round = 0; round < 20; ++round) {
        std::vector<Game> games;
        const int size = 1 + static_cast<int>(random() % 300);
        for (int i = 0; i < size; ++i) {
            Game game(pick() + pick(), pick() + pick(), pick(), random() % 2, texts[random() % 4],
                      texts[random() % 3]);
            games.push_back(game);
        }
        for (int key = -8; key <= 8; ++key) {
            GameList list = MakeList(games);
            if (round == 0)
                list.Items()[static_cast<std::size_t>(size / 2)].reset();  // a slot without a game
            std::vector<const TRecordset*> expected;
            for (const auto& item : list.Items()) expected.push_back(item.get());
            ReferenceQuickSort(expected, 0, size - 1, key);
            SortGames(list, key);
            std::vector<const TRecordset*> actual;
            for (const auto& item : list.Items()) actual.push_back(item.get());
            ASSERT_EQ(actual, expected) << "round " << round << " key " << key;
        }
    }
}

TEST(SortState, ClicksSortAscendingThenFlipAndAnotherColumnStartsAscending) {
    SortState state;
    EXPECT_EQ(state.ColumnClicked(2), -1);
    EXPECT_EQ(state.sortKey, 3);
    EXPECT_EQ(state.sortColumn, 2);
    EXPECT_TRUE(state.sortAscending);

    EXPECT_EQ(state.ColumnClicked(2), 2);
    EXPECT_EQ(state.sortKey, -3);
    EXPECT_FALSE(state.sortAscending);

    EXPECT_EQ(state.ColumnClicked(2), 2);
    EXPECT_EQ(state.sortKey, 3);
    EXPECT_TRUE(state.sortAscending);

    state.ColumnClicked(2);  // descending, then another column
    EXPECT_EQ(state.ColumnClicked(0), 2);
    EXPECT_EQ(state.sortKey, 1);
    EXPECT_EQ(state.sortColumn, 0);
    EXPECT_TRUE(state.sortAscending);

    EXPECT_EQ(state.ColumnClicked(6), 0);
    EXPECT_EQ(state.ColumnClicked(6), 6);
    EXPECT_EQ(state.sortKey, -7);
    EXPECT_EQ(state.sortAscending, state.sortKey > 0);
}

TEST(FindZipPrefix, MatchesThePrefixInAnyLetterCaseFromTheStartRow) {
    const TextCodec& sjis = ShiftJisCodec();
    const GameList list = ZipsOnly({"mspacman", "PACMAN", "galaga", "pacman", "Pacman", "pa"});
    EXPECT_EQ(FindZipPrefix(list, "pac", 0, false, sjis), 1);
    EXPECT_EQ(FindZipPrefix(list, "PAC", 2, false, sjis), 3);
    EXPECT_EQ(FindZipPrefix(list, "pAc", 4, false, sjis), 4);
    EXPECT_EQ(FindZipPrefix(list, "pacman", 5, false, sjis), -1);  // "pa" is shorter than the text
    EXPECT_EQ(FindZipPrefix(list, "spac", 0, true, sjis), -1);     // only the start of the name counts
    EXPECT_EQ(FindZipPrefix(list, "", 3, false, sjis), 3);         // the empty text begins every name
}

TEST(FindZipPrefix, WrapsToTheFirstRowOnlyWhenAskedAndProbesEveryRowOnce) {
    const TextCodec& sjis = ShiftJisCodec();
    const GameList list = ZipsOnly({"dkong", "galaga", "mspacman", "pacman"});
    EXPECT_EQ(FindZipPrefix(list, "dk", 3, false, sjis), -1);
    EXPECT_EQ(FindZipPrefix(list, "dk", 3, true, sjis), 0);
    EXPECT_EQ(FindZipPrefix(list, "gal", 2, true, sjis), 1);
    // A miss ends once every row was tried, wherever the search started.
    for (int start = 0; start <= list.Count(); ++start) {
        EXPECT_EQ(FindZipPrefix(list, "xevious", start, true, sjis), -1);
        EXPECT_EQ(FindZipPrefix(list, "xevious", start, false, sjis), -1);
    }
    // The start row itself is probed first.
    EXPECT_EQ(FindZipPrefix(list, "", 2, true, sjis), 2);
}

TEST(FindZipPrefix, StartRowsOutsideTheListAndAnEmptyList) {
    const TextCodec& sjis = ShiftJisCodec();
    const GameList list = ZipsOnly({"dkong", "galaga", "pacman"});
    // The end of the list: without wrap nothing, with wrap from row 0.
    EXPECT_EQ(FindZipPrefix(list, "dk", 3, false, sjis), -1);
    EXPECT_EQ(FindZipPrefix(list, "pac", 3, true, sjis), 2);
    // Further out counts as the end, and before the first row as the first row.
    EXPECT_EQ(FindZipPrefix(list, "dk", 99, false, sjis), -1);
    EXPECT_EQ(FindZipPrefix(list, "dk", 99, true, sjis), 0);
    EXPECT_EQ(FindZipPrefix(list, "pac", -5, false, sjis), 2);
    EXPECT_EQ(FindZipPrefix(list, "dk", -1, false, sjis), 0);
    EXPECT_EQ(FindZipPrefix(list, "zz", -1, true, sjis), -1);

    const GameList empty;
    for (int start : {-1, 0, 1}) {
        EXPECT_EQ(FindZipPrefix(empty, "", start, true, sjis), -1);
        EXPECT_EQ(FindZipPrefix(empty, "a", start, false, sjis), -1);
    }
}

TEST(FindZipPrefix, UpperCasesLikeTheCodecAndLeavesSecondBytesAlone) {
    // 0x83 0x61 (ヂ) has a second byte that looks like 'a': Shift-JIS keeps it, UTF-8 has no such
    // lead byte and folds it.
    const GameList list = ZipsOnly({"x\x83\x61", "\x83\x61z"});
    EXPECT_EQ(FindZipPrefix(list, "\x83\x41", 0, true, ShiftJisCodec()), -1);
    EXPECT_EQ(FindZipPrefix(list, "\x83\x61Z", 0, true, ShiftJisCodec()), 1);
    EXPECT_EQ(FindZipPrefix(list, "\x83\x41Z", 0, true, Utf8Codec()), 1);
    EXPECT_EQ(FindZipPrefix(list, "X\x83\x61", 0, true, ShiftJisCodec()), 0);
}

}  // namespace
}  // namespace kanaroll
