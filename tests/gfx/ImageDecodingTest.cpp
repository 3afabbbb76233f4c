#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/Image.h"
#include "gfx/JpegDecoder.h"
#include "gfx/TgaDecoder.h"
#include "tests/gfx/TestPictures.h"

namespace brv {
namespace {

using test::Rgba;

// Pixel (x, row) of a decoded picture, rows counted from the bottom.
const std::uint8_t* at(const Image& image, int x, int row) {
    return image.pixels.data() +
           (static_cast<std::size_t>(row) * image.width + x) * image.components;
}

TEST(TgaDecoding, ConvertsToRgbInFileRowOrder) {
    const std::uint8_t bytes[18 + 12] = {0, 0,  2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2,  0,  2,
                                         0, 24, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Image image;
    ASSERT_TRUE(decodeTga(bytes, sizeof bytes, image));
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.components, 3);
    const std::vector<std::uint8_t> expected = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
    EXPECT_EQ(image.pixels, expected);

    // 32 bits keep alpha in place; the descriptor byte is not consulted.
    std::vector<std::uint8_t> tga = test::makeTga(3, 1, 32, [](int x, int) {
        return Rgba{10, 20, 30, static_cast<std::uint8_t>(x * 100)};
    });
    tga[17] = 0x20;  // "top-left origin" bit
    ASSERT_TRUE(decodeTga(tga.data(), tga.size(), image));
    EXPECT_EQ(image.components, 4);
    EXPECT_EQ(at(image, 2, 0)[0], 10);
    EXPECT_EQ(at(image, 2, 0)[2], 30);
    EXPECT_EQ(at(image, 2, 0)[3], 200);
}

TEST(TgaDecoding, RefusesOtherKindsAndShortBuffersLeavingTheImageAlone) {
    const std::vector<std::uint8_t> good = test::makeTga(4, 3, 24, [](int, int) {
        return Rgba{1, 2, 3, 255};
    });
    Image image;
    ASSERT_TRUE(decodeTga(good.data(), good.size(), image));
    const std::vector<std::uint8_t> before = image.pixels;

    struct Damage {
        const char* what;
        std::size_t offset;
        std::uint8_t value;
    };
    const Damage damages[] = {
        {"identification field", 0, 5},
        {"colour map", 1, 1},
        {"run-length type", 2, 10},
        {"colour map length", 5, 16},
        {"x origin", 8, 1},
        {"y origin", 11, 1},
        {"16 bits", 16, 16},
        {"zero width", 12, 0},
        {"zero height", 14, 0},
    };
    for (const Damage& damage : damages) {
        std::vector<std::uint8_t> bad = good;
        bad[damage.offset] = damage.value;
        EXPECT_FALSE(decodeTga(bad.data(), bad.size(), image)) << damage.what;
    }
    // One pixel byte missing, header only, a few bytes, nothing.
    EXPECT_FALSE(decodeTga(good.data(), good.size() - 1, image));
    EXPECT_FALSE(decodeTga(good.data(), 18, image));
    EXPECT_FALSE(decodeTga(good.data(), 10, image));
    EXPECT_FALSE(decodeTga(nullptr, 0, image));
    // A header announcing 65535 x 65535 pixels behind a tiny buffer.
    std::vector<std::uint8_t> huge = good;
    huge[12] = huge[13] = huge[14] = huge[15] = 0xFF;
    EXPECT_FALSE(decodeTga(huge.data(), huge.size(), image));
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.pixels, before);
}

TEST(JpegDecoding, StoresTheTopRowLastAndKeepsGreyAsOneChannel) {
    const std::uint8_t shades[3] = {240, 128, 16};  // top, middle, bottom
    const auto jpeg = test::encodeJpeg(8, 3, 3, [&](int, int y) {
        return Rgba{shades[y], shades[y], shades[y], 255};
    });
    Image image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.width, 8);
    EXPECT_EQ(image.height, 3);
    ASSERT_EQ(image.components, 3);
    ASSERT_EQ(image.pixels.size(), 8u * 3 * 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_NEAR(at(image, 4, row)[0], shades[2 - row], 12) << "row " << row;
    }

    const auto grey = test::encodeJpeg(5, 7, 1, [](int x, int) {
        return Rgba{static_cast<std::uint8_t>(x * 50), 0, 0, 255};
    });
    ASSERT_TRUE(decodeJpeg(grey.data(), grey.size(), image));
    EXPECT_EQ(image.components, 1);
    EXPECT_EQ(image.pixels.size(), 5u * 7);
    EXPECT_NEAR(at(image, 4, 0)[0], 200, 12);
}

TEST(JpegDecoding, TruncatedDecodesWhileDamagedEmptyAndHugeFailCleanly) {
    const auto jpeg = test::encodeJpeg(64, 64, 3, [](int x, int y) {
        return Rgba{static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 4), 90, 255};
    });
    Image image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size() / 2, image));
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 64);
    // The top row survived the cut (it is stored last).
    EXPECT_NEAR(at(image, 40, 63)[0], 160, 16);

    Image untouched;
    untouched.width = 7;
    const std::vector<std::uint8_t> garbage(500, 0x5A);
    EXPECT_FALSE(decodeJpeg(garbage.data(), garbage.size(), untouched));
    EXPECT_FALSE(decodeJpeg(jpeg.data(), 0, untouched));
    EXPECT_FALSE(decodeJpeg(nullptr, 0, untouched));
    EXPECT_FALSE(decodeJpeg(jpeg.data(), 40, untouched));  // cut inside the header

    // A start-of-frame claiming 8000 x 8000 (64 megapixels) is refused before
    // anything that size is allocated.
    std::vector<std::uint8_t> huge = jpeg;
    bool patched = false;
    for (std::size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0x1F;  // height 8000
            huge[i + 6] = 0x40;
            huge[i + 7] = 0x1F;  // width 8000
            huge[i + 8] = 0x40;
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    EXPECT_FALSE(decodeJpeg(huge.data(), huge.size(), untouched));
    EXPECT_EQ(untouched.width, 7);
    EXPECT_TRUE(untouched.pixels.empty());
}

}  // namespace
}  // namespace brv
