#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brv {

// Rows a mask covers: one read of the occupation gives 16.
inline constexpr int kMaskRows = 16;

// The mask of the first `count` rows (0 … 16).
inline unsigned lowRows(int count) {
    return (1u << count) - 1;
}

// Reads sixteen occupation bytes at once (one column's rows from `first` on)
// and answers with a bit per row, bit k for the byte k after `first`. The
// neighbourhood scans of moves, fights and feeding use it instead of a test
// per cell, whose outcome the processor cannot guess. The caller masks off
// the rows past its window; the grid's padding keeps the read inside.
inline unsigned rowsHolding(const std::uint8_t* first, std::uint8_t tag) {
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
    const __m128i match = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(tag)));
    return static_cast<unsigned>(_mm_movemask_epi8(match));
#else
    unsigned mask = 0;
    for (int k = 0; k < 16; ++k) {
        mask |= (first[k] == tag ? 1u : 0u) << k;
    }
    return mask;
#endif
}

// The occupied rows of a band of a column, from `first` on: at most 16, and
// no more than `rowsLeft`, the rows the caller's window still has.
inline unsigned occupiedInBand(const std::uint8_t* first, int rowsLeft) {
    return ~rowsHolding(first, 0) & lowRows(rowsLeft < kMaskRows ? rowsLeft : kMaskRows);
}

// The number of set bits of a mask of up to 16 rows, from a table: the
// generic x86-64 target has no population-count instruction.
inline int rowCount(unsigned mask) {
    static constexpr std::array<std::uint8_t, 256> kCounts = [] {
        std::array<std::uint8_t, 256> counts{};
        for (unsigned m = 0; m < 256; ++m) {
            counts[m] = static_cast<std::uint8_t>(std::popcount(m));
        }
        return counts;
    }();
    return kCounts[mask & 0xFFu] + kCounts[(mask >> 8) & 0xFFu];
}

// Where the k-th set bit (from 0) of a mask of up to 16 rows lies, from a
// table per byte instead of a loop whose length the processor cannot guess.
inline int nthSetRow(unsigned mask, int k) {
    static constexpr std::array<std::array<std::uint8_t, 8>, 256> kPlaces = [] {
        std::array<std::array<std::uint8_t, 8>, 256> places{};
        for (unsigned m = 0; m < 256; ++m) {
            int found = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if ((m >> bit) & 1u) {
                    places[m][found++] = static_cast<std::uint8_t>(bit);
                }
            }
        }
        return places;
    }();
    const unsigned low = mask & 0xFFu;
    const int lowCount = rowCount(low);
    const bool high = k >= lowCount;
    const unsigned byte = high ? (mask >> 8) & 0xFFu : low;
    return (high ? 8 : 0) + kPlaces[byte][high ? k - lowCount : k];
}

// A place in a list of column masks: the column's index and the row in it.
struct MaskPlace {
    int column;
    int row;
};

// Where the k-th set bit (from 0) lies in a list of column masks taken in
// order; k is below their total. Every column is counted, so the cost does
// not hang on where the bit lies.
template <std::size_t Columns>
inline MaskPlace nthRow(const std::array<unsigned, Columns>& masks, int k) {
    int column = 0;
    int before = 0;  // the set bits of the columns before `column`
    int seen = 0;
    for (std::size_t i = 0; i < Columns; ++i) {
        seen += rowCount(masks[i]);
        const bool past = seen <= k;
        column += past ? 1 : 0;
        before = past ? seen : before;
    }
    return {column, nthSetRow(masks[column], k - before)};
}

}  // namespace brv
