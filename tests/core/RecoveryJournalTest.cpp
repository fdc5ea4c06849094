// The journal on the disk: what is appended can be read back at once, starting afresh empties it,
// a journal set aside keeps its bytes, and every step that fails says why, leaves the journal
// file readable and leaves nothing else behind.
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/RecoveryJournal.h"
#include "catalogue/RecoveryPlan.h"
#include "tests/support/Catalogues.h"
#include "tests/support/FileFaultInjection.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::FileFaultInjection;
using testing::TempFolder;
using testing::UntranslatedCatalogue;

std::set<std::string> Names(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.insert(entry.path().filename().string());
    return names;
}

int IoErrorNumber(const std::function<void()>& act) {
    try {
        act();
    } catch (const IoError& error) {
        return error.Number();
    }
    return 0;
}

class RecoveryJournalTest : public ::testing::Test {
protected:
    // Types a text into a game's field, as the window stores it, and journals it.
    void Type(RecoveryJournal& journal, int game, EditedField field, const std::string& text) {
        (field == EditedField::JapaneseName ? games[game].japaneseName : games[game].reading) = text;
        journal.Append(games[game], field);
    }

    std::vector<JournalEdit> EditsOnDisk() const {
        const auto found = ReadJournal(path);
        return found ? found->edits : std::vector<JournalEdit>{};
    }

    TempFolder folder;
    std::filesystem::path path = folder / kJournalFileName;
    GameList games = UntranslatedCatalogue({"pacman", "", "dup", "dup"});
    JournalIdentity identity{IdentifyCatalogue(games), {}, 932};
};

TEST_F(RecoveryJournalTest, HoldsEveryStoredEditAtOnceAndStartingAfreshEmptiesIt) {
    RecoveryJournal journal(path);
    EXPECT_FALSE(ReadJournal(path));
    journal.Start(identity);
    EXPECT_TRUE(journal.IsOpen());
    Type(journal, 1, EditedField::JapaneseName, "empty name");
    Type(journal, 3, EditedField::Reading, "second dup");
    Type(journal, 2, EditedField::Reading, "");
    // On the system's side before any flush, as a killed process would leave it.
    const std::vector<JournalEdit> typed{{1, "", EditedField::JapaneseName, "empty name"},
                                         {3, "dup", EditedField::Reading, "second dup"},
                                         {2, "dup", EditedField::Reading, ""}};
    EXPECT_EQ(EditsOnDisk(), typed);
    journal.Flush();
    EXPECT_EQ(ReadJournal(path)->identity, identity);

    // After mame32j.lst was saved: empty, and belonging to the list just written.
    JournalIdentity saved = identity;
    saved.nameList = {123, 456};
    journal.Start(saved);
    EXPECT_EQ(ReadJournal(path)->identity, saved);
    EXPECT_TRUE(EditsOnDisk().empty());
    Type(journal, 0, EditedField::Reading, "p");
    EXPECT_EQ(EditsOnDisk().size(), 1u);

    journal.Delete();
    EXPECT_FALSE(journal.IsOpen());
    EXPECT_TRUE(Names(folder).empty());
    EXPECT_NO_THROW(journal.Delete());  // nothing there is no failure
}

TEST_F(RecoveryJournalTest, StartsWithTheRestoredEditsAddressedToTheGamesAsTheyAreNow) {
    JournalContents old;
    old.identity = identity;
    old.edits = {{0, "pacman", EditedField::Reading, "p"}, {2, "dup", EditedField::Reading, "d"}};
    const GameList now = UntranslatedCatalogue({"new", "pacman"});
    const JournalIdentity nowIdentity{IdentifyCatalogue(now), {}, 932};
    const RecoveryPlan plan = PlanRecovery(old, now, nowIdentity);

    RecoveryJournal journal(path);
    journal.StartWith(nowIdentity, plan, now);
    journal.Append(now[0], EditedField::JapaneseName);
    const auto found = ReadJournal(path);
    EXPECT_EQ(found->identity, nowIdentity);
    EXPECT_EQ(found->edits, (std::vector<JournalEdit>{{1, "pacman", EditedField::Reading, "p"},
                                                      {0, "new", EditedField::JapaneseName, "English new"}}));
}

