#pragma once

#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/GameList.h"
#include "catalogue/JournalFormat.h"
#include "catalogue/StoredEdit.h"
#include "catalogue/TextCodec.h"

// The recovery journal: every edit the window stores is appended to "kanaroll.journal" beside the
// program as it happens, so that a run that ends without saving, killed or by a power cut, can give
// its edits back at the next start. The window drives it:
//
// At start-up, after listinfo.txt and the name list are loaded (before any sort):
//   identity = {IdentifyCatalogue(games), IdentifyNameList(the list read, or none), codec.CodePage()}
//   found = ReadJournal(path)
//   - none, or no edits and not damaged: journal.Start(identity).
//   - !found->Readable(): say so, MoveJournalAside(path, LocalTimeNow()), journal.Start(identity).
//   - else plan = PlanRecovery(*found, games, identity). With plan.gamesChanged == 0 and nothing
//     left behind there is nothing to give back: journal.Start(identity). Otherwise one question,
//     with plan.gamesChanged and the plan.unappliedZipNames left behind:
//       Yes: if plan.LeavesSomethingBehind(), CopyJournalAside(path, LocalTimeNow()); then
//            journal.StartWith(identity, plan, games); ReplayRecovery(plan, games, translatedCount);
//            `modified`, "変更あり", the totals and the list follow, and plan.firstGame is selected.
//       No:  MoveJournalAside(path, LocalTimeNow()); journal.Start(identity).
//   A failure of any of these is told once, and the run goes on without a journal. Never Start or
//   StartWith after a failed MoveJournalAside or CopyJournalAside: that would replace the only
//   copy. After "Yes" the replay happens whatever the journal's failure; the old file still holds
//   everything then.
// While running:
//   - after every stored edit (the field's text changed in the game): journal.Append(game, field);
//   - when the current game changes and before any dialog: journal.Flush();
//   - after mame32j.lst beside the program was written whole: journal.Start(identity with the
//     IdentifyNameList of the file just written), which empties it;
//   - when the user ends the program on purpose: journal.Delete().
// Every call throws IoError on failure and leaves the journal closed; Append and Flush on a closed
// journal do nothing, so the window tells the user once and goes on as if there were none. Start
// tries anew.
namespace kanaroll {

inline constexpr const char* kJournalFileName = "kanaroll.journal";

// The ZIP names of the catalogue in file order, whatever the current order: 1-4 ms for 45,000
// games.
CatalogueIdentity IdentifyCatalogue(const GameList& games);
// The name list's size and a hash of its bytes (read again: under 1 ms for a list of 3.5 MB in the
// system's cache); an empty path or a missing file is no list. Throws IoError.
NameListIdentity IdentifyNameList(const std::filesystem::path& file);

// The journal at `path`: nullopt when there is none (no file, or nothing at all there). Throws
// IoError when something stands there that cannot be read, such as a folder.
std::optional<JournalContents> ReadJournal(const std::filesystem::path& path);

// The local time, for the dated names below.
std::tm LocalTimeNow();
// The name a journal is set aside under: "kanaroll-2024-05-01-153012.journal" beside it, with "-2",
// "-3"... added when that name is taken.
std::filesystem::path JournalAsideName(const std::filesystem::path& path, const std::tm& when);
// Renames the journal to its dated name and returns that name: nothing is destroyed without a trace.
std::filesystem::path MoveJournalAside(const std::filesystem::path& path, const std::tm& when);
// Writes a copy of the journal under its dated name, whole or not at all, and returns that name.
std::filesystem::path CopyJournalAside(const std::filesystem::path& path, const std::tm& when);

class AppendingFile;
struct RecoveryPlan;

class RecoveryJournal {
public:
    explicit RecoveryJournal(std::filesystem::path path);
    ~RecoveryJournal();
    RecoveryJournal(const RecoveryJournal&) = delete;
    RecoveryJournal& operator=(const RecoveryJournal&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    bool IsOpen() const { return m_file != nullptr; }

    // A journal of the head alone takes the place of whatever journal stood at the path (whole or
    // not at all: on a failure the previous file is still there) and stays open for appending.
    void Start(const JournalIdentity& identity);
    // The same, with the plan's edits already in it, addressed to the games as they are now, so
    // that a crash during or after the replay gives them back again.
    void StartWith(const JournalIdentity& identity, const RecoveryPlan& plan, const GameList& games);

    // Appends the text the game's field holds now and hands it to the system before returning.
    void Append(const TRecordset& game, EditedField field);
    // Puts what was appended on the disk; nothing to do when nothing was appended since.
    void Flush();
    // Closes the journal and removes the file, also when the journal failed before.
    void Delete();
    // Closes the journal; the file stays.
    void Close();

private:
    template <typename Step>
    void Failing(Step step);

    std::filesystem::path m_path;
    std::unique_ptr<AppendingFile> m_file;
    std::string m_record;  // reused, so that a keystroke allocates nothing
    bool m_unsynced = false;
};

}  // namespace kanaroll
