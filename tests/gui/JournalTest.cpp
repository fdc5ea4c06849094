// The recovery journal as the window keeps it: what goes into it and when, when it is put on the
// disk, emptied and deleted, what a start-up makes of a journal left behind, and what happens when
// the journal cannot be used. A "crash" here destroys the windows without closing them, which
// leaves the journal as a killed process would (JournalKillTest.cpp kills real processes).
#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/RecoveryJournal.h"
#include "mainwindow/ControlIds.h"
#include "tests/gui/DetailsFixture.h"
#include "tests/support/FileFaultInjection.h"

namespace kanaroll::testing {
namespace {

class JournalTest : public DetailsTest {
protected:
    std::filesystem::path JournalPath() const { return folder / kJournalFileName; }

    JournalContents OnDisk() const {
        const auto found = ReadJournal(JournalPath());
        return found ? *found : JournalContents{};
    }
    std::vector<std::pair<EditedField, std::string>> EditsOnDisk() const {
        std::vector<std::pair<EditedField, std::string>> edits;
        for (const JournalEdit& edit : OnDisk().edits) edits.emplace_back(edit.field, edit.text);
        return edits;
    }
    // The journals set aside under a dated name.
    std::vector<std::filesystem::path> AsideFiles() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("kanaroll-") && name.ends_with(".journal")) found.push_back(entry.path());
        }
        return found;
    }

    // The windows go away without closing, as in a crash, and the program starts again on the
    // same folder, its first message box answered so.
    void CrashAndStart(std::optional<int> firstAnswer = std::nullopt) {
        Destroy();
        services.messageBoxes.clear();
        services.messageBoxAnswers.clear();
        if (firstAnswer) services.messageBoxAnswers.push_back(*firstAnswer);
        Start();
    }
    void Close(std::optional<int> answer = std::nullopt) {
        if (answer) services.messageBoxAnswers.push_back(*answer);
        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        Pump();
    }
    void TypeIn(HWND field, std::wstring_view text) {
        Focus(field);
        Type(text);
    }

    // Three games edited: a title, a translated reading, and a named game's reading typed and
    // emptied, which leaves it untranslated.
    void EditThreeGames() {
        ClickRow(Ui().ListView1, Row("pacmanf"));
        TypeIn(Ui().Edit1, L"パ");  // over "Pac-Man", the main part
        TypeIn(Ui().Edit2, L"ぱ");
        ClickRow(Ui().ListView1, Row("galaga"));
        TypeIn(Ui().Edit2, L"ぎ");
        PressKey(VK_BACK);
        ClickRow(Ui().ListView1, Row("orphan2"));
        TypeIn(Ui().Edit2, L"お");
    }

    struct Names {
        std::string japaneseName;
        std::string reading;
        bool translated;
        bool operator==(const Names&) const = default;
    };
    std::vector<Names> AllNames() const {
        std::vector<Names> names;
        for (const TRecordset* game : form->Games().InFileOrder())
            names.push_back({game->japaneseName, game->reading, game->translated});
        return names;
    }

    bool MessageSaid(std::size_t box, std::wstring_view text) const {
        return box < services.messageBoxes.size() &&
               services.messageBoxes[box].text.find(text) != std::wstring::npos;
    }
};

