// The proposals in the main window: shown without a click and stored only by F4, which edits as
// typing does; F8, Shift+F8 and Shift+Enter going to the untranslated games; the menu entries.
#include <algorithm>
#include <cstdlib>

#include "mainwindow/ControlIds.h"
#include "tests/gui/DetailsFixture.h"
#include "tests/gui/SortHeaderSupport.h"

namespace kanaroll::testing {
namespace {

constexpr wchar_t kNoneLeft[] = L"未翻訳のゲームはありません";

// Eight games; the list teaches "(Japan)" as "(日本版)" (galagaj) and the families' readings:
//   0 pacman  パックマン / ぱっくまん     1 pacmanj  clone, untranslated: proposes both
//   2 galaga  ギャラガ / ぎゃらが         3 galagaj  ギャラガ (日本版) / ぎゃらが
//   4 xevious ゼビウス / ぜびうす         5 xeviousj clone, untranslated: proposes both
//   6 qzx     untranslated, nothing to go on: no proposal
//   7 digdug  untranslated, no proposal until a title is typed
class ProposalsTest : public DetailsTest {
protected:
    static constexpr int kGames = 8;

    void StartProposals(bool everyGameNamed = false) {
        WriteListInfo({{.zip = "pacman", .description = "Pac-Man"},
                       {.zip = "pacmanj", .description = "Pac-Man (Japan)", .cloneOf = "pacman"},
                       {.zip = "galaga", .description = "Galaga"},
                       {.zip = "galagaj", .description = "Galaga (Japan)", .cloneOf = "galaga"},
                       {.zip = "xevious", .description = "Xevious"},
                       {.zip = "xeviousj", .description = "Xevious (Japan)", .cloneOf = "xevious"},
                       {.zip = "qzx", .description = "Qzxvw Wkkq"},
                       {.zip = "digdug", .description = "Dig Dug"}});
        std::string names =
            "pacman\tパックマン\tぱっくまん\tNamco\r\n"
            "galaga\tギャラガ\tぎゃらが\tNamco\r\n"
            "galagaj\tギャラガ (日本版)\tぎゃらが\tNamco\r\n"
            "xevious\tゼビウス\tぜびうす\tNamco\r\n";
        if (everyGameNamed) {
            names +=
                "pacmanj\tパックマン (日本版)\tぱっくまん\r\nxeviousj\tゼビウス (日本版)\tぜびうす\r\n"
                "qzx\tキュー\tきゅー\r\ndigdug\tディグダグ\tでぃぐだぐ\r\n";
        }
        WriteFile("mame32j.lst", names);
        Start();
    }

