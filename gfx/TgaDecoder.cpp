#include "gfx/TgaDecoder.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace brv {

namespace {

constexpr std::size_t kHeaderSize = 18;
// Identification length 0, no colour map, type 2 (uncompressed true colour),
// an empty colour map description, x and y origin 0.
constexpr std::uint8_t kFixedHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

int readLe16(const std::uint8_t* bytes) {
    return bytes[0] | (bytes[1] << 8);
}

}  // namespace

bool decodeTga(const void* data, std::size_t size, Image& out, std::string* problem) {
    auto refuse = [problem](std::string why) {
        if (problem != nullptr) {
            *problem = std::move(why);
        }
        return false;
    };
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (bytes == nullptr || size == 0) {
        return refuse("missing or empty");
    }
    if (size < kHeaderSize) {
        return refuse("too short for a TGA picture (" + std::to_string(size) + " bytes)");
    }
    if (std::memcmp(bytes, kFixedHeader, sizeof kFixedHeader) != 0) {
        return refuse("not an uncompressed true-colour TGA picture");
    }
    const int width = readLe16(bytes + 12);
    const int height = readLe16(bytes + 14);
    const int depth = bytes[16];
    if (width == 0 || height == 0 || (depth != 24 && depth != 32)) {
        return refuse("a TGA picture of " + std::to_string(width) + " x " + std::to_string(height) +
                      " at " + std::to_string(depth) + " bits (24 or 32 wanted)");
    }
    const int components = depth / 8;
    const std::size_t pixelBytes = static_cast<std::size_t>(width) * height * components;
    // The header alone must never decide how much we read.
    if (size - kHeaderSize < pixelBytes) {
        return refuse("cut short: " + std::to_string(size - kHeaderSize) + " of " +
                      std::to_string(pixelBytes) + " pixel bytes are there");
    }
    Image image;
    image.width = width;
    image.height = height;
    image.components = components;
    image.pixels.assign(bytes + kHeaderSize, bytes + kHeaderSize + pixelBytes);
    for (std::size_t i = 0; i < pixelBytes; i += components) {
        std::swap(image.pixels[i], image.pixels[i + 2]);  // stored blue, green, red
    }
    out = std::move(image);
    return true;
}

}  // namespace brv
