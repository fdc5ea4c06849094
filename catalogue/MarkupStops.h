#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kanaroll {

// Walks the bytes of XML that can change what the bytes after them mean: "<" and ">", both quotes,
// "&" and NUL. Everything else is text, a name or the inside of a value, and is passed over
// sixty-four bytes at a time: a block's stops are found together (sixteen bytes per instruction
// where the processor allows) and then handed out one by one, so that the cost is in the stops,
// not in the bytes between them.
class MarkupStops {
public:
    // Over [0, end) of `data`, starting at `from`.
    MarkupStops(const char* data, std::size_t end, std::size_t from)
        : m_data(data), m_end(end), m_block(from & ~(kBlock - 1)) {
        Load();
        m_mask &= ~std::uint64_t{0} << (from - m_block);
    }

    // The next stop, in file order; `end` once there is none.
    std::size_t Next() {
        while (m_mask == 0) {
            m_block += kBlock;
            if (m_block >= m_end) return m_end;
            Load();
        }
        const std::size_t at = m_block + static_cast<std::size_t>(std::countr_zero(m_mask));
        m_mask &= m_mask - 1;
        return at;
    }

    // Goes on from `at`, which lies beyond the last stop handed out: the next stop is the first at or
    // after it.
    void SkipTo(std::size_t at) {
        if (at >= m_block + kBlock) {
            m_block = at & ~(kBlock - 1);
            Load();
        }
        m_mask &= ~std::uint64_t{0} << (at - m_block);
    }

private:
    static constexpr std::size_t kBlock = 64;

    void Load() {
        m_mask = 0;
        if (m_block >= m_end) return;
        const char* bytes = m_data + m_block;
#if defined(__SSE2__)
        if (m_end - m_block >= kBlock) {
            // "<" and ">" differ in one bit, and so do "&" and "'": one comparison finds each pair.
            const __m128i angle = _mm_set1_epi8('>');
            const __m128i twoBit = _mm_set1_epi8(2);
            const __m128i apostrophe = _mm_set1_epi8('\'');
            const __m128i oneBit = _mm_set1_epi8(1);
            const __m128i quote = _mm_set1_epi8('"');
            const __m128i nul = _mm_setzero_si128();
            for (int lane = 0; lane < 4; ++lane) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * lane));
                const __m128i hits =
                    _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(_mm_or_si128(v, twoBit), angle),
                                              _mm_cmpeq_epi8(_mm_or_si128(v, oneBit), apostrophe)),
                                 _mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, nul)));
                m_mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hits)))
                          << (16 * lane);
            }
            return;
        }
#endif
        const std::size_t count = m_end - m_block < kBlock ? m_end - m_block : kBlock;
        for (std::size_t i = 0; i < count; ++i) {
            const char c = bytes[i];
            if (c == '<' || c == '>' || c == '"' || c == '\'' || c == '&' || c == '\0')
                m_mask |= std::uint64_t{1} << i;
        }
    }

    const char* m_data;
    std::size_t m_end;
    std::size_t m_block;       // the offset of the block looked at, a multiple of 64
    std::uint64_t m_mask = 0;  // its stops not handed out yet
};

}  // namespace kanaroll