    void Select(std::string_view zip) { ClickRow(Ui().ListView1, Row(zip)); }
    int SelectedRow() const { return listview::SelectedItem(Ui().ListView1); }
    std::wstring Cue() const { return edit::CueText(Ui().Edit2); }
    std::wstring ProposedTitle() const { return Text(Ui().TitleProposal); }
    std::wstring Totals(int untranslated) const {
        return L"合計：" + std::to_wstring(kGames) + L"件   未訳：" + std::to_wstring(untranslated) + L"件";
    }
    void PressShifted(UINT key) {
        HeldModifiers shift({VK_SHIFT});
        PressKey(key);
    }
    // The title field has the focus with its entry selection, as after Enter.
    void ExpectTitleFieldEntered() {
        EXPECT_EQ(GetFocus(), Ui().Edit1);
        const std::wstring title = Text(Ui().Edit1);
        const auto head = title.find(L" (");
        EXPECT_EQ(Selection(Ui().Edit1),
                  std::make_pair(0, static_cast<int>(head == std::wstring::npos ? title.size() : head)));
    }
};

TEST_F(ProposalsTest, ASelectedGameShowsItsProposalsAndStoresNothing) {
    StartProposals();
    Select("pacmanj");
    EXPECT_EQ(ProposedTitle(), L"パックマン (日本版)");
    EXPECT_EQ(Cue(), L"ぱっくまん");
    EXPECT_EQ(Text(Ui().Edit1), L"Pac-Man (Japan)");
    EXPECT_EQ(Text(Ui().Edit2), L"");

    // Going over games, focusing the fields and leaving them stores none of it.
    Focus(Ui().Edit1);
    Focus(Ui().Edit2);
    Select("xeviousj");
    EXPECT_EQ(ProposedTitle(), L"ゼビウス (日本版)");
    EXPECT_EQ(Cue(), L"ぜびうす");
    Select("qzx");
    EXPECT_EQ(ProposedTitle(), L"");
    EXPECT_EQ(Cue(), L"");
    EXPECT_EQ(Game("pacmanj").japaneseName, "Pac-Man (Japan)");
    EXPECT_EQ(Game("pacmanj").reading, "");
    EXPECT_EQ(Game("xeviousj").reading, "");
    EXPECT_FALSE(State().modified);
    EXPECT_EQ(Status(2), L"");
    EXPECT_EQ(State().translatedCount, 4);
}

TEST_F(ProposalsTest, TheReadingCueFollowsTheTypedTitle) {
    StartProposals();
    Select("digdug");
    EXPECT_EQ(Cue(), L"");
    Focus(Ui().Edit1);  // the whole title is selected
    Type(L"ディグダグ");
    EXPECT_EQ(Cue(), L"でぃぐだぐ");
    EXPECT_EQ(Game("digdug").reading, "");  // still only a cue

    // F4 in the reading field takes the reading of the typed title.
    Focus(Ui().Edit2);
    PressKey(VK_F4);
    EXPECT_EQ(Text(Ui().Edit2), L"でぃぐだぐ");
    EXPECT_EQ(Game("digdug").reading, Sjis("でぃぐだぐ"));
}

TEST_F(ProposalsTest, F4InTheTitleFieldStoresTheTitleAsTypingDoes) {
    StartProposals();
    Select("pacmanj");
    Focus(Ui().Edit1);
    PressKey(VK_F4);
    EXPECT_EQ(Text(Ui().Edit1), L"パックマン (日本版)");
    EXPECT_EQ(Game("pacmanj").japaneseName, Sjis("パックマン (日本版)"));
    EXPECT_EQ(Cell(Ui().ListView1, Row("pacmanj"), 2), L"パックマン (日本版)");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"pacmanj"), 2), L"パックマン (日本版)");
    EXPECT_TRUE(State().modified);
    EXPECT_EQ(Status(2), L"変更あり");
    // A title translates nothing; the reading stays to be taken.
    EXPECT_FALSE(Game("pacmanj").translated);
    EXPECT_EQ(Game("pacmanj").reading, "");
    EXPECT_EQ(State().translatedCount, 4);
    EXPECT_EQ(Cue(), L"ぱっくまん");
}

TEST_F(ProposalsTest, F4InTheReadingFieldTranslatesTheGame) {
    StartProposals();
    Select("xeviousj");
    Focus(Ui().Edit2);
    PressKey(VK_F4);
    EXPECT_EQ(Text(Ui().Edit2), L"ぜびうす");
    EXPECT_EQ(Game("xeviousj").reading, Sjis("ぜびうす"));
    EXPECT_EQ(Game("xeviousj").japaneseName, "Xevious (Japan)");  // the title is left
    EXPECT_TRUE(Game("xeviousj").translated);
    EXPECT_EQ(State().translatedCount, 5);
    EXPECT_EQ(Status(0), Totals(3));
    EXPECT_EQ(Cell(Ui().ListView1, Row("xeviousj"), 6), L"○");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"xeviousj"), 6), L"○");
    EXPECT_EQ(Status(2), L"変更あり");
    EXPECT_EQ(GetFocus(), Ui().Edit2);
}

TEST_F(ProposalsTest, F4InEitherListTakesTheTitleAndTheReading) {
    StartProposals();
    Select("pacmanj");
    Focus(Ui().ListView1);
    PressKey(VK_F4);
    EXPECT_EQ(Game("pacmanj").japaneseName, Sjis("パックマン (日本版)"));
    EXPECT_EQ(Game("pacmanj").reading, Sjis("ぱっくまん"));
    EXPECT_TRUE(Game("pacmanj").translated);
    EXPECT_EQ(GetFocus(), Ui().ListView1);

    Select("xeviousj");
    Focus(Ui().ListView2);
    PressKey(VK_F4);
    EXPECT_EQ(Game("xeviousj").japaneseName, Sjis("ゼビウス (日本版)"));
    EXPECT_EQ(Game("xeviousj").reading, Sjis("ぜびうす"));
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"xeviousj"), 2), L"ゼビウス (日本版)");
    EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"xeviousj"), 6), L"○");
    EXPECT_EQ(State().translatedCount, 6);
    EXPECT_EQ(Status(0), Totals(2));
    EXPECT_EQ(GetFocus(), Ui().ListView2);
    EXPECT_EQ(services.beeps, 0);
}

