#include "gfx/BitmapFont.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "gfx/Texture.h"

namespace brv {

namespace {

constexpr std::size_t kTgaHeaderSize = 18;
constexpr std::uint8_t kTgaFixedHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

}  // namespace

// Reads the ink (alpha) of a 32-bit picture, rows counted from the bottom.
class BitmapFont::InkMap {
public:
    InkMap(const std::uint8_t* pixels, int width) : pixels_(pixels), width_(width) {}

    bool inked(int column, int row) const {
        return pixels_[(static_cast<std::size_t>(row) * width_ + column) * 4 + 3] != 0;
    }
    bool rowInked(int row) const {
        for (int column = 0; column < width_; ++column) {
            if (inked(column, row)) {
                return true;
            }
        }
        return false;
    }
    // Ink anywhere in rows bottom..top of this column.
    bool columnInked(int column, int bottom, int top) const {
        for (int row = bottom; row <= top; ++row) {
            if (inked(column, row)) {
                return true;
            }
        }
        return false;
    }
    // First inked column at or after `from` within the line, or width if none.
    int nextInkedColumn(int from, int bottom, int top) const {
        int column = from;
        while (column < width_ && !columnInked(column, bottom, top)) {
            ++column;
        }
        return column;
    }
    // Last column of the shape that starts at `first`.
    int shapeEnd(int first, int bottom, int top) const {
        int column = first;
        while (column + 1 < width_ && columnInked(column + 1, bottom, top)) {
            ++column;
        }
        return column;
    }

private:
    const std::uint8_t* pixels_;
    int width_;
};

bool BitmapFont::build(const void* tga, std::size_t size, const Texture* texture) {
    const auto* bytes = static_cast<const std::uint8_t*>(tga);
    if (bytes == nullptr || size < kTgaHeaderSize ||
        std::memcmp(bytes, kTgaFixedHeader, sizeof kTgaFixedHeader) != 0) {
        return false;
    }
    const int width = bytes[12] | (bytes[13] << 8);
    const int height = bytes[14] | (bytes[15] << 8);
    if (width == 0 || height == 0 || bytes[16] != 32 ||
        size - kTgaHeaderSize < static_cast<std::size_t>(width) * height * 4) {
        return false;
    }
    texture_ = texture;
    width_ = width;
    height_ = height;
    glyphs_ = {};
    glyphsFound_ = 0;
    glyphHeight_ = 0;
    const InkMap ink(bytes + kTgaHeaderSize, width);
    int lineBottom = height;
    for (;;) {
        int lineTop = lineBottom - 1;
        while (lineTop >= 0 && !ink.rowInked(lineTop)) {
            --lineTop;
        }
        if (lineTop <= 0) {
            break;  // no further line (a line may not reach the bottom row)
        }
        lineBottom = lineTop;
        while (lineBottom > 0 && ink.rowInked(lineBottom - 1)) {
            --lineBottom;
        }
        scanLine(ink, lineBottom, lineTop);
    }
    return glyphsFound_ == kGlyphCount;
}

void BitmapFont::scanLine(const InkMap& ink, int bottom, int top) {
    glyphHeight_ = static_cast<float>(top - bottom) / static_cast<float>(height_);
    // The first shape of a line is its marker, not a glyph.
    int end = ink.shapeEnd(ink.nextInkedColumn(0, bottom, top), bottom, top);
    for (;;) {
        const int start = ink.nextInkedColumn(end + 1, bottom, top);
        if (start >= width_) {
            return;
        }
        end = ink.shapeEnd(start, bottom, top);
        if (glyphsFound_ < kGlyphCount) {
            // One column of margin on each side keeps the filtered edge soft.
            Glyph& glyph = glyphs_[glyphsFound_];
            glyph.top = static_cast<float>(top) / static_cast<float>(height_);
            glyph.bottom = static_cast<float>(bottom) / static_cast<float>(height_);
            glyph.left = static_cast<float>(start - 1) / static_cast<float>(width_);
            glyph.right = static_cast<float>(end + 1) / static_cast<float>(width_);
        }
        ++glyphsFound_;
    }
}

BitmapFont::Metrics BitmapFont::metrics(float size) const {
    Metrics m{};
    m.aspect = static_cast<float>(width_) / static_cast<float>(height_);
    m.scale = size / glyphHeight_;
    const Glyph& a = glyphs_['A' - kFirstCharacter];
    m.space = (a.right - a.left) * m.aspect * m.scale;
    m.gap = m.space * 0.1f;
    return m;
}

float BitmapFont::glyphWidth(const Glyph& glyph, float size) const {
    const float aspect = static_cast<float>(width_) / static_cast<float>(height_);
    return size * aspect * (glyph.right - glyph.left) / glyphHeight_;
}

void BitmapFont::drawText(const char* text, float x, float y, const TextStyle& style) const {
    if (text == nullptr || !hasGlyphs()) {
        return;
    }
    const GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_ != nullptr ? texture_->glName() : 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float size = style.size;
    const float z = style.depth;
    glColor4f(style.colour.red, style.colour.green, style.colour.blue, style.colour.alpha);
    const Metrics m = metrics(size);
    const float startX = x;
    for (const char* p = text; *p != '\0'; ++p) {
        const int byte = static_cast<unsigned char>(*p);
        if (byte == ' ') {
            x += m.space;
        } else if (byte == '\n') {
            x = startX + m.gap;
            y += size;
        } else if (byte >= kFirstCharacter && byte < kFirstCharacter + kGlyphCount) {
            const Glyph& g = glyphs_[byte - kFirstCharacter];
            const float w = glyphWidth(g, size);
            glBegin(GL_TRIANGLE_STRIP);
            glTexCoord2f(g.left, g.bottom);
            glVertex3f(x, y, z);
            glTexCoord2f(g.left, g.top);
            glVertex3f(x, y - size, z);
            glTexCoord2f(g.right, g.bottom);
            glVertex3f(x + w, y, z);
            glTexCoord2f(g.right, g.top);
            glVertex3f(x + w, y - size, z);
            glEnd();
            x += w + m.gap;
        }
    }
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    if (!texturing) {
        glDisable(GL_TEXTURE_2D);
    }
}

void BitmapFont::drawNumber(int value, float x, float y, const TextStyle& style) const {
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    drawText(text, x, y, style);
}

float BitmapFont::textWidth(const char* text, float size) const {
    if (text == nullptr || !hasGlyphs()) {
        return 0;
    }
    const Metrics m = metrics(size);
    float widest = 0;
    float x = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        const int byte = static_cast<unsigned char>(*p);
        if (byte == ' ') {
            x += m.space;
        } else if (byte == '\n') {
            widest = std::max(widest, x);
            x = m.gap;  // drawing starts the next line one gap in
        } else if (byte >= kFirstCharacter && byte < kFirstCharacter + kGlyphCount) {
            x += glyphWidth(glyphs_[byte - kFirstCharacter], size) + m.gap;
        }
    }
    return std::max(widest, x);
}

}  // namespace brv
