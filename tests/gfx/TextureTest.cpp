#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/JpegTexture.h"
#include "gfx/TgaTexture.h"
#include "tests/gfx/GlProbe.h"
#include "tests/gfx/TestPictures.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

using test::Rgba;

struct Parameters {
    GLint minFilter = 0;
    GLint wrapS = 0;
    GLint wrapT = 0;
    GLint alphaBits = 0;
    GLint level1Width = 0;  // 0 without mipmaps
};

Parameters boundParameters(const Texture& texture) {
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<unsigned int>(bound), texture.glName()) << "loader leaves it bound";
    Parameters p;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &p.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &p.wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &p.wrapT);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &p.alphaBits);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &p.level1Width);
    GLint mag = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    EXPECT_EQ(mag, GL_LINEAR);
    return p;
}

std::vector<std::uint8_t> texels(const Texture& texture, GLenum format, int components) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(texture.width()) * texture.height() *
                                  components);
    glBindTexture(GL_TEXTURE_2D, texture.glName());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
    return out;
}

Rgba gradient(int x, int y) {
    return Rgba{static_cast<std::uint8_t>(x * 8), static_cast<std::uint8_t>(y * 8), 77, 255};
}

TEST(Texture, FiltersWrappingAndStorageFollowTheLoaderAndFlags) {
    test::GlProbe gl;
    ASSERT_TRUE(gl.ok()) << gl.error();
    const auto tga24 = test::makeTga(16, 16, 24, gradient);
    const auto jpeg = test::encodeJpeg(16, 16, 3, gradient);
    const auto greyJpeg = test::encodeJpeg(16, 16, 1, gradient);

    struct Case {
        const char* what;
        bool pair;
        bool tga;
        bool repeat;
        bool mipmap;
        GLint minFilter;
        GLint wrap;
        bool alpha;
    };
    const Case cases[] = {
        {"tga mipmap clamp", false, true, false, true, GL_LINEAR_MIPMAP_NEAREST, GL_CLAMP, true},
        {"tga mipmap repeat", false, true, true, true, GL_LINEAR_MIPMAP_NEAREST, GL_REPEAT, true},
        {"tga level 0 ignores repeat", false, true, false, false, GL_LINEAR, GL_REPEAT, true},
        {"jpeg mipmap clamp", false, false, false, true, GL_LINEAR_MIPMAP_LINEAR, GL_CLAMP, false},
        {"jpeg level 0 clamp", false, false, false, false, GL_LINEAR, GL_CLAMP, false},
        {"jpeg level 0 repeat", false, false, true, false, GL_LINEAR, GL_REPEAT, false},
        {"pair mipmap", true, false, false, true, GL_LINEAR_MIPMAP_LINEAR, GL_REPEAT, true},
        {"pair level 0", true, false, false, false, GL_LINEAR, GL_REPEAT, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TgaTexture tgaTexture;
        JpegTexture jpegTexture;
        Texture& texture = c.tga ? static_cast<Texture&>(tgaTexture) : jpegTexture;
        const bool loaded =
            c.pair ? texture.loadMemoryPair(jpeg.data(), jpeg.size(), greyJpeg.data(),
                                            greyJpeg.size(), c.mipmap)
                   : texture.loadMemory(c.tga ? tga24.data() : jpeg.data(),
                                        c.tga ? tga24.size() : jpeg.size(), c.repeat, c.mipmap);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(texture.width(), 16);
        const Parameters p = boundParameters(texture);
        EXPECT_EQ(p.minFilter, c.minFilter);
        EXPECT_EQ(p.wrapS, c.wrap);
        EXPECT_EQ(p.wrapT, c.wrap);
        EXPECT_EQ(p.alphaBits > 0, c.alpha);
        EXPECT_EQ(p.level1Width, c.mipmap ? 8 : 0);
    }
}

TEST(Texture, PixelsArriveUnshearedAndGreyIsExpanded) {
    test::GlProbe gl;
    ASSERT_TRUE(gl.ok()) << gl.error();
    // Odd-width RGB rows are not 4-byte aligned.
    const auto tga = test::makeTga(3, 2, 24, [](int x, int row) {
        return Rgba{static_cast<std::uint8_t>(10 * x + 1), static_cast<std::uint8_t>(100 + row),
                    200, 255};
    });
    TgaTexture texture;
    ASSERT_TRUE(texture.loadMemory(tga.data(), tga.size(), false, false));
    const std::vector<std::uint8_t> expected = {1, 100, 200, 11, 100, 200, 21, 100, 200,
                                                1, 101, 200, 11, 101, 200, 21, 101, 200};
    EXPECT_EQ(texels(texture, GL_RGB, 3), expected);

    const auto grey = test::encodeJpeg(8, 8, 1, [](int, int) { return Rgba{180, 0, 0, 255}; });
    JpegTexture jpeg;
    ASSERT_TRUE(jpeg.loadMemory(grey.data(), grey.size(), false, false));
    EXPECT_EQ(jpeg.components(), 3);
    const auto rgb = texels(jpeg, GL_RGB, 3);
    EXPECT_NEAR(rgb[0], 180, 3);
    EXPECT_EQ(rgb[0], rgb[1]);
    EXPECT_EQ(rgb[0], rgb[2]);

    // The pair takes its alpha from the grey picture.
    const auto colour = test::encodeJpeg(8, 8, 3, [](int, int) { return Rgba{0, 0, 250, 255}; });
    ASSERT_TRUE(jpeg.loadMemoryPair(colour.data(), colour.size(), grey.data(), grey.size(), false));
    EXPECT_EQ(jpeg.components(), 4);
    const auto rgba = texels(jpeg, GL_RGBA, 4);
    EXPECT_NEAR(rgba[2], 250, 3);
    EXPECT_NEAR(rgba[3], 180, 3);
}

TEST(Texture, ReloadKeepsOneObjectAndFailedLoadsChangeNothing) {
    test::GlProbe gl;
    ASSERT_TRUE(gl.ok()) << gl.error();
    const int before = test::liveTextureCount();
    const auto tga = test::makeTga(8, 4, 32, [](int, int) { return Rgba{}; });
    TgaTexture tgaTexture;
    ASSERT_TRUE(tgaTexture.loadMemory(tga.data(), tga.size(), true, true));
    const unsigned int first = tgaTexture.glName();
    ASSERT_TRUE(tgaTexture.loadMemory(tga.data(), tga.size(), true, true));
    EXPECT_EQ(test::liveTextureCount(), before + 1);
    EXPECT_TRUE(tgaTexture.glName() == first || !glIsTexture(first));
    EXPECT_EQ(tgaTexture.bitsPerPixel(), 32);

    const unsigned int kept = tgaTexture.glName();
    const std::vector<std::uint8_t> garbage(64, 0x33);
    EXPECT_FALSE(tgaTexture.loadMemory(garbage.data(), garbage.size(), false, false));
    EXPECT_FALSE(tgaTexture.loadMemory(tga.data(), tga.size() - 1, false, false));
    EXPECT_FALSE(tgaTexture.loadMemoryPair(tga.data(), tga.size(), tga.data(), tga.size(), true));
    EXPECT_EQ(tgaTexture.glName(), kept);
    EXPECT_TRUE(glIsTexture(kept));
    EXPECT_EQ(tgaTexture.width(), 8);

    const auto colour = test::encodeJpeg(8, 8, 3, gradient);
    const auto alpha = test::encodeJpeg(8, 8, 1, gradient);
    const auto wideAlpha = test::encodeJpeg(9, 8, 1, gradient);
    JpegTexture jpeg;
    ASSERT_TRUE(jpeg.loadMemory(colour.data(), colour.size(), false, false));
    const unsigned int jpegName = jpeg.glName();
    EXPECT_FALSE(jpeg.loadMemoryPair(colour.data(), colour.size(), wideAlpha.data(),
                                     wideAlpha.size(), false));
    EXPECT_FALSE(
        jpeg.loadMemoryPair(colour.data(), colour.size(), colour.data(), colour.size(), false));
    EXPECT_FALSE(
        jpeg.loadMemoryPair(alpha.data(), alpha.size(), alpha.data(), alpha.size(), false));
    EXPECT_FALSE(jpeg.loadMemory(garbage.data(), garbage.size(), false, false));
    EXPECT_EQ(jpeg.glName(), jpegName);
    EXPECT_EQ(jpeg.components(), 3);
    EXPECT_EQ(test::liveTextureCount(), before + 2);

    jpeg.release();
    tgaTexture.release();
    EXPECT_EQ(jpeg.glName(), 0u);
    EXPECT_EQ(test::liveTextureCount(), before);
}

TEST(Texture, LoadsFromDiskFiles) {
    test::GlProbe gl;
    ASSERT_TRUE(gl.ok()) << gl.error();
    test::TempDir dir;
    dir.write("a.tga", test::makeTga(4, 4, 24, gradient));
    dir.write("c.jpg", test::encodeJpeg(4, 2, 3, gradient));
    dir.write("g.jpg", test::encodeJpeg(4, 2, 1, gradient));
    TgaTexture tga;
    EXPECT_TRUE(tga.loadFile(dir.file("a.tga"), false, false));
    EXPECT_FALSE(tga.loadFile(dir.file("missing.tga"), false, false));
    JpegTexture jpeg;
    EXPECT_TRUE(jpeg.loadFilePair(dir.file("c.jpg"), dir.file("g.jpg"), true));
    EXPECT_EQ(jpeg.components(), 4);
    EXPECT_FALSE(jpeg.loadFilePair(dir.file("c.jpg"), dir.file("missing.jpg"), true));
    EXPECT_TRUE(jpeg.loadFile(dir.file("c.jpg"), false, false));
    EXPECT_EQ(jpeg.height(), 2);
}

}  // namespace
}  // namespace brv
