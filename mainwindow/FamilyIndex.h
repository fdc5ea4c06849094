#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "catalogue/GameList.h"

namespace kanaroll {

// A master and its clones, as the family list shows them.
struct Family {
    const TRecordset* master = nullptr;         // the first game of the family's ZIP name; none when missing
    std::span<const TRecordset* const> clones;  // in the catalogue's order at the time of the index
};

// Every family of a catalogue, found in one pass instead of a pass per family shown: moving to a
// game of another family would otherwise walk the whole catalogue (some 2 ms for 50,000 games,
// most of it waiting for memory). Holds pointers to the games and views of their ZIP names:
// rebuild after the games or their order change. Flat tables rather than a map of vectors, so that
// indexing again after a sort costs little more than reading each game once.
class FamilyIndex {
public:
    void Build(const GameList& games);
    void Clear();
    // Built for this catalogue: the same number of games as at Build, and not cleared since.
    bool IsBuiltFor(const GameList& games) const { return m_gameCount == games.Count(); }
    void BuildUnlessBuiltFor(const GameList& games) {
        if (!IsBuiltFor(games)) Build(games);
    }

    // The family whose master has the ZIP name `familyKey`: the first game of that name, and the
    // clones that name it as their master (only clones: with an empty key, a master without a ZIP
    // name, every master would match).
    Family Of(std::string_view familyKey) const;

private:
    struct Slot {
        std::string_view key;
        std::int32_t family = -1;  // -1: an empty slot
    };
    struct Entry {
        const TRecordset* master = nullptr;
        std::uint32_t firstClone = 0;
        std::uint32_t cloneCount = 0;
    };

    // The slot holding `key`, or the empty one where it would go.
    std::size_t SlotOf(std::string_view key) const;
    std::int32_t AddFamily(std::string_view key);
    void Grow();

    std::vector<Slot> m_slots;  // open addressing, a power of two long
    std::vector<Entry> m_entries;
    std::vector<const TRecordset*> m_clones;  // grouped by family, each group in catalogue order
    int m_gameCount = -1;                     // the catalogue's size at Build; -1 until built
};

}  // namespace kanaroll
