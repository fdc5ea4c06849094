// listinfo.txt made with MAME from the window, with FakeMame.exe (tests/helpers) in MAME's place, in
// a folder whose name has a blank and Japanese characters.
#include <filesystem>
#include <string>
#include <vector>

#include "mainwindow/ControlIds.h"
#include "platform/MameListXml.h"
#include "tests/gui/DetailsFixture.h"

namespace kanaroll::testing {
namespace {

// MAME's -listxml of these machines (their ZIP name, description and master).
std::string Machines(const std::vector<ListInfoGame>& machines) {
    std::string xml = "<?xml version=\"1.0\"?>\n<mame build=\"0.251\">\n";
    for (const ListInfoGame& machine : machines) {
        xml += "\t<machine name=\"" + machine.zip + "\"";
        if (!machine.cloneOf.empty())
            xml += " cloneof=\"" + machine.cloneOf + "\" romof=\"" + machine.cloneOf + "\"";
        xml += ">\n\t\t<description>" + machine.description +
               "</description>\n\t\t<year>1981</year>\n\t\t<manufacturer>Namco</manufacturer>\n"
               "\t\t<driver status=\"good\"/>\n\t</machine>\n";
    }
    return xml + "</mame>\n";
}

// Machines described by their ZIP names.
std::string Machines(std::initializer_list<const char*> names) {
    std::vector<ListInfoGame> machines;
    for (const char* name : names) machines.push_back({.zip = name, .description = name});
    return Machines(machines);
}

constexpr char kOldListInfo[] = "old listinfo.txt, kept byte for byte\r\n";

class CatalogueFromMameTest : public DetailsTest {
protected:
    void SetUp() override {
        wchar_t self[MAX_PATH * 2] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
        const auto mameFolder = folder.Path() / L"MAME 0.251 マメ";
        std::filesystem::create_directories(mameFolder);
        mame = mameFolder / L"mame 64.exe";
        std::filesystem::copy_file(std::filesystem::path(self).parent_path() / L"FakeMame.exe", mame);
        folder.Write("kanaroll.ini", "MAMEPath:=" + FromWide(mame.wstring(), 932) + "\r\n");
        xml = folder.Write("output.xml", Machines({"pacman", "galaga", "digdug"}));
    }
    void TearDown() override { SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", nullptr); }

    // What the fake MAME does, with "FILE" standing for the XML file.
    void Mame(std::wstring mode) {
        for (auto at = mode.find(L"FILE"); at != std::wstring::npos; at = mode.find(L"FILE"))
            mode.replace(at, 4, xml.wstring());
        SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", mode.c_str());
    }

    // Handles messages until `done` holds (or 30 s pass): MAME runs on a thread of its own.
    template <typename Condition>
    bool PumpUntil(Condition done) {
        const ULONGLONG until = GetTickCount64() + 30000;
        while (app && !app->Terminated() && !done()) {
            if (GetTickCount64() >= until) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            Pump();
        }
        return true;
    }
    bool Running() const { return !IsWindowEnabled(form->Handle()); }
    static HWND ProgressWindow() { return FindWindowW(L"KanarollProgress", nullptr); }
    static std::wstring ProgressText() {
        const HWND progress = ProgressWindow();
        const HWND label = progress ? FindWindowExW(progress, nullptr, L"Static", nullptr) : nullptr;
        return label ? window::Text(label) : std::wstring();
    }
    bool WaitForEnd() {
        return PumpUntil([this] { return !Running(); });
    }

    std::filesystem::path mame;
    std::filesystem::path xml;
};

TEST_F(CatalogueFromMameTest, AtStartUpTheBoxOffersToMakeTheMissingFileWithTheKnownMame) {
    WriteFile("mame32j.lst", "galaga\tギャラガ\tぎゃらが\tNamco\r\n");
    Mame(L"replay|FILE");
    services.messageBoxAnswers.push_back(IDYES);
    Start();
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].text,
              L"listinfo.txtが見つかりません。\r\n\r\n" + mame.wstring() + L"\r\nで作成しますか?");
    EXPECT_EQ(services.messageBoxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    ASSERT_TRUE(WaitForEnd());
    Pump();
    EXPECT_FALSE(app->Terminated());
    EXPECT_EQ(folder.Read("listinfo.txt"), folder.Read("output.xml"));
    EXPECT_EQ(Status(0), L"合計：3件   未訳：2件");
    EXPECT_TRUE(IsWindowEnabled(Ui().ListView1));
    EXPECT_EQ(services.messageBoxes.size(), 1u);
}

TEST_F(CatalogueFromMameTest, DecliningAtStartUpEndsTheProgramWithoutAFile) {
    services.messageBoxAnswers.push_back(IDNO);
    Start();
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(std::filesystem::exists(folder / "listinfo.txt"));
}

// The popup entry asks to save as closing does, keeps every translation by ZIP name and tells in
// panel 3 what changed: one machine is new, and one line of the list names no machine any more.
TEST_F(CatalogueFromMameTest, TheMenuEntryMakesTheCatalogueAnewKeepingTheTranslations) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"}, {.zip = "mappy", .description = "Mappy"}});
    WriteFile("mame32j.lst", "pacman\tパックマン\tぱっくまん\tNamco\r\nmappy\tマッピー\tまっぴー\tNamco\r\n");
    Start();
    Focus(Ui().Edit2);
    PressKey(VK_END);
    Type(L"x");
    ASSERT_TRUE(State().modified);

