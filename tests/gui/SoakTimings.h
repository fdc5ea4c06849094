#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

namespace kanaroll::testing::soak {

// The time the actions of each kind and the checks after them take, summed over a run and shown
// at its end: where a slow run spends its time. Names in parentheses are parts of other entries.
class Timings {
public:
    Timings() { QueryPerformanceFrequency(&m_frequency); }
    void Add(const char* name, LONGLONG ticks) {
        auto entry = std::find_if(m_entries.begin(), m_entries.end(),
                                  [&](const Entry& each) { return std::string_view(each.name) == name; });
        if (entry == m_entries.end()) entry = m_entries.insert(m_entries.end(), Entry{name});
        ++entry->count;
        entry->ticks += ticks;
    }
    void Print() const {
        std::vector<Entry> entries = m_entries;
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.ticks > b.ticks; });
        LONGLONG total = 0;
        for (const Entry& entry : entries) total += entry.name[0] == '(' ? 0 : entry.ticks;
        std::printf("[   SOAK   ] time per kind of action and check, %.1f s in all:\n", Seconds(total));
        for (const Entry& entry : entries) {
            std::printf("[   SOAK   ]   %-22s %6d x %6.2f ms = %5.1f s\n", entry.name, entry.count,
                        1000 * Seconds(entry.ticks) / entry.count, Seconds(entry.ticks));
        }
        std::fflush(stdout);
    }

private:
    struct Entry {
        const char* name;
        int count = 0;
        LONGLONG ticks = 0;
    };
    double Seconds(LONGLONG ticks) const { return static_cast<double>(ticks) / m_frequency.QuadPart; }

    LARGE_INTEGER m_frequency{};
    std::vector<Entry> m_entries;
};

class Stopwatch {
public:
    Stopwatch(Timings& timings, const char* name) : m_timings(timings), m_name(name) {
        QueryPerformanceCounter(&m_start);
    }
    ~Stopwatch() {
        LARGE_INTEGER end;
        QueryPerformanceCounter(&end);
        m_timings.Add(m_name, end.QuadPart - m_start.QuadPart);
    }
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

private:
    Timings& m_timings;
    const char* m_name;
    LARGE_INTEGER m_start{};
};

}  // namespace kanaroll::testing::soak
