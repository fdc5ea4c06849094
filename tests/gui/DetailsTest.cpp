// Selecting games: the detail panel, the status panels and the family list.
#include "tests/gui/DetailsFixture.h"

namespace kanaroll::testing {
namespace {

TEST_F(DetailsTest, SelectingAGameFillsThePanelAndWritesNothingBack) {
    StartFamilies();
    statusbar::SetText(Ui().StatusBar1, 3, L"mame32j.lstに保存しました");
    ClickRow(Ui().ListView1, Row("puckman"));

    EXPECT_EQ(State().currentIndex, Row("puckman"));
    EXPECT_EQ(Text(Ui().GroupBox1), L"puckman");
    EXPECT_EQ(Text(Ui().Edit3), L"Puck Man (Japan)");
    EXPECT_EQ(Text(Ui().Edit1), L"パックマン");
    EXPECT_EQ(Text(Ui().Edit2), L"ぱっくまん");
    EXPECT_EQ(Text(Ui().Memo1), L"Z80 @ 3.072000MHz");
    EXPECT_EQ(Text(Ui().Memo2), L"Namco @ 96.000KHz");
    EXPECT_EQ(Text(Ui().Edit4), L"224 x 288 @ 60.606060Hz, 512 Colors");
    EXPECT_EQ(Status(3), L"");
    // Filling the fields is no edit.
    EXPECT_FALSE(State().modified);
    EXPECT_EQ(Status(2), L"");
    EXPECT_EQ(Status(0), Totals(4));
    EXPECT_EQ(State().undoJapaneseName, Sjis("パックマン"));
    EXPECT_EQ(State().undoReading, Sjis("ぱっくまん"));
}

TEST_F(DetailsTest, PanelOneSaysWhenTheDriverDoesNotWork) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("galaga"));
    EXPECT_EQ(Status(1), L"動作不可");
    ClickRow(Ui().ListView1, Row("pacman"));
    EXPECT_EQ(Status(1), L"");
}

TEST_F(DetailsTest, TheFamilyListShowsTheMasterFirstAndTheClonesInGameListOrder) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("pacmanf"));
    EXPECT_EQ(FamilyRows(), (std::vector<std::wstring>{L"pacman", L"puckman", L"pacmanf"}));
    EXPECT_EQ(FamilyIcons(), (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(State().familyKey, "pacman");
    // The selected clone is the selected and focused row; the rows carry the game-list cells.
    EXPECT_EQ(listview::SelectedItem(Ui().ListView2), 2);
    EXPECT_EQ(listview::FocusedItem(Ui().ListView2), 2);
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(Cell(Ui().ListView2, 1, column), Cell(Ui().ListView1, Row("puckman"), column)) << column;
    }
    EXPECT_EQ(Cell(Ui().ListView2, 1, 6), L"○");
    EXPECT_EQ(Cell(Ui().ListView2, 0, 6), L"×");

    // Another member of the family: the same rows, only the selection moves.
    ClickRow(Ui().ListView1, Row("pacman"));
    EXPECT_EQ(FamilyRows(), (std::vector<std::wstring>{L"pacman", L"puckman", L"pacmanf"}));
    EXPECT_EQ(listview::SelectedItem(Ui().ListView2), 0);
}

TEST_F(DetailsTest, TheFamilyListIsRebuiltOnlyWhenTheFamilyChanges) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("puckman"));
    // Sorting by ZIP name puts pacmanf before puckman in the game list; the family shown stays as
    // it was built, also when another member of it is selected.
    ClickHeader(0);
    ASSERT_LT(Row("pacmanf"), Row("puckman"));
    EXPECT_EQ(State().currentIndex, Row("puckman"));
    ClickRow(Ui().ListView1, Row("pacmanf"));
    EXPECT_EQ(FamilyRows(), (std::vector<std::wstring>{L"pacman", L"puckman", L"pacmanf"}));
    EXPECT_EQ(listview::SelectedItem(Ui().ListView2), 2);

    // A game of another family and back: rebuilt each time, now in the sorted order.
    ClickRow(Ui().ListView1, Row("galaga"));
    EXPECT_EQ(FamilyRows(), std::vector<std::wstring>{L"galaga"});
    EXPECT_EQ(State().familyKey, "galaga");
    ClickRow(Ui().ListView1, Row("puckman"));
    EXPECT_EQ(FamilyRows(), (std::vector<std::wstring>{L"pacman", L"pacmanf", L"puckman"}));
    EXPECT_EQ(listview::SelectedItem(Ui().ListView2), 2);
}

