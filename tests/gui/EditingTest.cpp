// Typing titles and readings: the catalogue, the counters, both lists, undo, reset and the keys.
#include "tests/gui/DetailsFixture.h"

namespace kanaroll::testing {
namespace {

using EditingTest = DetailsTest;

TEST_F(EditingTest, AFirstCharacterOfAReadingTranslatesTheGameAndDeletingItUndoesThat) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("pacmanf"));
    Focus(Ui().Edit2);
    Type(L"ぱ");

    EXPECT_EQ(Game("pacmanf").reading, Sjis("ぱ"));
    EXPECT_TRUE(Game("pacmanf").translated);
    EXPECT_EQ(State().translatedCount, 4);
    EXPECT_EQ(Status(0), Totals(3));
    EXPECT_EQ(Cell(Ui().ListView1, Row("pacmanf"), 6), L"○");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"pacmanf"), 6), L"○");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"pacman"), 6), L"×");
    EXPECT_EQ(Status(2), L"変更あり");
    EXPECT_TRUE(State().modified);

    // A second character changes no flag and no counter.
    Type(L"っ");
    EXPECT_EQ(State().translatedCount, 4);

    PressKey(VK_BACK);
    PressKey(VK_BACK);
    EXPECT_EQ(Game("pacmanf").reading, "");
    EXPECT_FALSE(Game("pacmanf").translated);
    EXPECT_EQ(State().translatedCount, 3);
    EXPECT_EQ(Status(0), Totals(4));
    EXPECT_EQ(Cell(Ui().ListView1, Row("pacmanf"), 6), L"×");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"pacmanf"), 6), L"×");
    EXPECT_EQ(Status(2), L"変更あり");
}

TEST_F(EditingTest, ANamedGameWithoutReadingKeepsTheCountUntilItsReadingIsEmptiedAgain) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("galaga"));
    ASSERT_TRUE(Game("galaga").translated);
    EXPECT_EQ(Cell(Ui().ListView1, Row("galaga"), 6), L"○");
    EXPECT_EQ(Cell(Ui().ListView2, 0, 6), L"○");

    Focus(Ui().Edit2);
    Type(L"ぎ");
    EXPECT_EQ(State().translatedCount, 3);
    EXPECT_EQ(Status(0), Totals(4));
    EXPECT_EQ(Cell(Ui().ListView1, Row("galaga"), 6), L"○");

    PressKey(VK_BACK);
    EXPECT_FALSE(Game("galaga").translated);
    EXPECT_EQ(State().translatedCount, 2);
    EXPECT_EQ(Status(0), Totals(5));
    EXPECT_EQ(Cell(Ui().ListView1, Row("galaga"), 6), L"×");
    EXPECT_EQ(Cell(Ui().ListView2, 0, 6), L"×");
}

// The edit control may report a change that changed nothing (an undo with nothing to undo, a
// paste of what was selected): such a report is no edit, and a named game without reading stays
// translated.
TEST_F(EditingTest, AChangeReportThatChangedNothingEditsNothing) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("galaga"));
    ASSERT_TRUE(Game("galaga").translated);
    ASSERT_EQ(Game("galaga").reading, "");
    const int translated = State().translatedCount;
    for (HWND field : {Ui().Edit1, Ui().Edit2}) {
        Focus(field);
        SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), EN_CHANGE),
                     reinterpret_cast<LPARAM>(field));
        Pump();
    }
    EXPECT_TRUE(Game("galaga").translated);
    EXPECT_EQ(State().translatedCount, translated);
    EXPECT_FALSE(State().modified);
    EXPECT_EQ(Status(2), L"");
}