    Mame(L"slow|FILE|40|30");
    services.messageBoxAnswers.push_back(IDYES);
    Choose(ids::kRemakeCatalogue);
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].text, L"変更をmame32j.lstに保存しますか?");
    EXPECT_TRUE(Running());
    // The window stays responsive while MAME prints: the progress window counts what came.
    bool counted = false;
    ASSERT_TRUE(PumpUntil([&] {
        counted = counted || ProgressText().ends_with(L" MB 受信しました");
        return !Running();
    }));
    EXPECT_TRUE(counted);
    EXPECT_EQ(ProgressWindow(), nullptr);

    EXPECT_EQ(folder.Read("listinfo.txt"), folder.Read("output.xml"));
    EXPECT_EQ(Status(0), L"合計：3件   未訳：2件");
    EXPECT_EQ(Status(3), L"新しいマシン(未訳): 2件   カタログにない行(保持): 1件");
    EXPECT_FALSE(State().modified);
    bool found = false;
    for (const auto& game : form->Games().Items()) {
        if (game->zipName != "pacman") continue;
        found = true;
        EXPECT_EQ(game->reading, Sjis("ぱっくまんx"));  // saved first, then read again
        EXPECT_TRUE(game->translated);
    }
    EXPECT_TRUE(found);
    EXPECT_NE(folder.Read("mame32j.lst").find(Sjis("mappy\tマッピー")), std::string::npos);
    EXPECT_EQ(GetFocus(), Ui().ListView1);
}

// The proposals are learned again from the new catalogue. pacmanj is new, a clone of a translated
// master, and "(Japan)" reads "(日本版)" as galagaj shows: only the new catalogue proposes for it,
// from the list as read again, not from the title typed for pacman and let go by "No". dkong went
// away, and its clone has nothing left to go on: an engine still pointing at the old games would
// read freed records here, and show their proposal, garbage or crash.
TEST_F(CatalogueFromMameTest, TheNewCatalogueProposesFromItsOwnGamesOnly) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"},
                   {.zip = "galaga", .description = "Galaga"},
                   {.zip = "galagaj", .description = "Galaga (Japan)", .cloneOf = "galaga"},
                   {.zip = "dkong", .description = "Donkey Kong"},
                   {.zip = "dkongj", .description = "Donkey Kong (Japan)", .cloneOf = "dkong"}});
    WriteFile("mame32j.lst",
              "pacman\tパックマン\tぱっくまん\tNamco\r\n"
              "galaga\tギャラガ\tぎゃらが\tNamco\r\n"
              "galagaj\tギャラガ (日本版)\tぎゃらが\tNamco\r\n"
              "dkong\tドンキーコング\tどんきーこんぐ\tNintendo\r\n");
    Start();
    ClickRow(Ui().ListView1, Row("dkongj"));
    ASSERT_EQ(Text(Ui().TitleProposal), L"ドンキーコング (日本版)");
    ClickRow(Ui().ListView1, Row("pacman"));
    Focus(Ui().Edit1);  // the whole title is selected
    Type(L"パクマン");
    ASSERT_EQ(Game("pacman").japaneseName, Sjis("パクマン"));

    xml =
        folder.Write("output.xml",
                     Machines({{.zip = "pacman", .description = "Pac-Man"},
                               {.zip = "pacmanj", .description = "Pac-Man (Japan)", .cloneOf = "pacman"},
                               {.zip = "galaga", .description = "Galaga"},
                               {.zip = "galagaj", .description = "Galaga (Japan)", .cloneOf = "galaga"},
                               {.zip = "dkongj", .description = "Donkey Kong (Japan)", .cloneOf = "dkong"}}));
    Mame(L"replay|FILE");
    services.messageBoxAnswers.push_back(IDNO);
    Choose(ids::kRemakeCatalogue);
    ASSERT_TRUE(WaitForEnd());
    Pump();
    ASSERT_EQ(services.messageBoxes.size(), 1u);  // only the question to save
    ASSERT_EQ(Status(3), L"新しいマシン(未訳): 1件   カタログにない行(保持): 1件");
    ASSERT_EQ(Game("pacman").japaneseName, Sjis("パックマン"));

    ClickRow(Ui().ListView1, Row("pacmanj"));
    EXPECT_EQ(Text(Ui().TitleProposal), L"パックマン (日本版)");
    EXPECT_EQ(edit::CueText(Ui().Edit2), L"ぱっくまん");
    EXPECT_EQ(Text(Ui().Edit2), L"");
    Focus(Ui().ListView1);
    PressKey(VK_F4);
    EXPECT_EQ(Text(Ui().Edit1), L"パックマン (日本版)");
    EXPECT_EQ(Text(Ui().Edit2), L"ぱっくまん");
    EXPECT_EQ(Game("pacmanj").japaneseName, Sjis("パックマン (日本版)"));
    EXPECT_EQ(Game("pacmanj").reading, Sjis("ぱっくまん"));
    EXPECT_TRUE(Game("pacmanj").translated);
    EXPECT_EQ(services.beeps, 0);

    ClickRow(Ui().ListView1, Row("dkongj"));
    EXPECT_EQ(Text(Ui().TitleProposal), L"");
    EXPECT_EQ(edit::CueText(Ui().Edit2), L"");
    Focus(Ui().ListView1);
    PressKey(VK_F4);
    EXPECT_EQ(services.beeps, 1);
    EXPECT_EQ(Game("dkongj").japaneseName, "Donkey Kong (Japan)");
    EXPECT_FALSE(Game("dkongj").translated);
}

