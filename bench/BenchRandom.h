#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kanaroll::bench {

// A small pseudo-random generator (SplitMix64) whose output is fixed by its seed on every compiler
// and platform. The distributions of <random> are implementation-defined, so a generated catalogue
// would differ between g++ and mingw-w64 if they were used; every draw here is plain arithmetic.
class BenchRandom {
public:
    explicit BenchRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    std::uint32_t Next32() { return static_cast<std::uint32_t>(Next() >> 32); }

    // 0 to bound - 1 (bound > 0). The modulo bias is far below anything a benchmark notices.
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }

    // lowest to highest, both included.
    int Between(int lowest, int highest) { return lowest + Below(highest - lowest + 1); }

    // True in `percent` out of 100 draws.
    bool Percent(int percent) { return Below(100) < percent; }
    // True in `perMille` out of 1000 draws.
    bool PerMille(int perMille) { return Below(1000) < perMille; }

    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }

    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
    }

    // A seed for an independent stream, derived from this one's seed and a label.
    static std::uint64_t Derive(std::uint64_t seed, std::uint64_t label) {
        BenchRandom mixer(seed ^ (label * 0xD1B54A32D192ED03ULL));
        return mixer.Next();
    }

private:
    std::uint64_t m_state;
};

}  // namespace kanaroll::bench
