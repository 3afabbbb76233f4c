#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkdata/Lettering.h"

namespace brv::art {

// The game's font picture: the 94 glyphs '!' to '~' in lines, found by the
// game's glyph scan rather than by a table. What the scan needs and what it
// must not trip over decides the layout:
//  - every line opens with a marker bar that spans the whole line (one row
//    above the tallest glyph to the lowest descender), so no line ever has an
//    empty row inside and all lines share one height;
//  - glyphs stand apart by kGlyphGap empty columns and lines by kLineGap empty
//    rows; the scan needs one, linear filtering at a glyph's edge reaches two;
//  - an empty column inside one glyph (the two strokes of '"') is bridged with
//    alpha 1, which the eye cannot see but the scan reads as ink.
struct FontPicture {
    static constexpr int kGlyphGap = 4;
    static constexpr int kLineGap = 4;
    static constexpr int kMargin = 2;
    static constexpr int kMarkerWidth = 2;
    // Glyphs are drawn narrower than the face's own width: the game spaces by
    // the width of 'A' and its status lines ("+ 57/ 3" padded to five places)
    // must fit the 120 units it gives each colony at size 15.
    static constexpr float kSqueeze = 0.86f;

    int width = 0;
    int height = 0;
    int lineHeight = 0;               // rows from the marker's top to the lowest ink
    std::vector<std::uint8_t> alpha;  // top row first

    // White ink with the coverage in alpha, as a 32-bit TGA.
    std::vector<std::uint8_t> toTga() const;
};

// Renders the glyphs so that a line of ink is about `lineHeight` pixels tall.
bool drawFontPicture(Lettering& face, int lineHeight, FontPicture& out, std::string& error);

}  // namespace brv::art
