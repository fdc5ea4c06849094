// The output button's list for MAME's own UI: UTF-8 with the byte-order mark, three columns, and the
// checks of the save shown in one box before the save dialog.
#include <filesystem>

#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

class MameUiListGuiTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "pacman", .description = "Pac-Man", .manufacturer = "Namco"},
                       {.zip = "asylum", .description = "Asylum", .manufacturer = "Leland"},
                       {.zip = "galaga", .description = "Galaga", .manufacturer = "Namco"}});
    }

    // The list read at start, in Shift-JIS bytes as given.
    void WriteList(std::string_view bytes) { folder.Write("mame32j.lst", bytes); }

    void ChooseMameUiAndSaveTo(std::string_view name) {
        Click(Ui().RadioButton3);
        services.fileDialogAnswers.push_back((folder / name).wstring());
        Click(Ui().BitBtn1);
    }

    int SelectedRow() const { return listview::FocusedItem(Ui().ListView1); }
    int Row(std::wstring_view zip) const {
        for (int row = 0; row < listview::ItemCount(Ui().ListView1); ++row)
            if (Cell(Ui().ListView1, row, 0) == zip) return row;
        return -1;
    }
    void Select(std::wstring_view zip) {
        listview::SelectAndFocus(Ui().ListView1, Row(zip));
        Pump();
    }
};

// "～", "－", "∥" and "￡" are code page 932's own characters for these codes; a line of a game the
// catalogue lacks comes after the catalogue's, cut to three columns.
TEST_F(MameUiListGuiTest, TheListIsUtf8WithTheMarkInThreeColumnsAndTheEditsStayUnsaved) {
    WriteList(
        "pacman\t\x83\x70\x83\x62\x83\x4E\x83\x7D\x83\x93\x81\x60\x81\x7C\x81\x61\x81\x92\t"
        "\x82\xCF\x82\xC1\x82\xAD\x82\xDC\x82\xF1\tNamco\r\n"
        "missing\t\x96\xA2\x8E\xFB\x98\x5E\t\x82\xDD\x82\xB5\x82\xE3\x82\xA4\x82\xEB\x82\xAD\tSomeone\r\n");
    Start();
    Select(L"pacman");
    Focus(Ui().Edit2);
    PressKey(VK_END);
    Type(L"x");
    ASSERT_TRUE(State().modified);

    ChooseMameUiAndSaveTo("Japanese.lst");
    EXPECT_TRUE(services.messageBoxes.empty());  // nothing to warn about
    ASSERT_EQ(services.fileDialogs.size(), 1u);
    const FileDialogRequest& dialog = services.fileDialogs[0];
    EXPECT_EQ(dialog.title, L"MAME UI用のリストを保存");
    EXPECT_EQ(dialog.defaultName, L"Japanese.lst");
    ASSERT_EQ(dialog.filters.size(), 1u);
    EXPECT_EQ(dialog.filters[0].pattern, L"*.lst");
    EXPECT_TRUE(dialog.forSaving);
    EXPECT_EQ(folder.Read("Japanese.lst"), std::string(kBom) +
                                               "pacman\tパックマン～－∥￡\tぱっくまんx\r\n"
                                               "missing\t未収録\tみしゅうろく\r\n");
    // The work is kept in mame32j.lst, which still lacks the edit.
    EXPECT_TRUE(State().modified);
    EXPECT_EQ(Status(2), L"変更あり");
    EXPECT_FALSE(std::filesystem::exists(folder / "mame32j.lst.kanaroll-new"));
}

// Asylum's reading is mistyped and Galaga's empty: one box lists both; No goes back to the first of
// them in the list's lines, which follow listinfo.txt, and writes nothing; Yes goes on to the save.
TEST_F(MameUiListGuiTest, TheChecksShowOneBoxAndNoGoesBackToTheFirstGameConcerned) {
    WriteList(
        "galaga\t\x83\x4D\x83\x83\x83\x89\x83\x4B\t\tNamco\r\n"
        "asylum\t\x83\x41\x83\x54\x83\x43\x83\x89\x83\x80\t\x82\xA0\x82\xE7\x82\xA2\x82\xB3\x82\xDE\t"
        "Leland\r\n"
        "pacman\t\x83\x70\x83\x62\x83\x4E\x83\x7D\x83\x93\t\x82\xCF\x82\xC1\x82\xAD\x82\xDC\x82\xF1\tNamco\r"
        "\n");
    Start();
    Select(L"galaga");

    services.messageBoxAnswers.push_back(IDNO);
    ChooseMameUiAndSaveTo("Japanese.lst");
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    const auto& box = services.messageBoxes[0];
    EXPECT_EQ(box.caption, L"保存前の確認");
    EXPECT_EQ(box.type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(box.text,
              L"MAMEが読むときに切り詰めるか警告する行が2件あります。\r\n\r\n"
              L"2行目 (asylum): 読みがカタカナのタイトルのひらがなと合いません\r\n"
              L"3行目 (galaga): 読みにかなが1文字もありません\r\n\r\n"
              L"このまま保存しますか?\r\n「いいえ」で保存せず、最初の該当ゲームに戻ります。");
    EXPECT_TRUE(services.fileDialogs.empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "Japanese.lst"));
    EXPECT_EQ(SelectedRow(), Row(L"asylum"));
    EXPECT_EQ(listview::SelectedItem(Ui().ListView1), Row(L"asylum"));
    EXPECT_EQ(Text(Ui().Edit3), L"Asylum");  // the detail panel shows it
    EXPECT_EQ(GetFocus(), Ui().ListView1);

    services.messageBoxAnswers.push_back(IDYES);
    Click(Ui().BitBtn1);
    EXPECT_EQ(services.messageBoxes.size(), 2u);  // once for this save too
    ASSERT_EQ(services.fileDialogs.size(), 1u);
    EXPECT_EQ(folder.Read("Japanese.lst"), std::string(kBom) +
                                               "pacman\tパックマン\tぱっくまん\r\n"
                                               "asylum\tアサイラム\tあらいさむ\r\n"
                                               "galaga\tギャラガ\t\r\n");
}

// A finding no game of the catalogue is concerned by (a kept line too long for MAME's buffer) lets
// No only stop the save.
TEST_F(MameUiListGuiTest, NoStopsTheSaveWhenOnlyAKeptLineIsConcerned) {
    WriteList(
        "pacman\t\x83\x70\x83\x62\x83\x4E\x83\x7D\x83\x93\t\x82\xCF\x82\xC1\x82\xAD\x82\xDC\x82\xF1\tNamco\r"
        "\n"
        "missing\t" +
        std::string(1100, 'a') + "\t\x82\xA0\tSomeone\r\n");
    Start();
    const int before = SelectedRow();
    services.messageBoxAnswers.push_back(IDNO);
    ChooseMameUiAndSaveTo("Japanese.lst");
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    const std::wstring& text = services.messageBoxes[0].text;
    EXPECT_NE(text.find(L"2行目 (missing): 行が"), std::wstring::npos) << WideToUtf8(text);
    EXPECT_TRUE(text.ends_with(L"「いいえ」で保存をやめます。")) << WideToUtf8(text);
    EXPECT_TRUE(services.fileDialogs.empty());
    EXPECT_EQ(SelectedRow(), before);
}

}  // namespace
}  // namespace kanaroll::testing
