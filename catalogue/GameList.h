#pragma once

#include <memory>
#include <stdexcept>
#include <string>
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

    // The game at an index from 0 to Count() - 1. Any other index, such as the -1 of "no game
    // current", is a caller's fault and throws std::out_of_range, which the window reports, instead
    // of reaching into memory that holds no game.
    TRecordset& operator[](int index) { return *m_records[Checked(index)]; }
    const TRecordset& operator[](int index) const { return *m_records[Checked(index)]; }

    void Append(std::unique_ptr<TRecordset> record) { m_records.push_back(std::move(record)); }
    void Clear() { m_records.clear(); }

    // The pointers themselves, for sorting in place.
    Records& Items() { return m_records; }
    const Records& Items() const { return m_records; }

    // The games in listinfo.txt order (ascending listOrder), whatever the current order.
    std::vector<const TRecordset*> InFileOrder() const;
    // Their indexes in that order.
    std::vector<int> IndexesInFileOrder() const;

    // Number of games whose translated flag is set.
    int CountTranslated() const;

private:
    std::size_t Checked(int index) const {
        if (index < 0 || index >= Count())
            throw std::out_of_range("no game at index " + std::to_string(index));
        return static_cast<std::size_t>(index);
    }

    Records m_records;
};

}  // namespace kanaroll
