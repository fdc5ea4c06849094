#pragma once

#include <cstdint>
#include <string>

namespace kanaroll {

// The type-ahead of a list, as the platform's list view does it: characters typed within a second
// of each other are collected. While they are one letter over and over, each press looks for the
// next row that starts with that letter; otherwise the whole text is looked for as a prefix, from
// the focused row on, so that a longer text may still match the row found so far.
class TypeAheadBuffer {
public:
    static constexpr std::uint32_t kDelayMs = 1000;

    struct Search {
        std::wstring text;  // the prefix to look for
        int startRow;       // where to start; the search wraps to row 0
    };

    // A typed character at `time` (milliseconds of the message clock, which wraps) in a list of
    // `rowCount` rows whose focused row is `focusedRow` (-1 for none).
    Search Add(wchar_t typed, std::uint32_t time, int focusedRow, int rowCount) {
        if (m_text.empty() || time - m_lastTime >= kDelayMs) m_text.clear();
        m_lastTime = time;
        m_text += typed;

        const bool repeated = m_text.find_first_not_of(m_text.front()) == std::wstring::npos;
        Search search{repeated ? m_text.substr(0, 1) : m_text, 0};
        if (focusedRow >= 0) {
            // A new search (or the same letter again) starts behind the focused row.
            search.startRow = repeated ? focusedRow + 1 : focusedRow;
            if (search.startRow >= rowCount) search.startRow = 0;
        }
        return search;
    }

private:
    std::wstring m_text;
    std::uint32_t m_lastTime = 0;
};

}  // namespace kanaroll
