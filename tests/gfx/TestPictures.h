#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace brv::test {

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
};

// An uncompressed TGA of 24 or 32 bits; `pixel(x, row)` gives the colour of
// column x of the row stored at that position in the file (row 0 first).
std::vector<std::uint8_t> makeTga(int width, int height, int bits,
                                  const std::function<Rgba(int, int)>& pixel);

// A baseline JPEG of 1 (grey, from r) or 3 components at quality 100 without
// chroma subsampling; `pixel(x, y)` with y = 0 the top row.
std::vector<std::uint8_t> encodeJpeg(int width, int height, int components,
                                     const std::function<Rgba(int, int)>& pixel);

// A 32-bit font picture: `lines` holds lines of glyph widths (in pixels), from
// the top; each glyph is a solid block of ink `glyphHeight` rows tall, glyphs
// one empty column apart, lines two empty rows apart. With `markers` every
// line starts with a 2-pixel marker block.
std::vector<std::uint8_t> makeFontPicture(int width, int height, int glyphHeight,
                                          const std::vector<std::vector<int>>& lines, bool markers);

}  // namespace brv::test
