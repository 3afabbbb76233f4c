#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brv::test {

// Pieces of hand-made WAVE files, little-endian as the format wants.
inline std::string le(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return out;
}

// A chunk claiming `claimed` bytes (its real size when 0), padded to even.
inline std::string chunk(const std::string& tag, const std::string& body,
                         std::uint32_t claimed = 0) {
    return tag + le(claimed != 0 ? claimed : static_cast<std::uint32_t>(body.size()), 4) + body +
           std::string(body.size() % 2, '\0');
}

inline std::string fmtChunk(int tag, int channels, int rate, int bits, int align = 0) {
    align = align != 0 ? align : channels * bits / 8;
    return chunk("fmt ", le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * align, 4) +
                             le(align, 2) + le(bits, 2));
}

inline std::string riff(const std::string& chunks) {
    return "RIFF" + le(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

inline std::string samples16(const std::vector<std::int16_t>& values) {
    std::string out;
    for (const std::int16_t v : values) {
        out += le(static_cast<std::uint16_t>(v), 2);
    }
    return out;
}

}  // namespace brv::test
