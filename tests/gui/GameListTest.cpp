#include <string>
#include <vector>

#include "tests/gui/MainWindowFixture.h"
#include "tests/gui/SortHeaderSupport.h"

namespace kanaroll::testing {
namespace {

class GameListTest : public MainWindowTest {
protected:
    std::vector<std::wstring> Zips() const {
        std::vector<std::wstring> zips;
        for (int row = 0; row < listview::ItemCount(Ui().ListView1); ++row)
            zips.push_back(Cell(Ui().ListView1, row, 0));
        return zips;
    }
    int RowOf(const std::wstring& zip) const {
        const auto zips = Zips();
        for (std::size_t row = 0; row < zips.size(); ++row) {
            if (zips[row] == zip) return static_cast<int>(row);
        }
        return -1;
    }
    // A click on a column's header, as a person makes it.
    void ClickColumn(int column) {
        PressHeader(form->HeaderHandle(), column);
        ReleaseHeader(form->HeaderHandle(), column);
        Pump();
    }
    // At least part of the row lies in the list's client area below the header.
    bool RowVisible(int row) const {
        RECT item{LVIR_BOUNDS, 0, 0, 0};
        if (!SendMessageW(Ui().ListView1, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)))
            return false;
        RECT client{};
        GetClientRect(Ui().ListView1, &client);
        client.top = window::BoundsInParent(form->HeaderHandle()).bottom;
        RECT common{};
        return IntersectRect(&common, &item, &client) != FALSE;
    }
    void ExpectCurrent(const std::wstring& zip) {
        const int row = RowOf(zip);
        ASSERT_GE(row, 0);
        EXPECT_EQ(listview::SelectedItem(Ui().ListView1), row) << "selected " << zip;
        EXPECT_EQ(listview::FocusedItem(Ui().ListView1), row) << "focused " << zip;
        EXPECT_EQ(State().currentIndex, row);
        EXPECT_TRUE(RowVisible(row));
    }
};

TEST_F(GameListTest, RowsShowTheSevenCellsTheMarkAndTheMasterOrCloneIcon) {
    WriteListInfo(
        {{.zip = "xevious", .description = "Xevious (Namco)", .year = "1982", .manufacturer = "Namco"},
         {.zip = "xeviousa",
          .description = "Xevious (Atari)",
          .year = "????",
          .manufacturer = "Atari",
          .cloneOf = "xevious"}});
    WriteFile("mame32j.lst", "xevious\tゼビウス\tぜびうす\tナムコ\r\n");
    Start();
    const HWND list = Ui().ListView1;
    ASSERT_EQ(listview::ItemCount(list), 2);
    const std::vector<std::wstring> master{
        L"xevious", L"Xevious (Namco)", L"ゼビウス", L"Namco", L"1982", L"", L"○"};
    const std::vector<std::wstring> clone{
        L"xeviousa", L"Xevious (Atari)", L"Xevious (Atari)", L"Atari", L"????", L"xevious", L"×"};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(Cell(list, 0, column), master[column]) << "column " << column;
        EXPECT_EQ(Cell(list, 1, column), clone[column]) << "column " << column;
    }
    EXPECT_EQ(listview::ItemImage(list, 0), 0);
    EXPECT_EQ(listview::ItemImage(list, 1), 1);
}

// Five games whose columns each give another order; the reading of b2 is empty although it is
// translated, which ties it with the untranslated e5 in the reading column.
class GameListSortTest : public GameListTest {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "a1", .description = "Zeta", .year = "1983", .manufacturer = "Cmaker"},
                       {.zip = "b2",
                        .description = "Yankee",
                        .year = "1981",
                        .manufacturer = "Amaker",
                        .cloneOf = "a1"},
                       {.zip = "c3", .description = "Xray", .year = "????", .manufacturer = "Bmaker"},
                       {.zip = "d4",
                        .description = "Whisky",
                        .year = "1982",
                        .manufacturer = "Amaker",
                        .cloneOf = "c3"},
                       {.zip = "e5", .description = "Victor", .year = "1980", .manufacturer = "Cmaker"}});
        WriteFile("mame32j.lst",
                  "a1\tアルファ\tう\t\r\n"
                  "b2\tヤンキー\t\t\r\n"
                  "c3\tエックス\tあ\t\r\n"
                  "d4\tダブル\tい\t\r\n");
        Start();
    }
};

TEST_F(GameListSortTest, EachColumnSortsBothWaysAndKeepsTheCurrentGame) {
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    ExpectCurrent(L"c3");

    struct Expected {
        int column;
        bool ascending;
        std::vector<std::wstring> zips;
    };
    const Expected clicks[] = {
        {0, true, {L"a1", L"b2", L"c3", L"d4", L"e5"}},
        {0, false, {L"e5", L"d4", L"c3", L"b2", L"a1"}},
        {1, true, {L"e5", L"d4", L"c3", L"b2", L"a1"}},
        {1, false, {L"a1", L"b2", L"c3", L"d4", L"e5"}},
        // The reading, not the title shown; the tie of b2 and e5 lands where the quicksort puts it,
        // so that descending is not the exact reverse.
        {2, true, {L"b2", L"e5", L"c3", L"d4", L"a1"}},
        {2, false, {L"a1", L"d4", L"c3", L"b2", L"e5"}},
        // Within one maker by reading.
        {3, true, {L"b2", L"d4", L"c3", L"e5", L"a1"}},
        {3, false, {L"a1", L"e5", L"c3", L"d4", L"b2"}},
        // "????" after every year.
        {4, true, {L"e5", L"b2", L"d4", L"a1", L"c3"}},
        {4, false, {L"c3", L"a1", L"d4", L"b2", L"e5"}},
        // Masters first, each group by reading.
        {5, true, {L"e5", L"c3", L"a1", L"b2", L"d4"}},
        {5, false, {L"d4", L"b2", L"a1", L"c3", L"e5"}},
        // "×" before "○".
        {6, true, {L"e5", L"b2", L"c3", L"d4", L"a1"}},
        {6, false, {L"a1", L"d4", L"c3", L"b2", L"e5"}},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE("column " + std::to_string(click.column) +
                     (click.ascending ? " ascending" : " descending"));
        ClickColumn(click.column);
        EXPECT_EQ(Zips(), click.zips);
        EXPECT_EQ(State().sort.sortColumn, click.column);
        EXPECT_EQ(State().sort.sortAscending, click.ascending);
        EXPECT_EQ(State().sort.sortKey, click.ascending ? click.column + 1 : -(click.column + 1));
        ExpectCurrent(L"c3");
    }
    // A third click on a column sorts it ascending again.
    ClickColumn(6);
    EXPECT_EQ(State().sort.sortKey, 7);
    EXPECT_EQ(Zips(), (std::vector<std::wstring>{L"e5", L"b2", L"c3", L"d4", L"a1"}));
}