TEST_F(JournalTest, EveryStoredEditIsInTheJournalWhenItsHandlerReturnsAndNothingElseIs) {
    StartFamilies();
    ASSERT_TRUE(std::filesystem::is_regular_file(JournalPath()));
    EXPECT_TRUE(OnDisk().Readable());
    EXPECT_TRUE(OnDisk().edits.empty());

    using enum EditedField;
    std::vector<std::pair<EditedField, std::string>> expected;
    auto expect = [&](const char* step, std::vector<std::pair<EditedField, std::string>> added) {
        SCOPED_TRACE(step);
        for (auto& edit : added) expected.push_back({edit.first, Sjis(edit.second)});
        EXPECT_EQ(EditsOnDisk(), expected);
    };
    ClickRow(Ui().ListView1, Row("orphan1"));  // "Orphan (Japan)", no Japanese title yet
    expect("selecting", {});
    TypeIn(Ui().Edit1, L"み");
    expect("typing a title", {{JapaneseName, "み (Japan)"}});
    PressKey(VK_F3);
    expect("F3", {{JapaneseName, "み (日本版)"}});
    TypeIn(Ui().Edit2, L"みな");
    expect("typing a reading", {{Reading, "み"}, {Reading, "みな"}});
    Click(Ui().Button2);
    expect("undo", {{JapaneseName, "Orphan (Japan)"}, {Reading, ""}});
    TypeIn(Ui().Edit2, L"お");
    Click(Ui().Button1);
    expect("reset", {{Reading, "お"}, {Reading, ""}});  // the title is the English one already
    Focus(Ui().Edit1);
    SendMessageW(Ui().Edit1, EM_SETSEL, 0, -1);
    PressKey(VK_BACK);
    PressKey(VK_TAB);
    expect("leaving an emptied title", {{JapaneseName, ""}, {JapaneseName, "Orphan (Japan)"}});

    // Selections, sorts and a change report that changed nothing store nothing.
    ClickHeader(2);
    ClickRow(Ui().ListView1, Row("galaga"));
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Ui().Edit2), EN_CHANGE),
                 reinterpret_cast<LPARAM>(Ui().Edit2));
    Pump();
    expect("selections and sorts", {});

    // Each record names its game by its place in the file and its ZIP name.
    for (const JournalEdit& edit : OnDisk().edits) {
        EXPECT_EQ(edit.listOrder, 4);
        EXPECT_EQ(edit.zipName, "orphan1");
    }
    EXPECT_TRUE(services.messageBoxes.empty());
}

TEST_F(JournalTest, ItGoesOnTheDiskWhenAnotherGameIsSelectedAndBeforeEveryDialog) {
    const auto mame = folder / "mame.exe";
    folder.Write("mame.exe", "MZ");
    folder.Write("kanaroll.ini", "MAMEPath:=" + FromWide(mame.wstring(), 932) + "\r\n");
    StartFamilies();
    FileFaultInjection syncs(
        FileFaultInjection::Fault{FileStep::Sync, 1, 0, kJournalFileName});  // counts only
    auto synced = [&] { return syncs.Count(FileStep::Sync); };

    TypeIn(Ui().Edit2, L"x");
    EXPECT_EQ(synced(), 0);  // a keystroke is handed to the system, not waited for
    ClickRow(Ui().ListView1, Row("galaga"));
    EXPECT_EQ(synced(), 1);
    ClickRow(Ui().ListView1, Row("pacman"));
    EXPECT_EQ(synced(), 1);  // nothing new to put there

    int syncedAtDialog = -1;
    services.onDialog = [&] { syncedAtDialog = synced(); };
    const std::pair<const char*, std::function<void()>> dialogs[] = {
        {"output button", [&] { Click(Ui().BitBtn1); }},
        {"MAME executable", [&] { Choose(ids::kMAME1); }},
        {"launch", [&] { Choose(ids::kPopExecute); }},
        {"closing question", [&] { Close(IDCANCEL); }},
    };
    wchar_t typed = L'a';  // a text of its own each time, so that each is an edit
    for (const auto& [name, open] : dialogs) {
        SCOPED_TRACE(name);
        TypeIn(Ui().Edit2, std::wstring(1, typed++));
        const int before = synced();
        open();
        EXPECT_EQ(syncedAtDialog, before + 1);
    }
    EXPECT_EQ(services.launches.size(), 1u);
    EXPECT_FALSE(app->Terminated());

    TypeIn(Ui().Edit2, std::wstring(1, typed));
    const int before = synced();
    Click(Ui().Button3);  // the replace dialog
    EXPECT_TRUE(IsWindowVisible(replaceDialog->Handle()));
    EXPECT_EQ(synced(), before + 1);
}

TEST_F(JournalTest, ASaveBesideTheProgramEmptiesItAWriteElsewhereKeepsItAndEndingDeletesIt) {
    StartFamilies();
    auto edit = [&] { TypeIn(Ui().Edit2, L"x"); };
    edit();
    Choose(ids::kN3);
    EXPECT_TRUE(std::filesystem::is_regular_file(JournalPath()));
    EXPECT_TRUE(OnDisk().edits.empty());

    edit();
    Click(Ui().RadioButton2);
    services.fileDialogAnswers.push_back((folder / "MANE32J.lst").wstring());
    Click(Ui().BitBtn1);
    EXPECT_EQ(OnDisk().edits.size(), 1u);
    Click(Ui().RadioButton1);
    services.fileDialogAnswers.push_back((folder / "copy.lst").wstring());
    Click(Ui().BitBtn1);
    EXPECT_EQ(OnDisk().edits.size(), 1u);
    services.fileDialogAnswers.push_back((folder / "mame32j.lst").wstring());
    Click(Ui().BitBtn1);
    EXPECT_TRUE(OnDisk().edits.empty());

    edit();
    Close(IDCANCEL);
    EXPECT_EQ(OnDisk().edits.size(), 1u);
    Close(IDNO);
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(std::filesystem::exists(JournalPath()));
    EXPECT_TRUE(AsideFiles().empty());
}

