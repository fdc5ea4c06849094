// The damaged files of tests/badinput, and large hostile ones, through the windows: the program
// starts on them without an error box, shows, sorts, searches and saves every game, and its
// counters stay true.
#include <chrono>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/gui/MainWindowFixture.h"
#include "tests/gui/SortHeaderSupport.h"
#include "tests/support/ResourceBounds.h"

namespace kanaroll::testing {
namespace {

using namespace std::string_literals;

std::string Committed(std::string_view relative) {
    const auto file = std::filesystem::path(__FILE__).parent_path().parent_path() / "badinput" / relative;
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BadInputGuiTest : public MainWindowTest {
protected:
    void ExpectNoErrorBox() const {
        for (const auto& box : services.messageBoxes)
            EXPECT_NE(box.caption, L"Kanaroll") << WideToUtf8(box.text);
    }
    // The counters agree with the catalogue, and the panel with the current game.
    void ExpectConsistent() const {
        const int count = form->Games().Count();
        EXPECT_EQ(State().translatedCount, form->Games().CountTranslated());
        EXPECT_EQ(Status(0), L"合計：" + std::to_wstring(count) + L"件   未訳：" +
                                 std::to_wstring(count - State().translatedCount) + L"件");
        ASSERT_GE(State().currentIndex, 0);
        ASSERT_LT(State().currentIndex, count);
        EXPECT_EQ(listview::SelectedItem(Ui().ListView1), State().currentIndex);
        // A field shows its text up to a NUL.
        std::wstring english = ToWide(form->Games()[State().currentIndex].englishName, 932);
        english.resize(std::wcslen(english.c_str()));
        EXPECT_EQ(Text(Ui().Edit3), english);
    }
    void WalkEveryRow() {
        Focus(Ui().ListView1);
        PressKey(VK_HOME);
        for (int row = 0; row < form->Games().Count(); ++row) {
            SCOPED_TRACE(row);
            ExpectConsistent();
            PressKey(VK_DOWN);
        }
    }
    void ClickColumn(int column) {
        PressHeader(form->HeaderHandle(), column);
        ReleaseHeader(form->HeaderHandle(), column);
        Pump();
    }
};

// Nameless games, NUL bytes, lead bytes at line ends, bytes that are no Shift-JIS, lone CRs and
// Ctrl-Z, in one listinfo.txt and one name list.
TEST_F(BadInputGuiTest, DamagedFilesAreShownSortedSearchedAndSaved) {
    folder.Write("listinfo.txt", Committed("listinfo/no-name-line.txt") + Committed("listinfo/lone-cr.txt") +
                                     "\r\n\r\n" + Committed("listinfo/lead-byte-at-line-end.txt") +
                                     Committed("listinfo/invalid-sjis.txt") +
                                     Committed("listinfo/nul-bytes.txt") + Committed("listinfo/ctrl-z.txt"));
    folder.Write("mame32j.lst", Committed("namelist/invalid-sjis.lst") +
                                    Committed("namelist/lead-byte-at-line-end.lst") +
                                    Committed("namelist/nul-bytes.lst") + Committed("namelist/lone-cr.lst"));
    Start();
    ExpectNoErrorBox();
    ASSERT_EQ(form->Games().Count(), 9);
    WalkEveryRow();
    for (int column = 0; column < 7; ++column) {
        ClickColumn(column);
        ExpectConsistent();
    }
    WalkEveryRow();
    Focus(Ui().ListView1);
    Type(L"p");
    PressKey(VK_F3);
    ExpectConsistent();

    // The first pacman took the list's first line, whose title is no Shift-JIS; an edit of another
    // game and a save keep those bytes as they were read.
    int bad = 0;
    while (form->Games()[bad].zipName != "bad\x80\xA0") ++bad;
    listview::SelectAndFocus(Ui().ListView1, bad);
    Pump();
    Focus(Ui().Edit2);
    Type(L"x");
    EXPECT_TRUE(form->Games()[bad].translated);
    {
        HeldModifiers control({VK_CONTROL});
        Focus(Ui().ListView1);
        PressKey('S');
    }
    ExpectNoErrorBox();
    EXPECT_FALSE(State().modified);
    const std::string saved = folder.Read("mame32j.lst");
    const std::string firstLine = "pacman\t\x80\xA0\xFD\xFE\xFF\x81 \t\x9F\tNamco\r\n";
    EXPECT_EQ(saved.substr(0, firstLine.size()), firstLine);
    EXPECT_NE(saved.find("\nbad\x80\xA0\t\xFD\xFE\xFF \x81 x \x9F\tx\t\x81\r\n"), std::string::npos)
        << ::testing::PrintToString(saved);
    ExpectConsistent();
}

// Games without a name line all have the empty ZIP name. A sort that leaves the game in the panel
// in another row, and another game of its name in its old row, must not leave the panel showing
// one game while the edits go to the other.
TEST_F(BadInputGuiTest, ASortKeepsThePanelAndTheEditsOnOneGameWhenZipNamesRepeat) {
    folder.Write("listinfo.txt",
                 "game (\r\n\tname\r\n\tdescription \"Zed\"\r\n)\r\n\r\n"
                 "game (\r\n\tname\r\n\tdescription \"Alpha\"\r\n)\r\n\r\n");
    Start();
    ASSERT_EQ(Text(Ui().Edit3), L"Zed");
    ClickColumn(1);  // by English title: Alpha comes first, into Zed's row
    EXPECT_EQ(Text(Ui().Edit3), ToWide(form->Games()[State().currentIndex].englishName, 932));
    Focus(Ui().Edit2);
    Type(L"x");
    for (int index = 0; index < 2; ++index) {
        const TRecordset& game = form->Games()[index];
        EXPECT_EQ(game.reading, game.englishName == "Zed" ? "x" : "") << game.englishName;
    }
    ExpectConsistent();
}

// A million empty lines, a title of 1 MB, 100,000 name-list lines of one ZIP name and 5,000 rules,
// one of them holding a TAB too many: the start ends in good time with one translated game, the
// game can be shown, rewritten by F3 and saved, and the rules are saved as they were read.
TEST_F(BadInputGuiTest, HugeHostileFilesStartInGoodTime) {
    std::string listInfo(1000000, '\n');
    const std::string title(1 << 20, 'T');
    listInfo += "game (\r\n\tname pacman\r\n\tdescription \"" + title + "\"\r\n)\r\n";
    folder.Write("listinfo.txt", listInfo);
    std::string lines;
    for (int i = 0; i < 100000; ++i) lines += "pacman\tTitle " + std::to_string(i) + "\tReading\t\r\n";
    folder.Write("mame32j.lst", lines);
    std::string rules = "MAMEPath:=\r\nReplaceText:=a\tb\tc\tP\r\n";
    for (int i = 0; i < 5000; ++i) rules += "ReplaceText:=word" + std::to_string(i) + "\tx\tP\r\n";
    rules += "ReplaceText:=Title\tName\t\r\n";
    folder.Write("kanaroll.ini", rules);

    const auto start = std::chrono::steady_clock::now();
    Start();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), kHangSeconds);
    ExpectNoErrorBox();
    EXPECT_EQ(Status(0), L"合計：1件   未訳：0件");
    EXPECT_EQ(Text(Ui().Edit1), L"Title 0");
    EXPECT_EQ(form->Games()[0].englishName.size(), title.size());
    ExpectConsistent();
    {
        HeldModifiers control({VK_CONTROL});
        Focus(Ui().ListView1);
        PressKey('S');
    }
    EXPECT_EQ(listview::ItemCount(replaceDialog->Ui().ListView1), 5002);

    Focus(Ui().Edit1);
    PressKey(VK_F3);
    EXPECT_EQ(Text(Ui().Edit1), L"Name 0");
    {
        HeldModifiers control({VK_CONTROL});
        Focus(Ui().ListView1);
        PressKey('S');
    }
    ExpectNoErrorBox();
    EXPECT_EQ(folder.Read("mame32j.lst").substr(0, 24), "pacman\tName 0\tReading\t\r\n");
    Destroy();
    ExpectNoErrorBox();
    rules.replace(rules.find("a\tb\tc\tP"), 7, "a\tb\t");
    EXPECT_EQ(folder.Read("kanaroll.ini"), rules);
}

}  // namespace
}  // namespace kanaroll::testing