TEST_F(ProposalsTest, UndoAfterF4GivesTheGameBackAsItWas) {
    StartProposals();
    Select("pacmanj");
    Focus(Ui().ListView1);
    PressKey(VK_F4);
    ASSERT_TRUE(Game("pacmanj").translated);
    ClickButton(Ui().Button2);
    EXPECT_EQ(Game("pacmanj").japaneseName, "Pac-Man (Japan)");
    EXPECT_EQ(Game("pacmanj").reading, "");
    EXPECT_FALSE(Game("pacmanj").translated);
    EXPECT_EQ(State().translatedCount, 4);
    EXPECT_EQ(Cell(Ui().ListView1, Row("pacmanj"), 6), L"×");
    EXPECT_EQ(Cue(), L"ぱっくまん");

    // The field's own undo takes a proposal back as it takes back typing.
    Focus(Ui().Edit2);
    PressKey(VK_F4);
    ASSERT_EQ(State().translatedCount, 5);
    {
        HeldModifiers control({VK_CONTROL});
        PressKey('Z');
    }
    EXPECT_EQ(Text(Ui().Edit2), L"");
    EXPECT_EQ(Game("pacmanj").reading, "");
    EXPECT_EQ(State().translatedCount, 4);
}

TEST_F(ProposalsTest, F4WithoutAProposalBeepsAndChangesNothing) {
    StartProposals();
    Select("qzx");
    for (HWND control : {Ui().Edit1, Ui().Edit2, Ui().ListView1, Ui().ListView2}) {
        Focus(control);
        PressKey(VK_F4);
    }
    EXPECT_EQ(services.beeps, 4);
    EXPECT_EQ(Game("qzx").japaneseName, "Qzxvw Wkkq");
    EXPECT_EQ(Game("qzx").reading, "");
    EXPECT_FALSE(State().modified);

    // Alt+F4 is the window's, never a proposal's.
    Select("pacmanj");
    Focus(Ui().Edit1);
    {
        HeldModifiers alt({VK_MENU});
        const UINT scan = MapVirtualKeyW(VK_F4, MAPVK_VK_TO_VSC);
        SendMessageW(Ui().Edit1, WM_SYSKEYDOWN, VK_F4, 1 | (scan << 16) | (1u << 29));
    }
    EXPECT_EQ(Game("pacmanj").japaneseName, "Pac-Man (Japan)");
}

TEST_F(ProposalsTest, F8AndShiftF8GoRoundTheUntranslatedGames) {
    StartProposals();
    ASSERT_EQ(SelectedRow(), 0);
    std::vector<int> rows;
    Focus(Ui().ListView1);
    for (int step = 0; step < 5; ++step) {
        PressKey(VK_F8);
        rows.push_back(SelectedRow());
        // The title field takes the keys from here on, as after Enter.
        ExpectTitleFieldEntered();
    }
    EXPECT_EQ(rows, (std::vector<int>{1, 5, 6, 7, 1}));
    EXPECT_EQ(State().currentIndex, 1);
    EXPECT_EQ(Cue(), L"ぱっくまん");

    rows.clear();
    for (int step = 0; step < 3; ++step) {
        PressShifted(VK_F8);
        rows.push_back(SelectedRow());
    }
    EXPECT_EQ(rows, (std::vector<int>{7, 6, 5}));
    // From the reading field and from the family list as well.
    Focus(Ui().Edit2);
    PressShifted(VK_F8);
    EXPECT_EQ(SelectedRow(), 1);
    Focus(Ui().ListView2);
    PressShifted(VK_F8);
    EXPECT_EQ(SelectedRow(), 7);
    ExpectTitleFieldEntered();
    EXPECT_FALSE(State().modified);
}

TEST_F(ProposalsTest, F8FollowsTheOrderTheListShows) {
    StartProposals();
    ClickHeader(0);  // by ZIP name: digdug galaga galagaj pacman pacmanj qzx xevious xeviousj
    ASSERT_EQ(Row("digdug"), 0);
    Select("digdug");
    Focus(Ui().ListView1);
    PressKey(VK_F8);
    EXPECT_EQ(SelectedRow(), Row("pacmanj"));
    PressKey(VK_F8);
    EXPECT_EQ(SelectedRow(), Row("qzx"));
    PressShifted(VK_F8);
    EXPECT_EQ(SelectedRow(), Row("pacmanj"));
}

