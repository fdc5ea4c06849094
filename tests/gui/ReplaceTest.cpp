#include <string>

#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

// F3 in the detail fields and on the lists, with the eight default rules in force. The first game's
// title comes from the name list, so the detail panel shows it when the game is selected at start.
class ReplaceTest : public MainWindowTest {
protected:
    void StartWithTitle(const std::string& utf8Title) {
        WriteListInfo(
            {{.zip = "first", .description = "First Game"}, {.zip = "second", .description = "Second"}});
        WriteFile("mame32j.lst", "first\t" + utf8Title + "\tだいいち\t\r\n");
        Start();
    }
    // The title as the field's change behaviour stored it in the catalogue, in UTF-8.
    std::string StoredTitle() const {
        return ShiftJisCodec().ToUtf8(form->Games()[State().currentIndex].japaneseName);
    }
    // Sets the title as typing it would, without a keystroke.
    void SetTitle(std::wstring_view title) {
        window::SetText(Ui().Edit1, title);
        Pump();
    }
};

TEST_F(ReplaceTest, F3InTheTitleFieldRewritesTheTitleStoresItAndSelectsItsMainPart) {
    StartWithTitle("Title (Japan)");
    ASSERT_EQ(Text(Ui().Edit1), L"Title (Japan)");
    Focus(Ui().Edit1);
    PressKey(VK_F3);
    EXPECT_EQ(Text(Ui().Edit1), L"Title (日本版)");
    EXPECT_EQ(StoredTitle(), "Title (日本版)");
    EXPECT_TRUE(State().modified);
    EXPECT_EQ(Status(3), L"置換されました");
    EXPECT_EQ(services.beeps, 0);
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(edit::Selection(Ui().Edit1), std::make_pair(0, 5));

    // A few more rows of the rule table, through the field.
    const struct {
        const wchar_t* before;
        const wchar_t* after;
    } rows[] = {
        {L"Title (JAPAN)", L"Title (日本版)"}, {L"Title (Japan, US)", L"Title (日本版, 米国版)"},
        {L"Title [BET]", L"Title [メダル]"},   {L"Japan Title (Japan)", L"日本版 Title (日本版)"},
        {L"Japan) Title", L"日本版) Title"},
    };
    for (const auto& row : rows) {
        SetTitle(row.before);
        PressKey(VK_F3);
        EXPECT_EQ(Text(Ui().Edit1), row.after) << row.before;
        EXPECT_EQ(Status(3), L"置換されました") << row.before;
    }
    EXPECT_EQ(services.beeps, 0);
}

TEST_F(ReplaceTest, F3WithoutAChangeBeepsReportsItAndLeavesFocusSelectionAndStateAlone) {
    StartWithTitle("Title (ザS)");
    Focus(Ui().Edit2);
    edit::SetSelection(Ui().Edit2, 1, 3);
    PressKey(VK_F3);
    EXPECT_EQ(Text(Ui().Edit1), L"Title (ザS)");
    EXPECT_EQ(StoredTitle(), "Title (ザS)");
    EXPECT_FALSE(State().modified);
    EXPECT_EQ(Status(3), L"置換対象が見つかりませんでした");
    EXPECT_EQ(services.beeps, 1);
    EXPECT_EQ(GetFocus(), Ui().Edit2);
    EXPECT_EQ(edit::Selection(Ui().Edit2), std::make_pair(1, 3));

    Focus(Ui().Edit1);
    edit::SetSelection(Ui().Edit1, 2, 4);
    PressKey(VK_F3);
    EXPECT_EQ(services.beeps, 2);
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(edit::Selection(Ui().Edit1), std::make_pair(2, 4));
}

TEST_F(ReplaceTest, F3InTheReadingOrEnglishFieldMovesToTheTitleAfterAChangeWhateverTheModifiers) {
    StartWithTitle("Puzzle Game (Japan)");
    Focus(Ui().Edit2);
    {
        HeldModifiers held({VK_SHIFT, VK_CONTROL});
        PressKey(VK_F3);
    }
    EXPECT_EQ(Text(Ui().Edit1), L"Puzzle Game (日本版)");
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(edit::Selection(Ui().Edit1), std::make_pair(0, 11));
    EXPECT_EQ(Status(3), L"置換されました");

    SetTitle(L"Puzzle Game (US)");
    Focus(Ui().Edit3);
    PressKey(VK_F3);
    EXPECT_EQ(Text(Ui().Edit1), L"Puzzle Game (米国版)");
    EXPECT_EQ(GetFocus(), Ui().Edit1);

    // Alt+F3 arrives as a system key.
    SetTitle(L"Puzzle Game (Asia)");
    Focus(Ui().Edit2);
    {
        HeldModifiers held({VK_MENU});
        PostMessageW(Ui().Edit2, WM_SYSKEYDOWN, VK_F3, 1 | (1u << 29));
        PostMessageW(Ui().Edit2, WM_SYSKEYUP, VK_F3, 1 | (1u << 29) | (3u << 30));
        Pump();
    }
    EXPECT_EQ(Text(Ui().Edit1), L"Puzzle Game (アジア版)");
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_EQ(services.beeps, 0);
}

TEST_F(ReplaceTest, F3OnTheGameListRewritesTheCurrentTitleAndKeepsTheFocusThere) {
    StartWithTitle("Title (World)");
    Focus(Ui().ListView1);
    PressKey(VK_F3);
    EXPECT_EQ(Text(Ui().Edit1), L"Title (海外版)");
    EXPECT_EQ(StoredTitle(), "Title (海外版)");
    EXPECT_EQ(Status(3), L"置換されました");
    EXPECT_EQ(GetFocus(), Ui().ListView1);
    EXPECT_EQ(Cell(Ui().ListView1, 0, 2), L"Title (海外版)");

    PressKey(VK_F3);
    EXPECT_EQ(Status(3), L"置換対象が見つかりませんでした");
    EXPECT_EQ(services.beeps, 1);
}

}  // namespace
}  // namespace kanaroll::testing
