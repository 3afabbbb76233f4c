// The generator's pieces: the font picture survives the game's glyph scan at
// any line height, control bands are stacked in the order the widgets read
// them, and the image writers round-trip through the game's decoders.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/BitmapFont.h"
#include "gfx/Image.h"
#include "gfx/JpegDecoder.h"
#include "gfx/PngWriter.h"
#include "gfx/TgaDecoder.h"
#include "tools/mkdata/ButtonArt.h"
#include "tools/mkdata/FontPicture.h"
#include "tools/mkdata/ImageFiles.h"

namespace brv {
namespace {

const std::string kFonts = "/usr/share/fonts/truetype/dejavu";

// Mean brightness of the opaque pixels of one band (decoded rows are bottom-up).
float bandBrightness(const Image& img, int band, int bands) {
    const int h = img.height / bands;
    double sum = 0, weight = 0;
    for (int y = (band - 1) * h; y < band * h; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const std::uint8_t* p = &img.pixels[(static_cast<std::size_t>(y) * img.width + x) * 4];
            const double a = p[3] / 255.0;
            sum += a * (p[0] + p[1] + p[2]);
            weight += a;
        }
    }
    return static_cast<float>(sum / std::max(weight, 1.0));
}

bool rowTransparent(const Image& img, int y) {
    for (int x = 0; x < img.width; ++x) {
        if (img.pixels[(static_cast<std::size_t>(y) * img.width + x) * 4 + 3] != 0) {
            return false;
        }
    }
    return true;
}

TEST(FontPicture, GlyphScanFindsAll94AtSmallAndLargeLineHeights) {
    art::Lettering face;
    std::string error;
    ASSERT_TRUE(face.open(kFonts + "/DejaVuSansCondensed-Bold.ttf", error)) << error;
    for (int lineHeight : {16, 40, 96}) {
        art::FontPicture pic;
        ASSERT_TRUE(art::drawFontPicture(face, lineHeight, pic, error)) << error;
        EXPECT_EQ(pic.width & (pic.width - 1), 0) << lineHeight;
        EXPECT_EQ(pic.height & (pic.height - 1), 0) << lineHeight;
        const std::vector<std::uint8_t> tga = pic.toTga();
        BitmapFont font;
        EXPECT_TRUE(font.build(tga.data(), tga.size(), nullptr)) << "line height " << lineHeight;
        ASSERT_EQ(font.glyphsFound(), 94) << "line height " << lineHeight;
        // The two strokes of '"' are one glyph (bridged), wider than the single '\''.
        const auto width = [&](char c) {
            const BitmapFont::Glyph& g = font.glyph(c - 33);
            return (g.right - g.left) * static_cast<float>(pic.width);
        };
        EXPECT_GT(width('"'), width('\'') * 1.5f) << lineHeight;
        EXPECT_GT(width('W'), width('i')) << lineHeight;
        EXPECT_GT(width('m'), width('.') * 2.0f) << lineHeight;
        // Every line is as tall as the picture's line height, and glyph
        // heights are what the generator asked for, within the marker row.
        EXPECT_NEAR(font.glyphHeight() * static_cast<float>(pic.height),
                    static_cast<float>(pic.lineHeight - 1), 0.01f);
        EXPECT_NEAR(static_cast<float>(pic.lineHeight), static_cast<float>(lineHeight) + 1, 2.0f);
    }
}

TEST(FontPicture, InvisibleBridgesStayInvisible) {
    art::Lettering face;
    std::string error;
    ASSERT_TRUE(face.open(kFonts + "/DejaVuSansCondensed-Bold.ttf", error)) << error;
    art::FontPicture pic;
    ASSERT_TRUE(art::drawFontPicture(face, 40, pic, error)) << error;
    const std::size_t bridges =
        static_cast<std::size_t>(std::count(pic.alpha.begin(), pic.alpha.end(), 1));
    EXPECT_GT(bridges, 0u);  // '"' at least needs one
    EXPECT_LT(bridges, 200u);
    // The picture's border stays empty: linear filtering with repeat wrapping
    // would otherwise pull ink from the opposite edge.
    for (int x = 0; x < pic.width; ++x) {
        EXPECT_EQ(pic.alpha[static_cast<std::size_t>(x)], 0);
        EXPECT_EQ(pic.alpha[static_cast<std::size_t>(pic.height - 1) * pic.width + x], 0);
    }
}

TEST(ButtonArt, BandsAreStackedInTheOrderTheWidgetsReadThem) {
    art::Lettering face;
    std::string error;
    ASSERT_TRUE(face.open(kFonts + "/DejaVuSans-Bold.ttf", error)) << error;
    const art::Canvas button = art::drawLabelButton(face, "New game", 256, 43);
    const std::vector<std::uint8_t> tga =
        art::encodeTga(button.width(), button.height(), button.toRgba8(), 32);
    Image img;
    ASSERT_TRUE(decodeTga(tga.data(), tga.size(), img));
    ASSERT_EQ(img.height, 129);
    // Band 1 (v = 0) is normal, band 2 hover (lit), band 3 pressed (sunk).
    const float normal = bandBrightness(img, 1, 3);
    EXPECT_GT(bandBrightness(img, 2, 3), normal * 1.15f);
    EXPECT_LT(bandBrightness(img, 3, 3), normal * 0.85f);
    // Band edges are transparent, so filtering never bleeds one state into the next.
    for (int band = 0; band < 3; ++band) {
        EXPECT_TRUE(rowTransparent(img, band * 43)) << band;
        EXPECT_TRUE(rowTransparent(img, band * 43 + 42)) << band;
    }
    const art::Canvas box = art::drawNameBox(256, 64);
    const std::vector<std::uint8_t> btga = art::encodeTga(256, 128, box.toRgba8(), 32);
    ASSERT_TRUE(decodeTga(btga.data(), btga.size(), img));
    for (int band = 0; band < 2; ++band) {
        EXPECT_TRUE(rowTransparent(img, band * 64)) << band;
        EXPECT_TRUE(rowTransparent(img, band * 64 + 63)) << band;
    }

    const art::Canvas radio = art::drawRadioButton(32);
    const std::vector<std::uint8_t> rtga = art::encodeTga(32, 128, radio.toRgba8(), 32);
    ASSERT_TRUE(decodeTga(rtga.data(), rtga.size(), img));
    // Bands 3 and 4 hold the checked dot: darker centre than the empty disc.
    const auto centre = [&](int band) {
        const std::uint8_t* p =
            &img.pixels[(static_cast<std::size_t>((band - 1) * 32 + 16) * 32 + 16) * 4];
        return p[0] + p[1] + p[2];
    };
    EXPECT_LT(centre(3), centre(1) - 100);
    EXPECT_LT(centre(4), centre(2) - 100);
}

TEST(ImageFiles, WritersRoundTripThroughTheGameDecoders) {
    // 2 x 2, top row first: red, green / blue, white (half transparent).
    const std::vector<std::uint8_t> rgba = {255, 0, 0,   255, 0,   255, 0,   255,
                                            0,   0, 255, 255, 255, 255, 255, 128};
    const std::vector<std::uint8_t> tga = art::encodeTga(2, 2, rgba, 32);
    ASSERT_EQ(tga.size(), 18u + 16u);
    EXPECT_EQ(tga[2], 2);
    Image img;
    ASSERT_TRUE(decodeTga(tga.data(), tga.size(), img));
    // Decoded row 0 is the bottom row: blue, then white with its alpha.
    EXPECT_EQ(img.pixels[2], 255);
    EXPECT_EQ(img.pixels[7], 128);
    EXPECT_EQ(img.pixels[8], 255);  // top-left red

    const std::vector<std::uint8_t> tga24 = art::encodeTga(2, 2, rgba, 24);
    ASSERT_TRUE(decodeTga(tga24.data(), tga24.size(), img));
    EXPECT_EQ(img.components, 3);

    std::vector<std::uint8_t> rgb(64 * 32 * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = 200;  // a flat orange survives compression closely
        rgb[i + 1] = 100;
    }
    std::vector<std::uint8_t> jpeg, again;
    std::string error;
    ASSERT_TRUE(art::encodeJpeg(64, 32, rgb, 90, jpeg, error)) << error;
    ASSERT_TRUE(art::encodeJpeg(64, 32, rgb, 90, again, error)) << error;
    EXPECT_EQ(jpeg, again);
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), img));
    EXPECT_EQ(img.width, 64);
    EXPECT_EQ(img.height, 32);
    EXPECT_NEAR(img.pixels[0], 200, 4);
    EXPECT_NEAR(img.pixels[1], 100, 4);

    // Buffers that do not match their size are refused, not read past.
    EXPECT_FALSE(art::encodeJpeg(64, 33, rgb, 90, jpeg, error));
    EXPECT_FALSE(encodePng(2, 3, rgba, jpeg, error));
    EXPECT_TRUE(encodePng(2, 2, rgba, jpeg, error)) << error;
}

