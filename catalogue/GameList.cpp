#include "catalogue/GameList.h"

#include <algorithm>

namespace kanaroll {

std::vector<const TRecordset*> GameList::InFileOrder() const {
    std::vector<const TRecordset*> ordered;
    ordered.reserve(m_records.size());
    for (const int index : IndexesInFileOrder())
        ordered.push_back(m_records[static_cast<std::size_t>(index)].get());
    return ordered;
}

std::vector<int> GameList::IndexesInFileOrder() const {
    constexpr int kNone = -1;
    std::vector<int> ordered(m_records.size(), kNone);
    bool valid = true;
    for (std::size_t index = 0; index < m_records.size(); ++index) {
        const auto order = static_cast<std::size_t>(m_records[index]->listOrder);
        if (m_records[index]->listOrder < 0 || order >= ordered.size() || ordered[order] != kNone) {
            valid = false;
            break;
        }
        ordered[order] = static_cast<int>(index);
    }
    if (valid) return ordered;
    // listOrder is unique from 0 to count - 1 in every catalogue the readers build; anything else
    // still gives every game once, ordered by listOrder.
    for (std::size_t index = 0; index < m_records.size(); ++index) ordered[index] = static_cast<int>(index);
    std::stable_sort(ordered.begin(), ordered.end(), [this](int a, int b) {
        return m_records[static_cast<std::size_t>(a)]->listOrder <
               m_records[static_cast<std::size_t>(b)]->listOrder;
    });
    return ordered;
}

int GameList::CountTranslated() const {
    return static_cast<int>(std::count_if(m_records.begin(), m_records.end(),
                                          [](const auto& record) { return record->translated; }));
}

}  // namespace kanaroll
