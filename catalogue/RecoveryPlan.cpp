#include "catalogue/RecoveryPlan.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "catalogue/Recode.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {

namespace {

constexpr int kSeveralGames = -2;

const TextCodec* CodecOf(std::uint32_t codePage) {
    for (const TextCodec* codec : {&ShiftJisCodec(), &Utf8Codec()})
        if (codec->CodePage() == codePage) return codec;
    return nullptr;
}

// Finds the game an edit was made on.
class GameFinder {
public:
    GameFinder(const GameList& games, bool sameCatalogue) : m_games(games), m_sameCatalogue(sameCatalogue) {
        if (sameCatalogue) {
            m_byListOrder.assign(static_cast<std::size_t>(games.Count()), -1);
            for (int i = 0; i < games.Count(); ++i) {
                const auto order = static_cast<std::size_t>(games[i].listOrder);
                if (games[i].listOrder >= 0 && order < m_byListOrder.size() && m_byListOrder[order] < 0)
                    m_byListOrder[order] = i;
            }
        } else {
            m_byZipName.reserve(static_cast<std::size_t>(games.Count()));
            for (int i = 0; i < games.Count(); ++i) {
                const auto [at, fresh] = m_byZipName.try_emplace(games[i].zipName, i);
                if (!fresh) at->second = kSeveralGames;
            }
        }
    }

    // The game's index, or -1 (not found) or kSeveralGames.
    int Find(const JournalEdit& edit) const {
        if (m_sameCatalogue) {
            const auto order = static_cast<std::size_t>(edit.listOrder);
            if (edit.listOrder < 0 || order >= m_byListOrder.size()) return -1;
            const int game = m_byListOrder[order];
            return game >= 0 && m_games[game].zipName == edit.zipName ? game : -1;
        }
        const auto found = m_byZipName.find(edit.zipName);
        return found == m_byZipName.end() ? -1 : found->second;
    }

private:
    const GameList& m_games;
    bool m_sameCatalogue;
    std::vector<int> m_byListOrder;
    std::unordered_map<std::string_view, int> m_byZipName;
};

// What an edit of a game can change.
struct EditedState {
    std::string japaneseName;
    std::string reading;
    bool translated = false;
    bool operator==(const EditedState&) const = default;
};

EditedState StateOf(const TRecordset& game) {
    return {game.japaneseName, game.reading, game.translated};
}

// The number of games whose edited state the edits change, replayed on copies of those games.
int CountGamesChanged(const std::vector<ReplayEdit>& edits, const GameList& games) {
    std::unordered_map<int, TRecordset> copies;
    int ignoredCount = 0;
    for (const ReplayEdit& edit : edits) {
        const auto [copy, fresh] = copies.try_emplace(edit.game);
        if (fresh) {
            copy->second.japaneseName = games[edit.game].japaneseName;
            copy->second.reading = games[edit.game].reading;
            copy->second.translated = games[edit.game].translated;
        }
        StoreEdit(copy->second, edit.field, edit.text, ignoredCount);
    }
    int changed = 0;
    for (const auto& [game, copy] : copies) changed += StateOf(copy) != StateOf(games[game]) ? 1 : 0;
    return changed;
}

}  // namespace

RecoveryPlan PlanRecovery(const JournalContents& journal, const GameList& games,
                          const JournalIdentity& current) {
    RecoveryPlan plan;
    if (!journal.Readable()) {
        plan.damaged = true;
        return plan;
    }
    plan.catalogueChanged = journal.identity.catalogue != current.catalogue;
    plan.nameListChanged = journal.identity.nameList != current.nameList;
    plan.damaged = journal.Damaged();

    const TextCodec* from = CodecOf(journal.identity.codePage);
    const TextCodec* to = CodecOf(current.codePage);
    const bool recode = journal.identity.codePage != current.codePage;
    const GameFinder finder(games, !plan.catalogueChanged);
    std::unordered_set<int> edited;
    std::unordered_set<std::string> leftNames;
    for (const JournalEdit& edit : journal.edits) {
        const int game = finder.Find(edit);
        UnappliedReason reason =
            game == kSeveralGames ? UnappliedReason::AmbiguousZipName : UnappliedReason::GameNotFound;
        std::string text = edit.text;
        bool applies = game >= 0;
        if (applies && recode) {
            // Converted both ways unchanged, or it would not be what was typed.
            applies = from && to;
            if (applies) {
                text = Recode(edit.text, *from, *to);
                applies = Recode(text, *to, *from) == edit.text;
            }
            reason = UnappliedReason::TextNotHeld;
        }
        if (!applies) {
            plan.unapplied.push_back({edit, reason});
            if (leftNames.insert(edit.zipName).second) plan.unappliedZipNames.push_back(edit.zipName);
            continue;
        }
        if (plan.firstGame < 0) plan.firstGame = game;
        edited.insert(game);
        plan.edits.push_back({game, edit.field, std::move(text)});
    }
    plan.gamesEdited = static_cast<int>(edited.size());
    plan.gamesChanged = CountGamesChanged(plan.edits, games);
    return plan;
}

int ReplayRecovery(const RecoveryPlan& plan, GameList& games, int& translatedCount) {
    std::unordered_map<int, EditedState> before;
    for (const ReplayEdit& edit : plan.edits) {
        TRecordset& game = games[edit.game];
        before.try_emplace(edit.game, StateOf(game));
        StoreEdit(game, edit.field, edit.text, translatedCount);
    }
    int changed = 0;
    for (const auto& [game, state] : before) changed += state != StateOf(games[game]) ? 1 : 0;
    return changed;
}

}  // namespace kanaroll