TEST_F(EditingTest, TypingATitleStoresItAndShowsItInBothListsWithoutTranslating) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("pacmanf"));
    Focus(Ui().Edit1);  // selects "Pac-Man", the part before " ("
    Type(L"パックマン");

    EXPECT_EQ(Text(Ui().Edit1), L"パックマン (bootleg)");
    EXPECT_EQ(Game("pacmanf").japaneseName, Sjis("パックマン (bootleg)"));
    EXPECT_EQ(Cell(Ui().ListView1, Row("pacmanf"), 2), L"パックマン (bootleg)");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"pacmanf"), 2), L"パックマン (bootleg)");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"pacman"), 2), L"Pac-Man");
    EXPECT_FALSE(Game("pacmanf").translated);
    EXPECT_EQ(State().translatedCount, 3);
    EXPECT_TRUE(State().modified);
    EXPECT_EQ(Status(2), L"変更あり");
}

TEST_F(EditingTest, AnEmptiedTitleGetsTheEnglishTitleBackWhenTheFocusLeaves) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("puckman"));
    Focus(Ui().ListView1);
    PressKey(VK_RETURN);
    ASSERT_EQ(GetFocus(), Ui().Edit1);
    PressKey(VK_BACK);  // the whole title was selected
    ASSERT_EQ(Text(Ui().Edit1), L"");
    EXPECT_EQ(Game("puckman").japaneseName, "");

    PressKey(VK_TAB);
    EXPECT_NE(GetFocus(), Ui().Edit1);
    EXPECT_EQ(Text(Ui().Edit1), L"Puck Man (Japan)");
    EXPECT_EQ(Game("puckman").japaneseName, "Puck Man (Japan)");
    EXPECT_EQ(Cell(Ui().ListView1, Row("puckman"), 2), L"Puck Man (Japan)");
    EXPECT_TRUE(State().modified);

    // Leaving a title that is not empty changes nothing.
    Focus(Ui().Edit1);
    Focus(Ui().ListView1);
    EXPECT_EQ(Game("puckman").japaneseName, "Puck Man (Japan)");
}

// A click on another row of either list selects that row as it leaves the field: the English title
// goes to the game that was being edited, the next game keeps its own, and a save writes no empty
// title.
TEST_F(EditingTest, AnEmptiedTitleLeftByAClickOnAnotherRowGoesBackToItsOwnGame) {
    StartFamilies();
    struct Click {
        HWND list;
        std::string_view edited;
        std::string_view next;
    };
    const Click clicks[] = {{Ui().ListView1, "puckman", "galaga"}, {Ui().ListView2, "puckman", "pacmanf"}};
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.list == Ui().ListView1 ? "game list" : "family list");
        ClickRow(Ui().ListView1, Row(click.edited));
        const std::string nextTitle = Game(click.next).japaneseName;
        Focus(Ui().Edit1);
        edit::SetSelection(Ui().Edit1, 0, -1);
        PressKey(VK_BACK);
        ASSERT_EQ(Game(click.edited).japaneseName, "");

        const std::wstring nextZip = ToWide(std::string(click.next), 932);
        ClickRow(click.list, click.list == Ui().ListView1 ? Row(click.next) : FamilyRow(nextZip));
        ASSERT_EQ(State().currentIndex, Row(click.next));
        EXPECT_EQ(GetFocus(), click.list);
        EXPECT_EQ(Game(click.edited).japaneseName, "Puck Man (Japan)");
        EXPECT_EQ(Cell(Ui().ListView1, Row(click.edited), 2), L"Puck Man (Japan)");
        EXPECT_EQ(Game(click.next).japaneseName, nextTitle);
        EXPECT_EQ(Text(Ui().Edit1), ToWide(nextTitle, 932));
        if (FamilyRow(L"puckman") >= 0) {
            EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"puckman"), 2), L"Puck Man (Japan)");
        }
    }
    PressCtrlS();
    EXPECT_EQ(FileText("mame32j.lst").find(L"puckman\t\t"), std::wstring::npos);
    EXPECT_NE(FileText("mame32j.lst").find(L"puckman\tPuck Man (Japan)\tぱっくまん\t"), std::wstring::npos);
}

