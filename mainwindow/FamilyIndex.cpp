#include "mainwindow/FamilyIndex.h"

namespace kanaroll {

void FamilyIndex::Build(const GameList& games) {
    m_families.clear();
    m_families.reserve(static_cast<std::size_t>(games.Count()));
    for (const auto& record : games.Items()) {
        const TRecordset& game = *record;
        Family& own = m_families[game.zipName];
        if (!own.master) own.master = &game;
        if (!game.isMaster) m_families[game.parentName].clones.push_back(&game);
    }
    m_built = true;
    m_gameCount = games.Count();
}

void FamilyIndex::Clear() {
    m_families.clear();
    m_built = false;
    m_gameCount = 0;
}

const Family& FamilyIndex::Of(const std::string& familyKey) const {
    static const Family kNone;
    const auto family = m_families.find(familyKey);
    return family == m_families.end() ? kNone : family->second;
}

}  // namespace kanaroll
