#include "mainwindow/GameOrder.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace kanaroll {

namespace {

// The sort's folding: every byte from 'a' to 'z', even the second byte of a two-byte character. In
// UTF-8 every byte of a multi-byte character is 0x80 or above, so only ASCII letters fold, and the
// byte order of UTF-8 texts is the order of their code points.
inline unsigned FoldForSort(unsigned char byte) {
    return byte >= 0x61 && byte <= 0x7A ? byte - 0x20u : byte;
}

// Kept within ±INT_MAX so that a descending sort can always negate it.
inline int ClampedDifference(std::size_t a, std::size_t b) {
    if (a >= b) return a - b > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(a - b);
    return b - a > static_cast<std::size_t>(INT_MAX) ? -INT_MAX : -static_cast<int>(b - a);
}

// What the sort compares of one game, gathered before sorting so that the comparisons read a
// compact array instead of chasing every record and its strings across the heap. Texts are stored
// folded, so that a plain unsigned byte comparison gives the sign of CompareText, and their first
// eight bytes also stand in the entry itself, which decides most comparisons without the texts.
struct SortEntry {
    std::uint64_t keyHead = 0;
    std::uint64_t readingHead = 0;
    std::string_view key;
    std::string_view reading;
    std::uint32_t index = 0;  // the game's place in the list before the sort
    std::int8_t flag = 0;     // the translated flag, for the "訳" column
    bool missing = false;     // a list slot without a record: equal to everything, as in CompareGames
};

// Up to the first eight bytes of a folded text as one big-endian number, zero-padded. Two heads that
// differ order their texts as the texts do: at the first differing byte either both texts have that
// byte, or the shorter text has run out (a zero against a non-zero byte of the longer one).
std::uint64_t HeadOf(std::string_view folded) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i)
        head = (head << 8) | (i < folded.size() ? static_cast<unsigned char>(folded[i]) : 0u);
    return head;
}

// The sign of CompareText, for texts that are folded already, with their heads.
inline int CompareFolded(std::uint64_t headA, std::string_view a, std::uint64_t headB, std::string_view b) {
    if (headA != headB) return headA < headB ? -1 : 1;
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    if (common > 8) {
        const int bytes = std::memcmp(a.data() + 8, b.data() + 8, common - 8);
        if (bytes != 0) return bytes;
    }
    return (a.size() > b.size()) - (a.size() < b.size());
}

// CompareGames on sort entries: the same sign for every pair of games.
class EntryOrder {
public:
    explicit EntryOrder(int sortKey)
        : m_column(sortKey < 0 ? (sortKey == INT_MIN ? 0 : -sortKey) : sortKey),
          m_tieBreak(sortKey != 1),
          m_descending(sortKey < 0) {}

    int Column() const { return m_column; }

    int operator()(const SortEntry& a, const SortEntry& b) const {
        if (a.missing || b.missing) return 0;
        int result = m_column == 7 ? a.flag - b.flag : CompareFolded(a.keyHead, a.key, b.keyHead, b.key);
        if (result == 0 && m_tieBreak)
            result = CompareFolded(a.readingHead, a.reading, b.readingHead, b.reading);
        return m_descending ? -result : result;
    }

private:
    int m_column;
    bool m_tieBreak;
    bool m_descending;
};

const std::string* KeyText(const TRecordset& record, int column) {
    switch (column) {
        case 1:
            return &record.zipName;
        case 2:
            return &record.englishName;
        case 3:
            return &record.reading;
        case 4:
            return &record.manufacturer;
        case 5:
            return &record.year;
        case 6:
            return &record.parentName;
        default:
            return nullptr;  // the translated flag, or no column
    }
}

constexpr std::size_t kPrefetchRecords = 16;
constexpr std::size_t kPrefetchTexts = 8;

inline void Prefetch([[maybe_unused]] const void* address) {
#if defined(__GNUC__)
    if (address) __builtin_prefetch(address);
#endif
}

// The sort entries of every game, in list order. The folded key and reading of every game go one
// after the other into `folded`, in one pass over the records; the entries see them once the buffer
// has stopped growing.
std::vector<SortEntry> PrepareEntries(const GameList::Records& items, int column, std::string& folded) {
    folded.reserve(items.size() * 32);
    const auto append = [&folded](const std::string& text) {
        const std::size_t offset = folded.size();
        folded.resize(offset + text.size());
        char* out = folded.data() + offset;
        for (std::size_t i = 0; i < text.size(); ++i)
            out[i] = static_cast<char>(FoldForSort(static_cast<unsigned char>(text[i])));
        return offset;
    };
    struct Offsets {
        std::size_t key = 0, keyLength = 0, reading = 0, readingLength = 0;
    };
    std::vector<Offsets> offsets(items.size());
    std::vector<SortEntry> entries(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        // The records lie anywhere on the heap: ask for the ones a little ahead early, and for the
        // texts of those whose records have arrived by now.
        if (i + kPrefetchRecords < items.size()) Prefetch(items[i + kPrefetchRecords].get());
        if (i + kPrefetchTexts < items.size()) {
            if (const TRecordset* ahead = items[i + kPrefetchTexts].get()) {
                Prefetch(ahead->reading.data());
                if (const auto* key = KeyText(*ahead, column)) Prefetch(key->data());
            }
        }
        entries[i].index = static_cast<std::uint32_t>(i);
        const TRecordset* record = items[i].get();
        if (!record) {
            entries[i].missing = true;
            continue;
        }
        entries[i].flag = record->translated ? 1 : 0;
        Offsets& at = offsets[i];
        at.reading = at.key = append(record->reading);
        at.readingLength = record->reading.size();
        if (const auto* key = KeyText(*record, column)) {
            if (key != &record->reading) at.key = append(*key);
            at.keyLength = key->size();
        }
    }
    const std::string_view all(folded);
    for (std::size_t i = 0; i < items.size(); ++i) {
        SortEntry& entry = entries[i];
        if (entry.missing) continue;
        entry.key = all.substr(offsets[i].key, offsets[i].keyLength);
        entry.reading = all.substr(offsets[i].reading, offsets[i].readingLength);
        entry.keyHead = HeadOf(entry.key);
        entry.readingHead = HeadOf(entry.reading);
    }
    return entries;
}

