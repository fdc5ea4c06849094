#include <filesystem>

#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

constexpr wchar_t kQuestion[] = L"変更をmame32j.lstに保存しますか?";

// Closing the main window, with and without unsaved edits.
class ClosingTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo(
            {{.zip = "pacman", .description = "Pac-Man"}, {.zip = "galaga", .description = "Galaga"}});
        Start();
    }
    // Types a reading for the first game, as a person does.
    void EditAReading() {
        Focus(Ui().Edit2);
        Type(L"ぱ");
        ASSERT_TRUE(State().modified);
    }
    void Close() {
        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        Pump();
    }
    void ExpectOneQuestion() {
        ASSERT_EQ(services.messageBoxes.size(), 1u);
        EXPECT_EQ(services.messageBoxes[0].owner, form->Handle());
        EXPECT_EQ(services.messageBoxes[0].caption, L"確認");
        EXPECT_EQ(services.messageBoxes[0].text, kQuestion);
        EXPECT_EQ(services.messageBoxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
        EXPECT_EQ(services.messageBoxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    }
    bool NameListWritten() const { return std::filesystem::exists(folder / "mame32j.lst"); }
};

TEST_F(ClosingTest, WithoutEditsTheWindowClosesWithoutAsking) {
    Close();
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(NameListWritten());
}

TEST_F(ClosingTest, YesWritesTheNameListBesideTheProgramAndCloses) {
    EditAReading();
    services.messageBoxAnswers.push_back(IDYES);
    Close();
    ExpectOneQuestion();
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(FileText("mame32j.lst"), L"pacman\tPac-Man\tぱ\tNamco\r\n");
    EXPECT_FALSE(State().modified);
}

TEST_F(ClosingTest, NoClosesWithoutWriting) {
    EditAReading();
    services.messageBoxAnswers.push_back(IDNO);
    Close();
    ExpectOneQuestion();
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(NameListWritten());
}

TEST_F(ClosingTest, CancelKeepsTheWindowAndTheEdits) {
    EditAReading();
    services.messageBoxAnswers.push_back(IDCANCEL);
    Close();
    ExpectOneQuestion();
    EXPECT_FALSE(app->Terminated());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(State().modified);
    EXPECT_EQ(Status(2), L"変更あり");
    EXPECT_FALSE(NameListWritten());
}

TEST_F(ClosingTest, ANameListThatCannotBeWrittenIsReportedAndTheWindowStays) {
    std::filesystem::create_directory(folder / "mame32j.lst");
    EditAReading();
    services.messageBoxAnswers.push_back(IDYES);
    Close();
    ASSERT_EQ(services.messageBoxes.size(), 2u);
    EXPECT_EQ(services.messageBoxes[1].caption, L"Kanaroll");
    EXPECT_EQ(services.messageBoxes[1].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(app->Terminated());
    EXPECT_TRUE(State().modified);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "mame32j.lst"));
}

}  // namespace
}  // namespace kanaroll::testing
