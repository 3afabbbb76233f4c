#pragma once

#include <cstdint>
#include <string>

namespace brv {

// A 64-bit hash as 16 lower-case hex digits, leading zeros kept: the form
// of a world's checksum and of a rules hash in a replay.
inline std::string hexText(std::uint64_t value) {
    std::string text(16, '0');
    for (std::size_t k = text.size(); k-- > 0; value >>= 4) {
        text[k] = "0123456789abcdef"[value & 0xFu];
    }
    return text;
}

}  // namespace brv
