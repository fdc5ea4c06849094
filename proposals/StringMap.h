#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kanaroll::proposals {

// A hash map keyed by text that is looked up with views, so that learning from 40,000 titles does
// not build a string for every look-up of a word or a code it has seen before.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

template <typename Value>
using StringMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

// The value of `key`, default-made when the map does not hold it yet. For keys the map mostly holds
// already; where most keys are new, map[std::string(key)] hashes once instead of twice.
template <typename Value>
Value& Entry(StringMap<Value>& map, std::string_view key) {
    auto found = map.find(key);
    if (found == map.end()) found = map.emplace(std::string(key), Value{}).first;
    return found->second;
}

// The value of `key`, or null.
template <typename Value>
const Value* Find(const StringMap<Value>& map, std::string_view key) {
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}

}  // namespace kanaroll::proposals