// The range left..right partitioned around the game in its middle, exactly as the game list has
// always sorted: where equal games end up depends on these very steps.
void QuickSort(std::vector<SortEntry>& entries, int left, int right, const EntryOrder& order) {
    while (left < right) {
        int i = left;
        int j = right;
        // The pivot is the game itself, not its place: it may move during the pass. Every scan stops
        // at the latest on the pivot or on an element swapped behind it, so neither index leaves the
        // range whatever the comparison answers.
        const SortEntry pivot = entries[static_cast<std::size_t>(left + (right - left) / 2)];
        do {
            while (order(entries[static_cast<std::size_t>(i)], pivot) < 0) ++i;
            while (order(entries[static_cast<std::size_t>(j)], pivot) > 0) --j;
            if (i <= j) {
                std::swap(entries[static_cast<std::size_t>(i)], entries[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        // The parts left..j and i..right are sorted independently of each other, so the result does
        // not depend on which comes first. Recursing into the smaller one and looping on the larger
        // keeps the stack depth logarithmic on any input.
        if (j - left < right - i) {
            if (left < j) QuickSort(entries, left, j, order);
            left = i;
        } else {
            if (i < right) QuickSort(entries, i, right, order);
            right = j;
        }
    }
}

}  // namespace

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) continue;
        const unsigned foldedA = FoldForSort(static_cast<unsigned char>(a[i]));
        const unsigned foldedB = FoldForSort(static_cast<unsigned char>(b[i]));
        if (foldedA != foldedB) return static_cast<int>(foldedA) - static_cast<int>(foldedB);
    }
    return ClampedDifference(a.size(), b.size());
}

int CompareGames(const TRecordset* a, const TRecordset* b, int sortKey) {
    if (!a || !b) return 0;
    const int column = sortKey < 0 ? (sortKey == INT_MIN ? 0 : -sortKey) : sortKey;
    int result = 0;
    if (column == 7) {
        result = (a->translated ? 1 : 0) - (b->translated ? 1 : 0);
    } else if (const auto* keyA = KeyText(*a, column)) {
        result = CompareText(*keyA, *KeyText(*b, column));
    }
    if (result == 0 && sortKey != 1) result = CompareText(a->reading, b->reading);
    return sortKey < 0 ? -result : result;
}

void SortGames(GameList& games, int sortKey) {
    if (games.Empty()) return;
    auto& items = games.Items();
    const EntryOrder order(sortKey);
    std::string folded;
    std::vector<SortEntry> entries = PrepareEntries(items, order.Column(), folded);

    QuickSort(entries, 0, games.Count() - 1, order);

    // Nothing above has touched the list, so a failure to allocate leaves it as it was.
    GameList::Records sorted;
    sorted.reserve(items.size());
    for (const auto& entry : entries) sorted.push_back(std::move(items[entry.index]));
    items.swap(sorted);
}

int SortState::ColumnClicked(int column) {
    const int previous = sortColumn;
    sortAscending = column == sortColumn ? !sortAscending : true;
    sortColumn = column;
    const int magnitude = sortKey < 0 ? -sortKey : sortKey;
    sortKey = magnitude == column + 1 ? -sortKey : column + 1;
    return previous;
}

int FindZipPrefix(const GameList& games, std::string_view typed, int startRow, bool wrap,
                  const TextCodec& codec) {
    const int count = games.Count();
    if (count == 0) return -1;
    // A start row before the first row starts at the first; one past the end behaves as the end
    // itself does, so only a wrapping search goes on at row 0.
    if (startRow < 0) startRow = 0;
    if (startRow > count) startRow = count;
    const std::string upperTyped = codec.ToUpper(typed);
    int row = startRow;
    // At most one probe per game: the search ends when it comes back to the start row.
    for (int probed = 0; probed < count; ++probed) {
        if (row == count) {
            if (!wrap) return -1;
            row = 0;
        }
        if (codec.UpperCaseStartsWith(games[row].zipName, upperTyped)) return row;
        ++row;
    }
    return -1;
}

}  // namespace kanaroll