TEST_F(RecoveryJournalTest, ASetAsideJournalKeepsItsBytesUnderADatedName) {
    RecoveryJournal journal(path);
    journal.Start(identity);
    Type(journal, 0, EditedField::Reading, "p");
    journal.Close();
    const std::string bytes = folder.Read(kJournalFileName);
    std::tm when{};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 4;
    when.tm_mday = 1;
    when.tm_hour = 15;
    when.tm_min = 30;
    when.tm_sec = 12;

    EXPECT_EQ(CopyJournalAside(path, when), folder / "kanaroll-2024-05-01-153012.journal");
    EXPECT_EQ(MoveJournalAside(path, when), folder / "kanaroll-2024-05-01-153012-2.journal");
    EXPECT_EQ(Names(folder), (std::set<std::string>{"kanaroll-2024-05-01-153012.journal",
                                                    "kanaroll-2024-05-01-153012-2.journal"}));
    EXPECT_EQ(folder.Read("kanaroll-2024-05-01-153012.journal"), bytes);
    EXPECT_EQ(folder.Read("kanaroll-2024-05-01-153012-2.journal"), bytes);
}

// A folder where the journal should be is nobody's journal: it is neither read nor replaced.
TEST_F(RecoveryJournalTest, AFolderInThePlaceOfTheJournalIsLeftAsItIs) {
    std::filesystem::create_directory(path);
    const auto inside = path / "keep.txt";
    { std::ofstream(inside) << "kept"; }
    RecoveryJournal journal(path);
    EXPECT_EQ(IoErrorNumber([&] { ReadJournal(path); }), io::kAccessDenied);
    EXPECT_EQ(IoErrorNumber([&] { journal.Start(identity); }), io::kAccessDenied);
    EXPECT_FALSE(journal.IsOpen());
    EXPECT_EQ(TempFolder::ReadFile(inside), "kept");
    EXPECT_EQ(Names(folder), std::set<std::string>{kJournalFileName});
}

TEST_F(RecoveryJournalTest, AFileThatIsNoJournalIsToldApartWithoutBeingReadWhole) {
    folder.Write(kJournalFileName, std::string(3'000'000, 'x'));
    FileFaultInjection counting({FileStep::Read, 1, 0, "kanaroll"});
    EXPECT_EQ(ReadJournal(path)->problem, JournalProblem::NotAJournal);
    EXPECT_EQ(counting.Count(FileStep::Read), 1);
}

struct JournalFault {
    const char* what;
    FileStep step;
    int error;
    int number;
    std::size_t editsAfter;  // on the disk afterwards; two were there before
    bool journalCall;        // a call of the journal, which closes it on failure; else one on its file
    void (*act)(RecoveryJournal& journal, const GameList& games, const JournalIdentity& identity);
};

// A folder that refuses files, a full disk at each step, a journal another program holds.
const JournalFault kFaults[] = {
    {"StartCreate", FileStep::Create, EACCES, io::kAccessDenied, 2, true,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity& id) { j.Start(id); }},
    {"StartWrite", FileStep::Write, ENOSPC, io::kDiskFull, 2, true,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity& id) { j.Start(id); }},
    {"StartSync", FileStep::Sync, ENOSPC, io::kDiskFull, 2, true,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity& id) { j.Start(id); }},
    {"StartRename", FileStep::Rename, EACCES, io::kAccessDenied, 2, true,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity& id) { j.Start(id); }},
    {"StartReopen", FileStep::OpenForAppending, EACCES, io::kAccessDenied, 0, true,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity& id) { j.Start(id); }},
    {"Append", FileStep::Write, ENOSPC, io::kDiskFull, 2, true,
     [](RecoveryJournal& j, const GameList& g, const JournalIdentity&) {
         j.Append(g[0], EditedField::Reading);
     }},
    {"Flush", FileStep::Sync, ENOSPC, io::kDiskFull, 3, true,
     [](RecoveryJournal& j, const GameList& g, const JournalIdentity&) {
         j.Append(g[0], EditedField::Reading);
         j.Flush();
     }},
    {"Delete", FileStep::Remove, EACCES, io::kAccessDenied, 2, true,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity&) { j.Delete(); }},
    {"MoveAside", FileStep::Rename, EACCES, io::kAccessDenied, 2, false,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity&) { MoveJournalAside(j.Path(), {}); }},
    {"CopyAside", FileStep::Write, ENOSPC, io::kDiskFull, 2, false,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity&) { CopyJournalAside(j.Path(), {}); }},
    {"Read", FileStep::Read, EACCES, io::kAccessDenied, 2, false,
     [](RecoveryJournal& j, const GameList&, const JournalIdentity&) { ReadJournal(j.Path()); }},
};