// On a busy machine the notifications of MAME's run queue up behind its end, and reading the new
// catalogue lets them through: they must not handle the end a second time, which read the file
// and put it in place inside the first reading and made that one fail.
TEST_F(CatalogueFromMameTest, NotificationsQueuedBehindTheEndAreNotTakenForAnotherEnd) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"}});
    WriteFile("mame32j.lst", "pacman\tパックマン\tぱっくまん\tNamco\r\n");
    Start();
    Mame(L"replay|FILE");
    Choose(ids::kRemakeCatalogue);
    const ULONGLONG until = GetTickCount64() + 30000;
    while (form->CatalogueRun() && !form->CatalogueRun()->Ended() && GetTickCount64() < until) Sleep(10);
    ASSERT_TRUE(form->CatalogueRun() && form->CatalogueRun()->Ended());
    for (int extra = 0; extra < 3; ++extra) PostMessageW(form->Handle(), TForm1::kListXmlMessage, 0, 0);
    ASSERT_TRUE(WaitForEnd());
    Pump();
    EXPECT_TRUE(services.messageBoxes.empty())
        << (services.messageBoxes.empty() ? "" : WideToUtf8(services.messageBoxes[0].text));
    EXPECT_EQ(folder.Read("listinfo.txt"), folder.Read("output.xml"));
    EXPECT_EQ(Status(0), L"合計：3件   未訳：2件");
    EXPECT_EQ(Status(3), L"新しいマシン(未訳): 2件   カタログにない行(保持): 0件");
}

// A MAME that fails, stops halfway, prints nothing or is cancelled leaves listinfo.txt byte for byte,
// the catalogue and the edits in the window, and says why.
TEST_F(CatalogueFromMameTest, AFailedOrCancelledRunKeepsTheOldFileAndTheCatalogue) {
    folder.Write("listinfo.txt", ListInfoText({{.zip = "pacman", .description = "Pac-Man"}}));
    const std::string old = folder.Read("listinfo.txt");
    Start();
    for (const wchar_t* mode : {L"fail|3|FILE", L"halfway|FILE", L"silent", L"cancel"}) {
        SCOPED_TRACE(WideToUtf8(mode));
        services.messageBoxes.clear();
        const bool cancel = std::wstring(mode) == L"cancel";
        Mame(cancel ? L"hang|FILE" : mode);
        Choose(ids::kRemakeCatalogue);
        ASSERT_TRUE(Running());
        if (cancel) {
            const HWND progress = ProgressWindow();
            ASSERT_NE(progress, nullptr);
            const HWND button = FindWindowExW(progress, nullptr, L"Button", nullptr);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(Text(button), L"中止");
            Click(button);
        }
        ASSERT_TRUE(WaitForEnd());
        ASSERT_EQ(services.messageBoxes.size(), 1u);
        EXPECT_EQ(services.messageBoxes[0].caption, L"listinfo.txtの作成");
        EXPECT_TRUE(services.messageBoxes[0].text.ends_with(L"listinfo.txtは元のままです。"));
        EXPECT_EQ(folder.Read("listinfo.txt"), old);
        EXPECT_EQ(Status(0), L"合計：1件   未訳：1件");
        EXPECT_FALSE(app->Terminated());
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().filename().wstring().find(L"listinfo.txt."), std::wstring::npos)
            << entry.path().filename().string();
}

}  // namespace
}  // namespace kanaroll::testing
