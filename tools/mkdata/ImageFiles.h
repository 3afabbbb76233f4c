#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brv::art {

// The game reads uncompressed true-colour TGA files: no identification field,
// no colour map, origin 0, rows stored bottom-up, pixels as blue, green, red
// (, alpha). `pixels` holds RGBA or RGB bytes with the top row first.
std::vector<std::uint8_t> encodeTga(int width, int height, const std::vector<std::uint8_t>& pixels,
                                    int bitsPerPixel);

// Baseline JPEG from RGB bytes, top row first. Reproducible: the same pixels
// always give the same bytes (fixed DCT, no timestamps). False on failure.
bool encodeJpeg(int width, int height, const std::vector<std::uint8_t>& rgb, int quality,
                std::vector<std::uint8_t>& out, std::string& error);

}  // namespace brv::art