TEST_F(ProposalsTest, WhenEveryGameIsTranslatedF8SaysSoAndNothingMoves) {
    StartProposals(true);
    ASSERT_EQ(State().translatedCount, kGames);
    Select("galaga");
    Focus(Ui().ListView1);
    PressKey(VK_F8);
    EXPECT_EQ(Status(3), kNoneLeft);
    EXPECT_EQ(SelectedRow(), Row("galaga"));
    EXPECT_EQ(GetFocus(), Ui().ListView1);
    Focus(Ui().Edit2);
    PressShifted(VK_F8);
    EXPECT_EQ(Status(3), kNoneLeft);
    EXPECT_EQ(SelectedRow(), Row("galaga"));

    // The only untranslated game is found again from itself.
    Focus(Ui().Edit2);
    PressKey(VK_BACK);  // the whole reading is selected as the field takes the focus
    ASSERT_FALSE(Game("galaga").translated);
    Focus(Ui().ListView1);
    PressKey(VK_F8);
    EXPECT_EQ(SelectedRow(), Row("galaga"));
    ExpectTitleFieldEntered();
}

TEST_F(ProposalsTest, ShiftEnterInTheReadingFieldGoesToTheNextUntranslatedGame) {
    StartProposals();
    Select("pacmanj");
    Focus(Ui().Edit2);
    PressKey(VK_F4);
    {
        HeldModifiers shift({VK_SHIFT});
        Type(L"\r");
    }
    EXPECT_EQ(SelectedRow(), Row("xeviousj"));
    ExpectTitleFieldEntered();
    EXPECT_EQ(Cue(), L"ぜびうす");

    // Enter alone still goes to the next row, translated or not.
    Focus(Ui().Edit2);
    Type(L"\r");
    EXPECT_EQ(SelectedRow(), Row("qzx"));
}

TEST_F(ProposalsTest, ShiftEnterWithNoneLeftStaysAndGoesToTheTitleField) {
    StartProposals(true);
    Select("galaga");
    Focus(Ui().Edit2);
    {
        HeldModifiers shift({VK_SHIFT});
        Type(L"\r");
    }
    EXPECT_EQ(SelectedRow(), Row("galaga"));
    EXPECT_EQ(Status(3), kNoneLeft);
    EXPECT_EQ(GetFocus(), Ui().Edit1);
}

TEST_F(ProposalsTest, TheMenuShowsTheKeysAndItsEntriesAct) {
    StartProposals();
    std::vector<std::wstring> captions;
    for (int item = 0; item < GetMenuItemCount(Ui().PopupMenu1); ++item) {
        wchar_t caption[128] = {};
        GetMenuStringW(Ui().PopupMenu1, item, caption, 128, MF_BYPOSITION);
        captions.emplace_back(caption);
    }
    for (const wchar_t* shortcut : {L"\tF4", L"\tF8", L"\tShift+F8"}) {
        EXPECT_EQ(std::count_if(captions.begin(), captions.end(),
                                [&](const std::wstring& caption) { return caption.ends_with(shortcut); }),
                  1)
            << shortcut;
    }

    Choose(ids::kNextUntranslated);
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    Choose(ids::kTakeProposal);
    EXPECT_EQ(Game("pacmanj").japaneseName, Sjis("パックマン (日本版)"));
    EXPECT_EQ(Game("pacmanj").reading, Sjis("ぱっくまん"));
    Choose(ids::kPreviousUntranslated);
    EXPECT_EQ(SelectedRow(), 7);
}

// The cue is the edit control's own (common controls 6): it must be drawn, in grey, while the field
// is empty, and go when a text is there.
TEST_F(ProposalsTest, TheReadingCueIsDrawnInTheEmptyField) {
    StartProposals();
    const auto greyPixels = [this] {
        UpdateWindow(Ui().Edit2);
        const ClientPixels pixels(Ui().Edit2);
        const COLORREF background = pixels.At(1, 1);
        int grey = 0;
        for (int y = 0; y < pixels.Height(); ++y) {
            for (int x = 0; x < pixels.Width(); ++x) {
                const COLORREF colour = pixels.At(x, y);
                const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
                if (colour != background && std::abs(r - g) < 24 && std::abs(g - b) < 24 && r > 40) ++grey;
            }
        }
        return grey;
    };
    Select("qzx");
    const int withoutCue = greyPixels();
    Select("pacmanj");
    ASSERT_EQ(Cue(), L"ぱっくまん");
    const int withCue = greyPixels();
    EXPECT_GT(withCue, withoutCue + 20);
    // Also while the field has the focus, where the user looks for it.
    Focus(Ui().Edit2);
    EXPECT_GT(greyPixels(), withoutCue + 20);
}

}  // namespace
}  // namespace kanaroll::testing