TEST_F(JournalTest, YesOnClosingAndAClosingWithoutEditsDeleteIt) {
    StartFamilies();
    TypeIn(Ui().Edit2, L"x");
    Close(IDYES);
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(std::filesystem::exists(JournalPath()));
    EXPECT_NE(folder.Read("mame32j.lst").find("x"), std::string::npos);

    CrashAndStart();
    EXPECT_TRUE(services.messageBoxes.empty());
    ASSERT_TRUE(std::filesystem::exists(JournalPath()));
    Close();
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_FALSE(std::filesystem::exists(JournalPath()));
}

TEST_F(JournalTest, YesGivesBackEveryEditAsTypingStoredItAndSelectsTheFirstRestoredGame) {
    StartFamilies();
    EditThreeGames();
    const auto edited = AllNames();
    const int translated = State().translatedCount;
    ASSERT_EQ(translated, 4);  // puckman and zzyzx, pacmanf and orphan2; galaga lost its flag

    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start == 0 ? "after the crash" : "after a crash right after restoring");
        CrashAndStart(IDYES);
        ASSERT_EQ(services.messageBoxes.size(), 1u);
        EXPECT_EQ(services.messageBoxes[0].caption, L"確認");
        EXPECT_EQ(services.messageBoxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONWARNING));
        EXPECT_TRUE(MessageSaid(0, L"3件のゲームに保存されていない変更があります"));
        EXPECT_TRUE(MessageSaid(0, L"復元しますか?"));

        EXPECT_EQ(AllNames(), edited);
        EXPECT_EQ(State().translatedCount, translated);
        EXPECT_EQ(Status(0), Totals(kGames - translated));
        EXPECT_EQ(Status(2), L"変更あり");
        EXPECT_TRUE(State().modified);
        EXPECT_EQ(Cell(Ui().ListView1, Row("pacmanf"), 6), L"○");
        EXPECT_EQ(Cell(Ui().ListView1, Row("galaga"), 6), L"×");
        EXPECT_EQ(Cell(Ui().ListView1, Row("orphan2"), 6), L"○");
        EXPECT_EQ(State().currentIndex, Row("pacmanf"));
        EXPECT_EQ(listview::SelectedItem(Ui().ListView1), Row("pacmanf"));
        EXPECT_EQ(Text(Ui().Edit1), L"パ (bootleg)");
        EXPECT_EQ(Cell(Ui().ListView2, FamilyRow(L"pacmanf"), 2), L"パ (bootleg)");
        // The journal of the new run already holds what was restored.
        EXPECT_FALSE(OnDisk().edits.empty());
        EXPECT_TRUE(AsideFiles().empty());  // the replay left nothing behind
    }

    // The undo values are the restored ones.
    TypeIn(Ui().Edit1, L"ピ");
    Click(Ui().Button2);
    EXPECT_EQ(Game("pacmanf").japaneseName, Sjis("パ (bootleg)"));
}

TEST_F(JournalTest, NoSetsTheJournalAsideUnderADatedNameAndStartsClean) {
    StartFamilies();
    const auto unedited = AllNames();
    EditThreeGames();
    Destroy();
    const std::string left = TempFolder::ReadFile(JournalPath());

    CrashAndStart(IDNO);
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(AllNames(), unedited);
    EXPECT_FALSE(State().modified);
    EXPECT_EQ(State().currentIndex, 0);
    const auto aside = AsideFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(MessageSaid(0, aside[0].filename().wstring()));  // the question said where it goes
    EXPECT_EQ(TempFolder::ReadFile(aside[0]), left);
    EXPECT_TRUE(OnDisk().Readable());
    EXPECT_TRUE(OnDisk().edits.empty());
}