TEST_F(EditingTest, EnteringTheTitleSelectsItsMainPartWithTheCaretAtTheStart) {
    StartFamilies(
        "pacman\tPuzzle Game (Japan)\t\t\r\n"
        "pacmanf\t (proto)\t\t\r\n");
    // A Japanese title: the selection counts characters, not Shift-JIS bytes.
    ClickRow(Ui().ListView1, Row("zzyzx"));
    Focus(Ui().ListView1);
    PressKey(VK_RETURN);
    ASSERT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(Selection(Ui().Edit1), std::make_pair(0, 4));
    POINT caret{};
    GetCaretPos(&caret);
    const LRESULT first = SendMessageW(Ui().Edit1, EM_POSFROMCHAR, 0, 0);
    EXPECT_EQ(caret.x, static_cast<short>(LOWORD(first)));
    Type(L"テトリス");
    EXPECT_EQ(Game("zzyzx").japaneseName, Sjis("テトリス (日本版)"));

    // Tab into the field makes the same selection, not the dialog manager's select-all.
    ClickRow(Ui().ListView1, Row("pacman"));
    Focus(Ui().ListView1);
    PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(Selection(Ui().Edit1), std::make_pair(0, 11));  // "Puzzle Game"

    // Without " (" the whole text; with " (" at the start nothing.
    ClickRow(Ui().ListView1, Row("galaga"));
    PressKey(VK_RETURN);
    EXPECT_EQ(Selection(Ui().Edit1), std::make_pair(0, 4));
    ClickRow(Ui().ListView1, Row("pacmanf"));
    PressKey(VK_RETURN);
    EXPECT_EQ(Selection(Ui().Edit1), std::make_pair(0, 0));
}

TEST_F(EditingTest, EnterWalksFromTheListThroughTheFieldsToTheNextGame) {
    StartFamilies();
    ClickRow(Ui().ListView1, 0);
    PressKey(VK_RETURN);
    ASSERT_EQ(GetFocus(), Ui().Edit1);
    Type(L"パックマン");
    PressKey(VK_RETURN);
    ASSERT_EQ(GetFocus(), Ui().Edit2);
    Type(L"ぱっくまん");
    PressKey(VK_RETURN);

    // The next game is current and its title is ready to be typed over.
    EXPECT_EQ(State().currentIndex, 1);
    EXPECT_EQ(listview::SelectedItem(Ui().ListView1), 1);
    EXPECT_EQ(listview::FocusedItem(Ui().ListView1), 1);
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(Text(Ui().Edit1), L"パックマン");
    EXPECT_EQ(Selection(Ui().Edit1), std::make_pair(0, 5));
    EXPECT_EQ(Game("pacman").japaneseName, Sjis("パックマン"));
    EXPECT_EQ(Game("pacman").reading, Sjis("ぱっくまん"));
    // Enter in the title field inserted nothing.
    EXPECT_EQ(Text(Ui().Edit2), L"ぱっくまん");

    // Enter in Edit1 reaches Edit2 with its whole text selected.
    PressKey(VK_RETURN);
    ASSERT_EQ(GetFocus(), Ui().Edit2);
    EXPECT_EQ(Selection(Ui().Edit2), std::make_pair(0, 5));
}

TEST_F(EditingTest, EnterInTheReadingOfTheLastRowKeepsTheGameAndGoesBackToTheTitle) {
    StartFamilies();
    ClickRow(Ui().ListView1, kGames - 1);
    Focus(Ui().Edit2);
    PressKey(VK_RETURN);
    EXPECT_EQ(State().currentIndex, kGames - 1);
    EXPECT_EQ(listview::SelectedItem(Ui().ListView1), kGames - 1);
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(Selection(Ui().Edit1), std::make_pair(0, 4));
    EXPECT_EQ(Text(Ui().Edit2), L"ぷよぷよ");
    EXPECT_FALSE(State().modified);
}

