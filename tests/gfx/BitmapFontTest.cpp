#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/BitmapFont.h"
#include "gfx/TgaTexture.h"
#include "tests/gfx/GlProbe.h"
#include "tests/gfx/TestPictures.h"

namespace brv {
namespace {

// Lines of glyph widths 1, 2, 3, 1, 2, 3, ...
std::vector<std::vector<int>> lines(int perLine, int count) {
    std::vector<std::vector<int>> out(count);
    for (std::vector<int>& line : out) {
        for (int k = 0; k < perLine; ++k) {
            line.push_back(1 + k % 3);
        }
    }
    return out;
}

void expectGlyph(const BitmapFont& font, int index, int top, int bottom, int left, int right) {
    const BitmapFont::Glyph& g = font.glyph(index);
    EXPECT_FLOAT_EQ(g.top, top / 64.0f) << "glyph " << index;
    EXPECT_FLOAT_EQ(g.bottom, bottom / 64.0f) << "glyph " << index;
    EXPECT_FLOAT_EQ(g.left, left / 256.0f) << "glyph " << index;
    EXPECT_FLOAT_EQ(g.right, right / 256.0f) << "glyph " << index;
}

TEST(BitmapFontScan, FindsTheGlyphsLineByLineAfterEachMarker) {
    // Two lines of 47 glyphs, 8 rows tall: rows 55..62 and 45..52 counted
    // from the bottom; after the marker (columns 1, 2) glyphs start at column 4.
    const auto picture = test::makeFontPicture(256, 64, 8, lines(47, 2), true);
    BitmapFont font;
    EXPECT_TRUE(font.build(picture.data(), picture.size(), nullptr));
    EXPECT_EQ(font.glyphsFound(), 94);
    EXPECT_FLOAT_EQ(font.glyphHeight(), 7 / 64.0f);
    expectGlyph(font, 0, 62, 55, 3, 5);       // '!' at column 4, one column of margin
    expectGlyph(font, 1, 62, 55, 5, 8);       // '"' at columns 6, 7
    expectGlyph(font, 47, 52, 45, 3, 5);      // first of the second line
    expectGlyph(font, 93, 52, 45, 140, 143);  // '~' at columns 141, 142
}

TEST(BitmapFontScan, MissingMarkersShiftGlyphsExtraGlyphsAreDroppedDamageIsRefused) {
    BitmapFont font;
    const auto unmarked = test::makeFontPicture(256, 64, 8, lines(47, 2), false);
    EXPECT_FALSE(font.build(unmarked.data(), unmarked.size(), nullptr));
    EXPECT_EQ(font.glyphsFound(), 92);
    // The first glyph of each line became its marker; the next ones move down.
    expectGlyph(font, 0, 62, 55, 2, 5);
    expectGlyph(font, 46, 52, 45, 2, 5);

    const auto crowded = test::makeFontPicture(256, 64, 8, lines(48, 2), true);
    EXPECT_FALSE(font.build(crowded.data(), crowded.size(), nullptr));
    EXPECT_EQ(font.glyphsFound(), 96);
    expectGlyph(font, 93, 52, 45, 138, 140);  // the second line's 46th glyph

    // A picture that is not a complete 32-bit TGA leaves the table alone.
    const auto good = test::makeFontPicture(256, 64, 8, lines(47, 2), true);
    ASSERT_TRUE(font.build(good.data(), good.size(), nullptr));
    const auto flat = test::makeTga(256, 64, 24, [](int, int) { return test::Rgba{}; });
    EXPECT_FALSE(font.build(flat.data(), flat.size(), nullptr));
    EXPECT_FALSE(font.build(good.data(), good.size() - 1, nullptr));
    EXPECT_FALSE(font.build(good.data(), 12, nullptr));
    EXPECT_EQ(font.glyphsFound(), 94);
    expectGlyph(font, 93, 52, 45, 140, 143);
}

class BitmapFontDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok()) << gl.error();
        const auto picture = test::makeFontPicture(256, 64, 20, lines(47, 2), true);
        ASSERT_TRUE(texture.loadMemory(picture.data(), picture.size(), false, false));
        ASSERT_TRUE(font.build(picture.data(), picture.size(), &texture));
    }

    // The frame after drawing, starting from a clear one.
    template <typename Draw>
    std::vector<std::uint8_t> drawn(Draw draw) {
        gl.clear();
        draw();
        return gl.frame();
    }

    void text(const char* s, float x, float y) {
        font.drawText(s, x, y, {.size = kSize, .colour = {0, 1, 0}, .depth = 0});
    }

    static constexpr float kSize = 40;
    test::GlProbe gl;
    TgaTexture texture;
    BitmapFont font;
};