TEST_F(JournalTest, AChangedCatalogueTakesTheEditsItCanPlaceByZipNameAndTheRestStayAside) {
    StartFamilies();
    ClickRow(Ui().ListView1, Row("pacmanf"));
    TypeIn(Ui().Edit1, L"パ");
    ClickRow(Ui().ListView1, Row("galaga"));
    TypeIn(Ui().Edit2, L"ぎ");
    ClickRow(Ui().ListView1, Row("orphan1"));
    TypeIn(Ui().Edit2, L"お");
    Destroy();

    // Another order, no orphan1, and galaga twice.
    WriteListInfo({{.zip = "galaga", .description = "Galaga"},
                   {.zip = "zzyzx", .description = "Zzyzx Puzzle (Japan)"},
                   {.zip = "pacman", .description = "Pac-Man"},
                   {.zip = "pacmanf", .description = "Pac-Man (bootleg)", .cloneOf = "pacman"},
                   {.zip = "galaga", .description = "Galaga (second)"}});
    CrashAndStart(IDYES);
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_TRUE(MessageSaid(0, L"1件のゲームに保存されていない変更があります"));
    EXPECT_TRUE(MessageSaid(0, L"listinfo.txtが前回と違うため"));
    EXPECT_TRUE(MessageSaid(0, L"次の2件のゲームの変更は"));
    EXPECT_TRUE(MessageSaid(0, L"galaga, orphan1"));

    EXPECT_EQ(Game("pacmanf").japaneseName, Sjis("パ (bootleg)"));
    EXPECT_EQ(State().currentIndex, Row("pacmanf"));
    for (const TRecordset* game : form->Games().InFileOrder()) {
        if (game->zipName == "galaga") {
            EXPECT_EQ(game->reading, "");
        }
    }
    // Everything the old journal held is kept aside; the new one holds what was restored.
    const auto aside = AsideFiles();
    ASSERT_EQ(aside.size(), 1u);
    const auto kept = ReadJournal(aside[0]);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->edits.size(), 3u);
    EXPECT_EQ(OnDisk().edits.size(), 1u);
}

TEST_F(JournalTest, AJournalThatGivesNothingBackAsksNothing) {
    StartFamilies();
    TypeIn(Ui().Edit2, L"x");
    Choose(ids::kN3);
    CrashAndStart();
    EXPECT_TRUE(services.messageBoxes.empty());

    // Typed and taken back: the edits are in the journal, and change nothing.
    Focus(Ui().Edit2);
    PressKey(VK_END);
    Type(L"y");
    PressKey(VK_BACK);
    ASSERT_EQ(EditsOnDisk().back().second, "x");
    ASSERT_EQ(OnDisk().edits.size(), 2u);
    CrashAndStart();
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_FALSE(State().modified);
    EXPECT_TRUE(OnDisk().edits.empty());
    EXPECT_TRUE(AsideFiles().empty());
}

// ---- Journals that cannot be used ------------------------------------------------------------

TEST_F(JournalTest, GarbageInItsPlaceIsSetAsideWithAMessageAndANewJournalStarts) {
    folder.Write(kJournalFileName, "not a journal at all\r\n");
    StartFamilies();
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].caption, L"警告");
    EXPECT_TRUE(MessageSaid(0, L"を読み取れませんでした（記録ファイルの形をしていません）"));
    const auto aside = AsideFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(MessageSaid(0, aside[0].filename().wstring()));
    EXPECT_EQ(TempFolder::ReadFile(aside[0]), "not a journal at all\r\n");
    EXPECT_FALSE(State().modified);

    TypeIn(Ui().Edit2, L"x");
    EXPECT_EQ(OnDisk().edits.size(), 1u);
}

TEST_F(JournalTest, AFolderInItsPlaceIsToldOnceAndLeftAlone) {
    std::filesystem::create_directory(JournalPath());
    StartFamilies();
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_TRUE(MessageSaid(0, L"kanaroll.journalを使えません（ファイルへのアクセスが拒否されました）"));

    ClickRow(Ui().ListView1, Row("pacman"));
    TypeIn(Ui().Edit2, L"ぱっく");
    ClickRow(Ui().ListView1, Row("galaga"));
    Choose(ids::kN3);  // a save tries the journal again, and is told of nothing more
    TypeIn(Ui().Edit2, L"ぎ");
    EXPECT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(Game("pacman").reading, Sjis("ぱっく"));
    EXPECT_EQ(Game("galaga").reading, Sjis("ぎ"));
    EXPECT_TRUE(State().modified);

    Close(IDNO);
    EXPECT_TRUE(app->Terminated());
    EXPECT_TRUE(std::filesystem::is_directory(JournalPath()));
    EXPECT_TRUE(AsideFiles().empty());
}

