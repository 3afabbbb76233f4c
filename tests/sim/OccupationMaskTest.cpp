#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "platform/Random.h"
#include "sim/FastRemainder.h"
#include "sim/OccupationMask.h"

namespace brv {
namespace {

// The generator's every value and the widest 32-bit ones, for the divisors a
// count of cells or a rule value can be.
TEST(OccupationMask, FastRemainderMatchesTheDivision) {
    for (std::uint32_t divisor = 1; divisor <= 300; ++divisor) {
        const FastRemainder remainder(divisor);
        for (std::uint32_t value = 0; value <= 32767; ++value) {
            ASSERT_EQ(remainder.of(value), value % divisor) << value << " % " << divisor;
        }
        for (const std::uint32_t value : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
            ASSERT_EQ(remainder.of(value), value % divisor) << value << " % " << divisor;
        }
    }
}

// The k-th set row, counted column by column, for masks with empty columns,
// full columns and rows only in the upper byte.
TEST(OccupationMask, NthRowCountsColumnByColumnThenRowByRow) {
    LcgRandom rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::array<unsigned, 8> masks{};
        for (unsigned& mask : masks) {
            const int kind = rng.next() % 4;
            mask = kind == 0 ? 0u
                             : (kind == 1 ? 0xFFFFu : static_cast<unsigned>(rng.next()) & 0xFFFFu);
            mask &= kind == 3 ? 0xFF00u : 0xFFFFu;
        }
        int k = 0;
        for (int column = 0; column < 8; ++column) {
            for (int row = 0; row < 16; ++row) {
                if ((masks[column] >> row) & 1u) {
                    const MaskPlace place = nthRow(masks, k++);
                    ASSERT_EQ(place.column, column) << "k " << k - 1;
                    ASSERT_EQ(place.row, row) << "k " << k - 1;
                }
            }
        }
    }
}

}  // namespace
}  // namespace brv