TEST_F(GameListTest, EqualGamesLandWhereTheQuicksortPutsThem) {
    WriteListInfo({{.zip = "a", .description = "A"},
                   {.zip = "b", .description = "B"},
                   {.zip = "c", .description = "C"},
                   {.zip = "d", .description = "D"}});
    Start();
    ClickColumn(3);  // one maker for all, no readings: every pair compares equal
    EXPECT_EQ(Zips(), (std::vector<std::wstring>{L"c", L"d", L"a", L"b"}));
    ExpectCurrent(L"a");
    ClickColumn(3);
    EXPECT_EQ(Zips(), (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    ExpectCurrent(L"a");
}

TEST_F(GameListTest, TheCurrentGameIsScrolledIntoViewAfterASort) {
    std::vector<ListInfoGame> games;
    for (int i = 0; i < 80; ++i) {
        games.push_back(
            {.zip = "g" + std::to_string(100 + i), .description = "Game", .year = i == 0 ? "1970" : "1980"});
    }
    WriteListInfo(games);
    Start();
    ClickColumn(0);
    ClickColumn(0);  // descending: the first game goes to the last row
    EXPECT_EQ(Cell(Ui().ListView1, 79, 0), L"g100");
    ExpectCurrent(L"g100");
    EXPECT_FALSE(RowVisible(0));
    ClickColumn(0);
    ExpectCurrent(L"g100");
    EXPECT_EQ(SendMessageW(Ui().ListView1, LVM_GETTOPINDEX, 0, 0), 0);

    // Scrolled away by the user, the current game comes back into view even where it keeps its row.
    SendMessageW(Ui().ListView1, LVM_SCROLL, 0, 40 * 20);
    Pump();
    ASSERT_FALSE(RowVisible(0));
    ClickColumn(4);  // the first game is the oldest and stays in the first row
    EXPECT_EQ(Cell(Ui().ListView1, 0, 0), L"g100");
    ExpectCurrent(L"g100");
}

TEST_F(GameListTest, AClickWithoutGamesChangesOnlyTheSortState) {
    folder.Write("listinfo.txt", "");
    Start();
    ClickColumn(2);
    EXPECT_EQ(State().sort.sortKey, 3);
    EXPECT_EQ(State().currentIndex, -1);
    EXPECT_EQ(listview::SelectedItem(Ui().ListView1), -1);
    EXPECT_TRUE(services.messageBoxes.empty());
}

class GameListSearchTest : public GameListTest {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "galaga", .description = "Galaga"},
                       {.zip = "mspacman", .description = "Ms. Pac-Man"},
                       {.zip = "pacman", .description = "Pac-Man"},
                       {.zip = "pacland", .description = "Pac-Land"},
                       {.zip = "puckman", .description = "Puck Man"},
                       {.zip = "xevious", .description = "Xevious"}});
        Start();
        ASSERT_EQ(GetFocus(), Ui().ListView1);
    }
};

TEST_F(GameListSearchTest, TypedLettersFindTheFirstZipNameWithThatPrefixInAnyCase) {
    Type(L"PAC");
    ExpectCurrent(L"pacman");  // not mspacman, which holds "pac" further on
}

TEST_F(GameListSearchTest, LettersTypedTogetherAreOnePrefix) {
    Type(L"pu");
    ExpectCurrent(L"puckman");
}

TEST_F(GameListSearchTest, ALongerPrefixMayKeepTheRowFoundSoFar) {
    Type(L"pacl");  // p finds pacman, "pac" stays on it, "pacl" moves on to pacland
    ExpectCurrent(L"pacland");
}

TEST_F(GameListSearchTest, ANewSearchStartsBehindTheFocusedRowAndWraps) {
    PressKey(VK_END);
    ExpectCurrent(L"xevious");
    Type(L"m");  // from behind the last row on to row 0 and further
    ExpectCurrent(L"mspacman");
}

TEST_F(GameListSearchTest, TheSameLetterAgainGoesToTheNextRowWithIt) {
    Type(L"ppp");  // pacman, pacland, puckman
    ExpectCurrent(L"puckman");
}

TEST_F(GameListSearchTest, AMissKeepsTheSelection) {
    PressKey(VK_DOWN);
    ExpectCurrent(L"mspacman");
    Type(L"z");
    ExpectCurrent(L"mspacman");
    EXPECT_EQ(services.beeps, 0);
}

TEST_F(GameListSearchTest, EnterMovesTheFocusToTheJapaneseTitleWithoutABeep) {
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(services.beeps, 0);
    ExpectCurrent(L"mspacman");
}

}  // namespace
}  // namespace kanaroll::testing