TEST_F(JournalTest, AFullDiskIsToldOnceTheEditsStayInMemoryAndASaveStartsItAgain) {
    StartFamilies();
    FileFaultInjection full(FileFaultInjection::Fault{FileStep::Write, 2, ENOSPC, kJournalFileName});
    ClickRow(Ui().ListView1, Row("pacman"));
    TypeIn(Ui().Edit2, L"ぱっくま");
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].caption, L"警告");
    EXPECT_TRUE(MessageSaid(0, L"（ディスクがいっぱいです）"));
    TypeIn(Ui().Edit2, L"ん");
    ClickRow(Ui().ListView1, Row("galaga"));
    EXPECT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(Game("pacman").reading, Sjis("ぱっくまん"));
    EXPECT_EQ(Status(2), L"変更あり");
    EXPECT_EQ(OnDisk().edits.size(), 1u);  // the keystroke before the disk was full

    // Space again, and a save: the journal starts again and takes the next edits.
    Choose(ids::kN3);
    TypeIn(Ui().Edit2, L"ぎ");
    EXPECT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(OnDisk().edits.size(), 1u);
}

TEST_F(JournalTest, AReadOnlyFolderOrAFailedFlushIsToldOnceAndEditingGoesOn) {
    {
        FileFaultInjection readOnly(FileFaultInjection::Fault{FileStep::Create, 1, EACCES, kJournalFileName});
        StartFamilies();
    }
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_TRUE(MessageSaid(0, L"（ファイルへのアクセスが拒否されました）"));
    EXPECT_FALSE(std::filesystem::exists(JournalPath()));
    TypeIn(Ui().Edit2, L"x");
    EXPECT_EQ(Game("pacman").reading, "x");
    EXPECT_EQ(services.messageBoxes.size(), 1u);

    Choose(ids::kN3);
    FileFaultInjection failedSync(FileFaultInjection::Fault{FileStep::Sync, 1, EIO, kJournalFileName});
    TypeIn(Ui().Edit2, L"y");
    ClickRow(Ui().ListView1, Row("galaga"));
    TypeIn(Ui().Edit2, L"ぎ");
    ASSERT_EQ(services.messageBoxes.size(), 2u);
    EXPECT_TRUE(MessageSaid(1, L"を使えません"));
    EXPECT_EQ(Game("galaga").reading, Sjis("ぎ"));
}

TEST_F(JournalTest, AJournalThatCouldNotBeSetAsideOrWasNeverOfferedOutlivesTheRun) {
    StartFamilies();
    EditThreeGames();
    Destroy();
    const std::string left = TempFolder::ReadFile(JournalPath());

    // The name list cannot be read: the start-up stops before the journal is looked at.
    {
        FileFaultInjection unreadable({{FileStep::OpenForReading, 1, EACCES, "mame32j.lst"},
                                       {FileStep::OpenForReading, 2, EACCES, "mame32j.lst"}});
        CrashAndStart();
    }
    Close();
    EXPECT_EQ(TempFolder::ReadFile(JournalPath()), left);

    // "No", and the journal cannot be renamed: it stays, and the next start asks again.
    {
        FileFaultInjection locked(FileFaultInjection::Fault{FileStep::Rename, 1, EACCES, kJournalFileName});
        CrashAndStart(IDNO);
    }
    ASSERT_EQ(services.messageBoxes.size(), 2u);
    EXPECT_TRUE(MessageSaid(1, L"を使えません"));
    Close();
    EXPECT_EQ(TempFolder::ReadFile(JournalPath()), left);
    CrashAndStart(IDYES);
    EXPECT_TRUE(MessageSaid(0, L"3件のゲーム"));
    EXPECT_EQ(Game("pacmanf").japaneseName, Sjis("パ (bootleg)"));
}

}  // namespace
}  // namespace kanaroll::testing
