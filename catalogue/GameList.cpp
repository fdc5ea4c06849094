#include "catalogue/GameList.h"

#include <algorithm>

namespace kanaroll {

std::vector<const TRecordset*> GameList::InFileOrder() const {
    std::vector<const TRecordset*> ordered(m_records.size(), nullptr);
    bool valid = true;
    for (const auto& record : m_records) {
        const auto order = static_cast<std::size_t>(record->listOrder);
        if (record->listOrder < 0 || order >= ordered.size() || ordered[order]) {
            valid = false;
            break;
        }
        ordered[order] = record.get();
    }
    if (valid) return ordered;
    // listOrder is unique from 0 to count - 1 in every catalogue the readers build; anything else
    // still gives every game once, ordered by listOrder.
    ordered.clear();
    for (const auto& record : m_records) ordered.push_back(record.get());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const TRecordset* a, const TRecordset* b) { return a->listOrder < b->listOrder; });
    return ordered;
}

int GameList::CountTranslated() const {
    return static_cast<int>(std::count_if(m_records.begin(), m_records.end(),
                                          [](const auto& record) { return record->translated; }));
}

}  // namespace kanaroll