// The families are indexed again a moment after a sort, off the click's path; the family list then
// shows the clones in the new order just as when a family is shown before that moment. The moment is
// the timer's message, which the test sends itself instead of waiting for it.
TEST_F(DetailsTest, TheFamiliesIndexedAfterASortFollowTheNewOrder) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("galaga"));
    ClickHeader(0);  // pacmanf before puckman, which come the other way round in the file
    ASSERT_TRUE(KillTimer(form->Handle(), TForm1::kFamilyIndexTimer)) << "the sort set no timer";
    SendMessageW(form->Handle(), WM_TIMER, TForm1::kFamilyIndexTimer, 0);
    Pump();
    ClickRow(Ui().ListView1, Row("pacmanf"));
    EXPECT_EQ(FamilyRows(), (std::vector<std::wstring>{L"pacman", L"pacmanf", L"puckman"}));
    EXPECT_EQ(listview::SelectedItem(Ui().ListView2), 1);
}

TEST_F(DetailsTest, ACloneWhoseMasterIsMissingShowsTheClonesAlone) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("orphan2"));
    EXPECT_EQ(FamilyRows(), (std::vector<std::wstring>{L"orphan1", L"orphan2"}));
    EXPECT_EQ(FamilyIcons(), (std::vector<int>{1, 1}));
    EXPECT_EQ(listview::SelectedItem(Ui().ListView2), 1);
    EXPECT_EQ(State().familyKey, "missing");
}

TEST_F(DetailsTest, SelectingInTheFamilyListSelectsTheGameAndKeepsTheFocusThere) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("pacman"));
    ClickRow(Ui().ListView2, 1);  // puckman

    EXPECT_EQ(GetFocus(), Ui().ListView2);
    EXPECT_EQ(listview::SelectedItem(Ui().ListView1), Row("puckman"));
    EXPECT_EQ(listview::FocusedItem(Ui().ListView1), Row("puckman"));
    EXPECT_EQ(State().currentIndex, Row("puckman"));
    EXPECT_EQ(Text(Ui().Edit1), L"パックマン");
    EXPECT_EQ(State().undoReading, Sjis("ぱっくまん"));
    EXPECT_EQ(listview::SelectedItem(Ui().ListView2), 1);
    EXPECT_FALSE(State().syncingSelection);

    // The arrow keys walk the family the same way.
    PressKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), Ui().ListView2);
    EXPECT_EQ(State().currentIndex, Row("pacmanf"));
    EXPECT_EQ(listview::SelectedItem(Ui().ListView1), Row("pacmanf"));
    EXPECT_EQ(Text(Ui().Edit3), L"Pac-Man (bootleg)");
}

TEST_F(DetailsTest, EnterInTheFamilyListGoesToTheTitleAndItsShortcutsWork) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("puckman"));
    Focus(Ui().ListView2);
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(Selection(Ui().Edit1), std::make_pair(0, 5));

    // Ctrl+S, the quick save of the popup menu, acts in the family list as in the game list.
    Focus(Ui().ListView2);
    {
        HeldModifiers control({VK_CONTROL});
        PressKey('S');
    }
    EXPECT_EQ(Status(3), L"mame32j.lstに保存しました");
}

}  // namespace
}  // namespace kanaroll::testing
