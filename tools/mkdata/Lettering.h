#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkdata/Canvas.h"

namespace brv::art {

// One typeface, rendered with FreeType into coverage masks. Sizes are pixels
// per em and may differ per axis, so lettering can be painted pre-squeezed
// into pictures that the game stretches to the logical screen.
class Lettering {
public:
    Lettering();
    ~Lettering();
    Lettering(const Lettering&) = delete;
    Lettering& operator=(const Lettering&) = delete;

    // False (with a readable reason) when the font file cannot be used.
    bool open(const std::string& fontFile, std::string& error);

    // A glyph's coverage with its placement relative to the pen on the baseline:
    // the bitmap's left column lies `left` pixels right of the pen, its top row
    // `top` pixels above the baseline.
    struct Glyph {
        int width = 0;
        int rows = 0;
        int left = 0;
        int top = 0;
        float advance = 0;
        std::vector<std::uint8_t> coverage;  // rows * width, top row first
    };
    bool glyph(char code, float sizeX, float sizeY, Glyph& out, float penFraction = 0.0f);

    // Advance width of a line of text, kerning included.
    float textWidth(const std::string& text, float sizeX, float sizeY);
    // Draws a line with its pen starting at x on the baseline (both may be fractional).
    void draw(Mask& mask, const std::string& text, float x, float baseline, float sizeX,
              float sizeY);
    // Ascent of capital letters, for centring labels.
    float capHeight(float sizeY);

private:
    bool setSize(float sizeX, float sizeY);
    float kerning(char left, char right);

    struct Library;
    Library* lib_;
};

}  // namespace brv::art
