#include "tools/mkdata/Lettering.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace brv::art {

struct Lettering::Library {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    float sizeX = 0;
    float sizeY = 0;
};

Lettering::Lettering() : lib_(new Library) {}

Lettering::~Lettering() {
    if (lib_->face != nullptr) {
        FT_Done_Face(lib_->face);
    }
    if (lib_->library != nullptr) {
        FT_Done_FreeType(lib_->library);
    }
    delete lib_;
}

bool Lettering::open(const std::string& fontFile, std::string& error) {
    if (lib_->library == nullptr && FT_Init_FreeType(&lib_->library) != 0) {
        error = "cannot start FreeType";
        return false;
    }
    if (FT_New_Face(lib_->library, fontFile.c_str(), 0, &lib_->face) != 0) {
        error = "cannot read the font \"" + fontFile + "\"";
        lib_->face = nullptr;
        return false;
    }
    return true;
}

bool Lettering::setSize(float sizeX, float sizeY) {
    if (lib_->face == nullptr) {
        return false;
    }
    if (sizeX == lib_->sizeX && sizeY == lib_->sizeY) {
        return true;
    }
    // 26.6 fixed point at 72 dpi: one point is one pixel.
    const auto toFixed = [](float v) { return static_cast<FT_F26Dot6>(std::lround(v * 64.0f)); };
    if (FT_Set_Char_Size(lib_->face, toFixed(sizeX), toFixed(sizeY), 72, 72) != 0) {
        return false;
    }
    lib_->sizeX = sizeX;
    lib_->sizeY = sizeY;
    return true;
}

bool Lettering::glyph(char code, float sizeX, float sizeY, Glyph& out, float penFraction) {
    if (!setSize(sizeX, sizeY)) {
        return false;
    }
    FT_Face face = lib_->face;
    const FT_UInt index = FT_Get_Char_Index(face, static_cast<unsigned char>(code));
    // Unhinted outlines: the pictures are scaled by the game anyway, and
    // unhinted shapes keep their true proportions at every size.
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
        return false;
    }
    FT_Outline_Translate(&face->glyph->outline, static_cast<FT_Pos>(std::lround(penFraction * 64)),
                         0);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
        return false;
    }
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    out.width = static_cast<int>(bitmap.width);
    out.rows = static_cast<int>(bitmap.rows);
    out.left = face->glyph->bitmap_left;
    out.top = face->glyph->bitmap_top;
    out.advance = static_cast<float>(face->glyph->advance.x) / 64.0f;
    out.coverage.assign(static_cast<std::size_t>(out.width) * out.rows, 0);
    for (int r = 0; r < out.rows; ++r) {
        const unsigned char* src = bitmap.buffer + static_cast<std::ptrdiff_t>(r) * bitmap.pitch;
        std::copy(src, src + out.width,
                  out.coverage.begin() + static_cast<std::ptrdiff_t>(r) * out.width);
    }
    return true;
}

float Lettering::kerning(char left, char right) {
    FT_Face face = lib_->face;
    if (face == nullptr || !FT_HAS_KERNING(face)) {
        return 0.0f;
    }
    FT_Vector k{};
    FT_Get_Kerning(face, FT_Get_Char_Index(face, static_cast<unsigned char>(left)),
                   FT_Get_Char_Index(face, static_cast<unsigned char>(right)), FT_KERNING_UNFITTED,
                   &k);
    return static_cast<float>(k.x) / 64.0f;
}

float Lettering::textWidth(const std::string& text, float sizeX, float sizeY) {
    float x = 0.0f;
    Glyph g;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (glyph(text[i], sizeX, sizeY, g)) {
            x += g.advance;
        }
        if (i + 1 < text.size()) {
            x += kerning(text[i], text[i + 1]);
        }
    }
    return x;
}

void Lettering::draw(Mask& mask, const std::string& text, float x, float baseline, float sizeX,
                     float sizeY) {
    const int base = static_cast<int>(std::lround(baseline));
    Glyph g;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const float whole = std::floor(x);
        if (glyph(text[i], sizeX, sizeY, g, x - whole)) {
            const int ox = static_cast<int>(whole) + g.left;
            const int oy = base - g.top;
            for (int r = 0; r < g.rows; ++r) {
                for (int c = 0; c < g.width; ++c) {
                    const int px = ox + c;
                    const int py = oy + r;
                    if (px < 0 || py < 0 || px >= mask.width() || py >= mask.height()) {
                        continue;
                    }
                    const float v =
                        static_cast<float>(g.coverage[static_cast<std::size_t>(r) * g.width + c]) /
                        255.0f;
                    mask.at(px, py) = std::min(1.0f, mask.at(px, py) + v);
                }
            }
            x += g.advance;
        }
        if (i + 1 < text.size()) {
            x += kerning(text[i], text[i + 1]);
        }
    }
}

float Lettering::capHeight(float sizeY) {
    Glyph g;
    if (!glyph('H', sizeY, sizeY, g)) {
        return sizeY * 0.73f;
    }
    return static_cast<float>(g.top);
}

}  // namespace brv::art
