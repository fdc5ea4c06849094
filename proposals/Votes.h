#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kanaroll::proposals {

// The values seen for one key, with how often each was seen. Most keys see one or two values, so a
// small vector beats a map.
class Votes {
public:
    void Add(std::string_view value, int weight = 1) {
        for (auto& [seen, count] : m_values)
            if (seen == value) {
                count += weight;
                m_total += weight;
                return;
            }
        m_values.emplace_back(std::string(value), weight);
        m_total += weight;
    }

    int Total() const { return m_total; }

    // The value seen most often (the first seen among equals), or nothing when it was seen fewer
    // than `minCount` times or makes up less than `minShare` of all votes.
    const std::string* Best(int minCount = 1, double minShare = 0.0) const {
        const std::pair<std::string, int>* best = nullptr;
        for (const auto& entry : m_values)
            if (!best || entry.second > best->second) best = &entry;
        if (!best || best->second < minCount || best->second < minShare * m_total) return nullptr;
        return &best->first;
    }

    const std::vector<std::pair<std::string, int>>& Values() const { return m_values; }

private:
    std::vector<std::pair<std::string, int>> m_values;
    int m_total = 0;
};

}  // namespace kanaroll::proposals
