#pragma once

#include <string>
#include <vector>

#include "catalogue/GameList.h"
#include "catalogue/JournalFormat.h"
#include "catalogue/StoredEdit.h"

// What a journal left behind by a run that did not end cleanly gives back to the catalogue loaded
// now. An edit goes to a game only when it is certain to be the game it was made on:
// - in the catalogue the journal was written for, the game at the edit's place in the file order,
//   when it has the edit's ZIP name (so duplicate and empty ZIP names find their own game);
// - in another catalogue (listinfo.txt changed), the one game of the edit's ZIP name; a name that
//   no game or several games have is left behind.
// A name list that changed since does not move any game, so it changes nothing of this. Texts in
// another code page than the catalogue's are converted, and left behind when the catalogue's
// cannot hold them exactly.
namespace kanaroll {

struct ReplayEdit {
    int game = -1;  // index in the GameList as it was planned on (the load's order, before any sort)
    EditedField field = EditedField::JapaneseName;
    std::string text;  // in the catalogue's code page
};

enum class UnappliedReason {
    GameNotFound,      // no game of the catalogue is the one the edit was made on
    AmbiguousZipName,  // several games of the new catalogue have the edit's ZIP name
    TextNotHeld,       // the catalogue's code page cannot hold the text as it was typed
};

struct UnappliedEdit {
    JournalEdit edit;
    UnappliedReason reason = UnappliedReason::GameNotFound;
};

struct RecoveryPlan {
    std::vector<ReplayEdit> edits;  // in the order they were stored
    int gamesEdited = 0;            // games the edits go to
    int gamesChanged = 0;  // of those, games whose title, reading or translated flag the replay changes
    int firstGame = -1;    // the game of the first edit, or -1 when there is none
    std::vector<UnappliedEdit> unapplied;
    std::vector<std::string> unappliedZipNames;  // each once, in the order of the journal
    bool catalogueChanged = false;
    bool nameListChanged = false;
    bool damaged = false;  // the journal is damaged past its last whole edit, or unreadable

    // What the journal holds that the replay does not give back: it must be kept aside.
    bool LeavesSomethingBehind() const { return !unapplied.empty() || damaged; }
};

// `current` is the identity of the catalogue and name list loaded now. A journal that is not
// readable gives a plan without edits that leaves it behind.
RecoveryPlan PlanRecovery(const JournalContents& journal, const GameList& games,
                          const JournalIdentity& current);

// Replays the edits in order with the rules of typing (StoreEdit). Returns how many games it
// changed, which is the plan's gamesChanged when the games are as they were planned on.
int ReplayRecovery(const RecoveryPlan& plan, GameList& games, int& translatedCount);

}  // namespace kanaroll
