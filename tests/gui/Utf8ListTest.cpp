// The window on a name list kept in UTF-8: characters Shift-JIS cannot hold shown, typed and saved,
// the list written back as it came; and the lines a save keeps, with a Shift-JIS list.
#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

class Utf8ListTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "pacman", .description = "Pac-Man"},
                       {.zip = "galaga", .description = "Galaga", .year = "1981"},
                       {.zip = "xevious", .description = "Xevious", .year = "1982"}});
    }
    // The list's bytes as they are: UTF-8 here.
    void WriteList(std::string_view bytes) { folder.Write("mame32j.lst", bytes); }

    int Row(std::string_view zip) const {
        for (int index = 0; index < form->Games().Count(); ++index)
            if (form->Games()[index].zipName == zip) return index;
        return -1;
    }
    const TRecordset& Game(std::string_view zip) const { return form->Games()[Row(zip)]; }
    void Select(std::string_view zip) {
        listview::SelectAndFocus(Ui().ListView1, Row(zip));
        Pump();
    }
    void PressCtrlS() {
        Focus(Ui().ListView1);
        HeldModifiers control({VK_CONTROL});
        PressKey('S');
    }
};

// Korean, simplified Chinese, ゔ and a character typed as a surrogate pair (𠮷, U+20BB7), none of
// which Shift-JIS holds, go into the title and the reading, out to the file and back in.
TEST_F(Utf8ListTest, CharactersShiftJisCannotHoldAreTypedSavedAndReadBack) {
    WriteList(std::string(kBom) + "galaga\tギャラガ 갤러그\tぎゃらが\nunknown\t简体中文\tかんたい");
    Start();
    EXPECT_EQ(form->Codec().CodePage(), 65001u);
    EXPECT_EQ(Cell(Ui().ListView1, Row("galaga"), 2), L"ギャラガ 갤러그");
    EXPECT_EQ(Status(0), L"合計：3件   未訳：2件");  // the line of an unknown game counts nothing

    Select("pacman");
    Focus(Ui().Edit1);  // the whole title is selected: typing replaces it
    Type(L"파ゔ\xD842\xDFB7");
    Focus(Ui().Edit2);
    Type(L"ゔぁ한");
    EXPECT_EQ(Text(Ui().Edit1), L"파ゔ\xD842\xDFB7");
    EXPECT_EQ(Game("pacman").japaneseName, "파ゔ𠮷");
    EXPECT_EQ(Game("pacman").reading, "ゔぁ한");
    EXPECT_EQ(Status(0), L"合計：3件   未訳：1件");

    PressCtrlS();
    EXPECT_EQ(Status(3), L"mame32j.lstに保存しました");
    // The mark, three columns, LF and no final line end, as the list came; the unknown game's line
    // after the catalogue's.
    EXPECT_EQ(folder.Read("mame32j.lst"), std::string(kBom) +
                                              "pacman\t파ゔ𠮷\tゔぁ한\n"
                                              "galaga\tギャラガ 갤러그\tぎゃらが\n"
                                              "unknown\t简体中文\tかんたい");

    Destroy();
    Start();
    EXPECT_EQ(Game("pacman").japaneseName, "파ゔ𠮷");
    EXPECT_EQ(Game("pacman").reading, "ゔぁ한");
    EXPECT_EQ(Text(Ui().Edit1), L"파ゔ\xD842\xDFB7");  // the first game is shown at start
    EXPECT_EQ(Status(0), L"合計：3件   未訳：1件");
}

TEST_F(Utf8ListTest, AnUneditedListSavesToTheSameBytes) {
    const std::string list = std::string(kBom) +
                             "pacman\tパックマン\tぱっくまん\r\n"
                             "galaga\t갤러그 (日本版)\tぎゃらが\r\n"
                             "xevious\tゼビウス\t\r\n";
    WriteList(list);
    Start();
    PressCtrlS();
    EXPECT_EQ(folder.Read("mame32j.lst"), list);
}