TEST_F(BitmapFontDrawing, TextWidthIsTheAdvanceDrawingMakes) {
    const float widthA = font.textWidth("A", kSize);
    const float space = font.textWidth(" ", kSize);
    ASSERT_GT(space, 1.0f);
    // 'A' advances by its own width plus a tenth of it.
    EXPECT_FLOAT_EQ(widthA, space * 1.1f);
    EXPECT_FLOAT_EQ(font.textWidth("A B", kSize), widthA + space + font.textWidth("B", kSize));
    EXPECT_EQ(font.textWidth("", kSize), 0.0f);

    const auto together = drawn([&] { text("AB", 10, 60); });
    const auto apart = drawn([&] {
        text("A", 10, 60);
        text("B", 10 + widthA, 60);
    });
    EXPECT_GT(gl.inkedPixels(together), 20);
    EXPECT_EQ(gl.firstDifference(together, apart), "");

    // Ink of the given colour between the baseline and size above it.
    gl.clear();
    text("A", 10, 60);
    const auto inside = gl.pixel(10 + static_cast<int>(widthA / 2), 40);
    EXPECT_EQ(inside[1], 255) << "middle of 'A' at (" << 10 + static_cast<int>(widthA / 2)
                              << ", 40)";
    EXPECT_EQ(inside[0], 0);
    EXPECT_EQ(gl.pixel(8, 40)[1], 0) << "left of the text at (8, 40)";
    EXPECT_EQ(gl.pixel(14, 64)[1], 0) << "below the baseline at (14, 64)";
    EXPECT_EQ(gl.pixel(14, 16)[1], 0) << "above the line at (14, 16)";
}

TEST_F(BitmapFontDrawing, NumbersLineFeedsAndStrayBytes) {
    const float gap = font.textWidth(" ", kSize) * 0.1f;
    const auto number = drawn([&] {
        font.drawNumber(-42, 5, 50, {.size = kSize, .colour = {0, 1, 0}, .depth = 0});
    });
    EXPECT_EQ(gl.firstDifference(number, drawn([&] { text("-42", 5, 50); })), "");
    EXPECT_GT(gl.inkedPixels(number), 20);

    // A line feed goes down by size, back to the start plus one gap.
    const auto twoLines = drawn([&] { text("A\nB", 10, 50); });
    const auto byHand = drawn([&] {
        text("A", 10, 50);
        text("B", 10 + gap, 50 + kSize);
    });
    EXPECT_EQ(gl.firstDifference(twoLines, byHand), "");
    EXPECT_FLOAT_EQ(font.textWidth("A\nBB", kSize), gap + font.textWidth("BB", kSize));

    // Bytes without a glyph neither draw nor advance.
    const char stray[] = {'A', 1, 9, 127, static_cast<char>(200), 'B', 0};
    EXPECT_EQ(
        gl.firstDifference(drawn([&] { text(stray, 10, 60); }), drawn([&] { text("AB", 10, 60); })),
        "");
    EXPECT_FLOAT_EQ(font.textWidth(stray, kSize), font.textWidth("AB", kSize));

    // Texturing is left as found; blending is switched off again.
    glDisable(GL_TEXTURE_2D);
    text("A", 10, 60);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glEnable(GL_TEXTURE_2D);
    text("A", 10, 60);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    // A font that was never built draws and measures nothing.
    BitmapFont empty;
    EXPECT_EQ(gl.inkedPixels(drawn([&] {
        empty.drawText("AB", 10, 60, {.size = kSize, .colour = {1, 1, 1}, .depth = 0});
    })),
              0);
    EXPECT_EQ(empty.textWidth("AB", kSize), 0.0f);
}

}  // namespace
}  // namespace brv
