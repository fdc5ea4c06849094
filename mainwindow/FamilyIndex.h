#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/GameList.h"

namespace kanaroll {

// A master and its clones, as the family list shows them.
struct Family {
    const TRecordset* master = nullptr;     // the first game of the family's ZIP name; none when missing
    std::vector<const TRecordset*> clones;  // in the catalogue's order at the time of the index
};

// Every family of a catalogue, found in one pass instead of a pass per family shown: moving to a
// game of another family would otherwise walk the whole catalogue (some 2 ms for 50,000 games,
// most of it waiting for memory). Holds pointers to the games: rebuild after the games or their
// order change.
class FamilyIndex {
public:
    void Build(const GameList& games);
    void Clear();
    // Built for this catalogue: the same number of games as at Build, and not cleared since.
    bool IsBuiltFor(const GameList& games) const { return m_built && m_gameCount == games.Count(); }

    // The family whose master has the ZIP name `familyKey`: the first game of that name, and the
    // clones that name it as their master (only clones: with an empty key, a master without a ZIP
    // name, every master would match).
    const Family& Of(const std::string& familyKey) const;

private:
    std::unordered_map<std::string, Family> m_families;
    bool m_built = false;
    int m_gameCount = 0;
};

}  // namespace kanaroll
