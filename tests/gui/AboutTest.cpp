#include <filesystem>
#include <string>

#include "app/Version.h"
#include "mainwindow/ControlIds.h"
#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

class AboutTest : public MainWindowTest {};

// The box names the build that runs and the terms it is shared under, and changes nothing: a title
// being edited stays unsaved and in its field.
TEST_F(AboutTest, TheAboutEntryShowsTheVersionCopyrightAndLicenceAndChangesNothing) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man", .manufacturer = "Namco"}});
    Start();
    Focus(Ui().Edit1);
    Type(L"パックマン");
    ASSERT_TRUE(State().modified);

    Choose(ids::kAbout);

    ASSERT_EQ(services.messageBoxes.size(), 1u);
    const auto& box = services.messageBoxes.front();
    EXPECT_EQ(box.owner, form->Handle());
    EXPECT_EQ(box.caption, L"バージョン情報");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    const std::string text = WideToUtf8(box.text);
    EXPECT_EQ(text.rfind("Kanaroll " KANAROLL_VERSION_TEXT "\n", 0), 0u) << text;
    EXPECT_NE(text.find(KANAROLL_COPYRIGHT), std::string::npos) << text;
    EXPECT_NE(text.find("MIT"), std::string::npos) << text;

    EXPECT_EQ(Text(Ui().Edit1), L"パックマン");
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_TRUE(State().modified);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "mame32j.lst"));
}

}  // namespace
}  // namespace kanaroll::testing
