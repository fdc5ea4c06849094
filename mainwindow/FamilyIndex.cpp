#include "mainwindow/FamilyIndex.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace kanaroll {

std::size_t FamilyIndex::SlotOf(std::string_view key) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = std::hash<std::string_view>{}(key)&mask;
    while (m_slots[at].family >= 0 && m_slots[at].key != key) at = (at + 1) & mask;
    return at;
}

std::int32_t FamilyIndex::AddFamily(std::string_view key) {
    // Kept at most half full: twice as many slots once the families reach half of them (only
    // where many clones name masters that are not in the catalogue).
    if (2 * (m_entries.size() + 1) > m_slots.size()) Grow();
    Slot& slot = m_slots[SlotOf(key)];
    if (slot.family < 0) {
        slot = {key, static_cast<std::int32_t>(m_entries.size())};
        m_entries.emplace_back();
    }
    return slot.family;
}

void FamilyIndex::Grow() {
    std::vector<Slot> old(std::max<std::size_t>(2 * m_slots.size(), 16), Slot{});
    old.swap(m_slots);
    for (const Slot& slot : old) {
        if (slot.family >= 0) m_slots[SlotOf(slot.key)] = slot;
    }
}

void FamilyIndex::Build(const GameList& games) {
    const auto& records = games.Items();
    // Usually one family per game at the most (clones name masters that are in the catalogue).
    m_slots.assign(std::bit_ceil(2 * records.size() + 2), Slot{});
    m_entries.clear();
    m_entries.reserve(records.size());

    // First the masters and the size of each family's clone group, then the groups filled in the
    // catalogue's order.
    std::vector<std::int32_t> cloneFamily(records.size(), -1);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TRecordset& game = *records[i];
        Entry& own = m_entries[static_cast<std::size_t>(AddFamily(game.zipName))];
        if (!own.master) own.master = &game;
        if (!game.isMaster) {
            cloneFamily[i] = AddFamily(game.parentName);
            ++m_entries[static_cast<std::size_t>(cloneFamily[i])].cloneCount;
        }
    }
    std::uint32_t next = 0;
    for (Entry& entry : m_entries) {
        entry.firstClone = next;
        next += entry.cloneCount;
        entry.cloneCount = 0;
    }
    m_clones.assign(next, nullptr);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (cloneFamily[i] < 0) continue;
        Entry& entry = m_entries[static_cast<std::size_t>(cloneFamily[i])];
        m_clones[entry.firstClone + entry.cloneCount++] = records[i].get();
    }
    m_gameCount = games.Count();
}

void FamilyIndex::Clear() {
    m_slots.clear();
    m_entries.clear();
    m_clones.clear();
    m_gameCount = -1;
}

Family FamilyIndex::Of(std::string_view familyKey) const {
    if (m_slots.empty()) return {};
    const std::int32_t found = m_slots[SlotOf(familyKey)].family;
    if (found < 0) return {};
    const Entry& entry = m_entries[static_cast<std::size_t>(found)];
    return {entry.master,
            std::span<const TRecordset* const>(m_clones).subspan(entry.firstClone, entry.cloneCount)};
}

}  // namespace kanaroll
