#pragma once

#include <cstdint>

namespace brv {

// The remainder of a 32-bit value by a divisor fixed for a whole loop, by two
// multiplications instead of a division; exact for every value and divisor.
class FastRemainder {
public:
    explicit FastRemainder(std::uint32_t divisor)
        : divisor_(divisor), inverse_(~std::uint64_t{0} / divisor + 1) {}
    std::uint32_t of(std::uint32_t value) const {
        const std::uint64_t fraction = inverse_ * value;
        return static_cast<std::uint32_t>((static_cast<unsigned __int128>(fraction) * divisor_) >>
                                          64);
    }

private:
    std::uint64_t divisor_;
    std::uint64_t inverse_;
};

}  // namespace brv
