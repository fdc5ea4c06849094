#pragma once

#include <memory>
#include <vector>

#include "catalogue/TRecordset.h"

namespace kanaroll {

// The catalogue: the ordered list that owns every TRecordset. Its order is that of listinfo.txt
// until the first sort, which reorders the list itself; listOrder keeps the file order.
class GameList {
public:
    using Records = std::vector<std::unique_ptr<TRecordset>>;

    int Count() const { return static_cast<int>(m_records.size()); }
    bool Empty() const { return m_records.empty(); }

    TRecordset& operator[](int index) { return *m_records[static_cast<std::size_t>(index)]; }
    const TRecordset& operator[](int index) const { return *m_records[static_cast<std::size_t>(index)]; }

    void Append(std::unique_ptr<TRecordset> record) { m_records.push_back(std::move(record)); }
    void Clear() { m_records.clear(); }

    // The pointers themselves, for sorting in place.
    Records& Items() { return m_records; }
    const Records& Items() const { return m_records; }

    // The games in listinfo.txt order (ascending listOrder), whatever the current order.
    std::vector<const TRecordset*> InFileOrder() const;

    // Number of games whose translated flag is set.
    int CountTranslated() const;

private:
    Records m_records;
};

}  // namespace kanaroll