TEST_F(EditingTest, AClickPlacesTheCaretOtherwiseTheReadingIsSelectedWhole) {
    StartFamilies("pacman\tパックマン\tぱっく まん\t\r\n");
    ClickRow(Ui().ListView1, Row("pacman"));
    RECT field{};
    GetClientRect(Ui().Edit2, &field);
    ClickAt(Ui().Edit2, field.right - 4, field.bottom / 2);
    ASSERT_EQ(GetFocus(), Ui().Edit2);
    EXPECT_EQ(Selection(Ui().Edit2), std::make_pair(6, 6));

    // A double-click selects the whole text, not one word of it.
    const LPARAM at = MAKELPARAM(4, field.bottom / 2);
    PostMessageW(Ui().Edit2, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(Ui().Edit2, WM_LBUTTONUP, 0, at);
    PostMessageW(Ui().Edit2, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(Ui().Edit2, WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(Selection(Ui().Edit2), std::make_pair(0, 6));

    // Focus from the keyboard selects everything.
    Focus(Ui().ListView1);
    Focus(Ui().Edit2);
    EXPECT_EQ(Selection(Ui().Edit2), std::make_pair(0, 6));

    // A click into the title places the caret too, instead of the entry selection.
    ClickAt(Ui().Edit1, field.right - 4, field.bottom / 2);
    ASSERT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(Selection(Ui().Edit1), std::make_pair(5, 5));
}

TEST_F(EditingTest, UndoRestoresTheValuesOfTheLastSelection) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("pacman"));
    Focus(Ui().Edit1);
    Type(L"パックマン");
    Focus(Ui().Edit2);
    Type(L"ぱっく");
    Type(L"まん");
    ASSERT_EQ(State().translatedCount, 4);

    ClickButton(Ui().Button2);
    EXPECT_EQ(Text(Ui().Edit1), L"Pac-Man");
    EXPECT_EQ(Text(Ui().Edit2), L"");
    EXPECT_EQ(Game("pacman").japaneseName, "Pac-Man");
    EXPECT_EQ(Game("pacman").reading, "");
    EXPECT_FALSE(Game("pacman").translated);
    EXPECT_EQ(State().translatedCount, 3);
    EXPECT_EQ(Cell(Ui().ListView1, Row("pacman"), 2), L"Pac-Man");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"pacman"), 6), L"×");
    EXPECT_TRUE(State().modified);  // an undo is an edit too

    // After moving on, undo restores the new game's values, not the previous game's.
    ClickRow(Ui().ListView1, Row("puckman"));
    Focus(Ui().Edit2);
    PressKey(VK_BACK);  // the whole reading was selected
    ASSERT_FALSE(Game("puckman").translated);
    ClickButton(Ui().Button2);
    EXPECT_EQ(Game("puckman").japaneseName, Sjis("パックマン"));
    EXPECT_EQ(Game("puckman").reading, Sjis("ぱっくまん"));
    EXPECT_TRUE(Game("puckman").translated);
    EXPECT_EQ(State().translatedCount, 3);
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"puckman"), 6), L"○");
    EXPECT_EQ(Game("pacman").japaneseName, "Pac-Man");
}

TEST_F(EditingTest, ResetGivesATranslatedGameItsEnglishTitleBackAndUntranslatesIt) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("puckman"));
    ClickButton(Ui().Button1);

    EXPECT_EQ(Text(Ui().Edit1), L"Puck Man (Japan)");
    EXPECT_EQ(Text(Ui().Edit2), L"");
    EXPECT_EQ(Game("puckman").japaneseName, "Puck Man (Japan)");
    EXPECT_EQ(Game("puckman").reading, "");
    EXPECT_FALSE(Game("puckman").translated);
    EXPECT_EQ(State().translatedCount, 2);
    EXPECT_EQ(Status(0), Totals(5));
    EXPECT_EQ(Cell(Ui().ListView1, Row("puckman"), 6), L"×");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"puckman"), 6), L"×");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"puckman"), 2), L"Puck Man (Japan)");
    EXPECT_EQ(Status(2), L"変更あり");
}

TEST_F(EditingTest, ResetOnAnUntouchedGameChangesNothing) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("pacman"));
    ClickButton(Ui().Button1);
    EXPECT_FALSE(State().modified);
    EXPECT_EQ(Status(2), L"");
}

}  // namespace
}  // namespace kanaroll::testing