// 255 bytes as stored: three for each kana in UTF-8. The entry selection of the title still ends
// before " (".
TEST_F(Utf8ListTest, FieldsCountUtf8BytesAndTheTitleSelectionFindsItsParenthesis) {
    WriteList(std::string(kBom) + "galaga\t갤러그 (Japan)\tぎゃらが\n");
    Start();
    Select("galaga");
    Focus(Ui().Edit1);
    EXPECT_EQ(edit::Selection(Ui().Edit1), std::make_pair(0, 3));

    Focus(Ui().Edit2);
    Type(std::wstring(85, L'あ'));
    Type(L"a");
    Type(L"\xD842\xDFB7");
    EXPECT_EQ(Text(Ui().Edit2), std::wstring(85, L'あ'));
    EXPECT_EQ(Game("galaga").reading.size(), 255u);
}

// The rules work on UTF-8 titles; kanaroll.ini stays Shift-JIS, and the condition editor refuses
// what it could not hold.
TEST_F(Utf8ListTest, RulesApplyToUtf8TitlesAndTheSettingsStayShiftJis) {
    WriteList(std::string(kBom) + "galaga\t갤러그 (Japan)\tぎゃらが\n");
    Start();
    Select("galaga");
    Focus(Ui().Edit1);
    PressKey(VK_F3);
    EXPECT_EQ(Game("galaga").japaneseName, "갤러그 (日本版)");

    const HWND search = conditionEditor->Ui().Edit1;
    SendMessageW(search, WM_CHAR, L'ゔ', 1);
    SendMessageW(search, WM_CHAR, L'ア', 1);
    EXPECT_EQ(Text(search), L"ア");

    Destroy();
    const std::string settings = folder.Read("kanaroll.ini");
    EXPECT_NE(settings.find(Sjis("ReplaceText:=Japan\t日本版\tP\r\n")), std::string::npos);
    EXPECT_EQ(settings.find("日本版"), std::string::npos);
}

TEST_F(Utf8ListTest, Mane32JOutputIsShiftJisWithQuestionMarks) {
    WriteList(std::string(kBom) + "galaga\tギャラガ 갤러그\tぎゃらが\n");
    Start();
    Click(Ui().RadioButton2);
    services.fileDialogAnswers.push_back((folder / "MANE32J.lst").wstring());
    Click(Ui().BitBtn1);
    EXPECT_EQ(folder.Read("MANE32J.lst"),
              Sjis("pacman\tPac-Man\tPac-Man\tNamco\t1980\t\t\traster\t1\tjoy4way\tgood\r\n"
                   "galaga\tギャラガ ???\tぎゃらが\tNamco\t1981\t\t\traster\t1\tjoy4way\tgood\r\n"
                   "xevious\tXevious\tXevious\tNamco\t1982\t\t\traster\t1\tjoy4way\tgood\r\n"));
}

// A Shift-JIS list naming a game the catalogue lacks: quick save and the close question's Yes keep
// its line.
TEST_F(Utf8ListTest, SavingAShiftJisListKeepsTheLineOfAGameTheCatalogueLacks) {
    WriteFile("mame32j.lst",
              "pacman\tパックマン\tぱっくまん\tNamco\nmissing\t未収録\tみしゅうろく\tSomeone\n");
    Start();
    EXPECT_EQ(form->Codec().CodePage(), 932u);
    EXPECT_EQ(Status(0), L"合計：3件   未訳：2件");
    PressCtrlS();
    EXPECT_EQ(FileText("mame32j.lst"),
              L"pacman\tパックマン\tぱっくまん\tNamco\r\nmissing\t未収録\tみしゅうろく\tSomeone\r\n");

    Select("xevious");
    Focus(Ui().Edit2);
    Type(L"ぜびうす");
    services.messageBoxAnswers.push_back(IDYES);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(FileText("mame32j.lst"),
              L"pacman\tパックマン\tぱっくまん\tNamco\r\n"
              L"xevious\tXevious\tぜびうす\tNamco\r\n"
              L"missing\t未収録\tみしゅうろく\tSomeone\r\n");
}

}  // namespace
}  // namespace kanaroll::testing