class RecoveryJournalFaultTest : public RecoveryJournalTest,
                                 public ::testing::WithParamInterface<JournalFault> {};

TEST_P(RecoveryJournalFaultTest, ReportsTheFailureKeepsTheJournalReadableAndGoesOnWithoutIt) {
    const JournalFault& fault = GetParam();
    RecoveryJournal journal(path);
    journal.Start(identity);
    Type(journal, 1, EditedField::Reading, "r1");
    Type(journal, 2, EditedField::Reading, "r2");
    journal.Flush();
    if (!fault.journalCall) journal.Close();  // the window sets a journal aside before it opens one
    {
        FileFaultInjection injection({fault.step, 1, fault.error, "kanaroll"});
        EXPECT_EQ(IoErrorNumber([&] { fault.act(journal, games, identity); }), fault.number);
        EXPECT_EQ(injection.Fired(), 1) << "no such step";
    }
    EXPECT_FALSE(journal.IsOpen());
    EXPECT_EQ(EditsOnDisk().size(), fault.editsAfter);
    EXPECT_EQ(Names(folder), std::set<std::string>{kJournalFileName});

    // A journal that failed takes no more edits, quietly; starting it again works.
    journal.Close();
    Type(journal, 0, EditedField::Reading, "lost");
    EXPECT_NO_THROW(journal.Flush());
    EXPECT_EQ(EditsOnDisk().size(), fault.editsAfter);
    journal.Start(identity);
    Type(journal, 0, EditedField::Reading, "kept");
    EXPECT_EQ(EditsOnDisk().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, RecoveryJournalFaultTest, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(JournalIdentity, NamesTheCatalogueByItsZipNamesInFileOrderAndTheListByItsBytes) {
    GameList games = UntranslatedCatalogue({"ab", "c", "d"});
    const CatalogueIdentity identity = IdentifyCatalogue(games);
    EXPECT_EQ(identity.gameCount, 3u);
    std::swap(games.Items()[0], games.Items()[2]);  // sorted since
    EXPECT_EQ(IdentifyCatalogue(games), identity);
    EXPECT_NE(IdentifyCatalogue(UntranslatedCatalogue({"a", "bc", "d"})), identity);
    EXPECT_NE(IdentifyCatalogue(UntranslatedCatalogue({"ab", "d", "c"})), identity);
    EXPECT_NE(IdentifyCatalogue(UntranslatedCatalogue({"ab", "c"})), identity);

    TempFolder folder;
    const std::string list(3'000'000, 'x');  // more than one chunk of the reader
    const NameListIdentity listIdentity = IdentifyNameList(folder.Write("a.lst", list));
    EXPECT_EQ(listIdentity.size, list.size());
    EXPECT_EQ(IdentifyNameList(folder.Write("same.lst", list)), listIdentity);
    EXPECT_NE(IdentifyNameList(folder.Write("other.lst", list.substr(1) + "y")), listIdentity);
    EXPECT_EQ(IdentifyNameList(folder / "missing.lst"), IdentifyNameList(folder.Write("empty.lst", "")));
}

}  // namespace
}  // namespace kanaroll
