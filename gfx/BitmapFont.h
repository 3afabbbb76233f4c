#pragma once

#include <array>
#include <cstddef>

#include "gfx/TextStyle.h"

namespace brv {

class Texture;

// Text drawn from one picture whose alpha channel holds the glyphs of the 94
// printable characters '!' to '~'. The glyphs are found by scanning the
// picture, so it needs no companion table: they stand in lines separated by
// empty rows, within a line separated by empty columns, and every line starts
// with a marker shape that is not a glyph.
class BitmapFont {
public:
    static constexpr int kGlyphCount = 94;
    static constexpr int kFirstCharacter = 33;

    // Texture coordinates of one glyph (t counted from the picture's bottom).
    struct Glyph {
        float top = 0;
        float bottom = 0;
        float left = 0;
        float right = 0;
    };

    // Scans a 32-bit TGA font picture; `texture` is the same picture already
    // uploaded. True when exactly 94 glyphs were found; glyphs past 94 are not
    // recorded. A picture that is not a complete 32-bit TGA changes nothing.
    bool build(const void* tga, std::size_t size, const Texture* texture);

    // Draws `text` with its first glyph's lower-left corner at (x, y) in a
    // y-down drawing space, in the style's colour and at its depth; the
    // style's size is the height of a glyph line. A line feed starts a new
    // line that much further down; bytes outside 32..126 draw
    // nothing and advance nothing.
    void drawText(const char* text, float x, float y, const TextStyle& style) const;
    void drawNumber(int value, float x, float y, const TextStyle& style) const;

    // The advance drawText makes for `text`; for several lines, that of the
    // widest one.
    float textWidth(const char* text, float size) const;

    const Glyph& glyph(int index) const { return glyphs_[index]; }
    int glyphsFound() const { return glyphsFound_; }
    float glyphHeight() const { return glyphHeight_; }
    int pictureWidth() const { return width_; }
    int pictureHeight() const { return height_; }

private:
    struct Metrics {
        float aspect;
        float scale;
        float space;
        float gap;
    };
    class InkMap;
    void scanLine(const InkMap& ink, int bottom, int top);
    bool hasGlyphs() const { return glyphHeight_ > 0 && width_ > 0 && height_ > 0; }
    Metrics metrics(float size) const;
    float glyphWidth(const Glyph& glyph, float size) const;

    const Texture* texture_ = nullptr;
    std::array<Glyph, kGlyphCount> glyphs_{};
    int glyphsFound_ = 0;
    float glyphHeight_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace brv