TEST(Canvas, TransparentEdgesTakeTheColourOfTheirNeighbours) {
    art::Canvas c(8, 1);
    c.setPixel(3, 0, {1.0f, 0.5f, 0.0f, 1.0f});
    c.setPixel(4, 0, {1.0f, 0.5f, 0.0f, 0.5f});
    const std::vector<std::uint8_t> out = c.toRgba8();
    // Pixel 2 is transparent but carries the orange, so filtering shows no dark fringe.
    EXPECT_EQ(out[2 * 4 + 3], 0);
    EXPECT_EQ(out[2 * 4 + 0], 255);
    EXPECT_NEAR(out[2 * 4 + 1], 128, 1);
    EXPECT_EQ(out[4 * 4 + 3], 128);
    EXPECT_NEAR(out[4 * 4 + 1], 128, 1);  // straight, not premultiplied

    // Resampling averages areas: 4 px of white and 4 of black give grey.
    art::Canvas stripes(8, 2, {0, 0, 0, 1});
    for (int x = 0; x < 4; ++x) {
        stripes.setPixel(x, 0, {1, 1, 1, 1});
        stripes.setPixel(x, 1, {1, 1, 1, 1});
    }
    const art::Canvas small = stripes.resampled(1, 1);
    EXPECT_NEAR(small.pixel(0, 0).r, 0.5f, 1e-4f);
    const art::Canvas odd = stripes.resampled(3, 1);
    EXPECT_NEAR(odd.pixel(1, 0).r, 0.5f, 1e-4f);
}

}  // namespace
}  // namespace brv
