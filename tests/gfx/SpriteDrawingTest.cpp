#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/PackFile.h"
#include "gfx/JpegTexture.h"
#include "gfx/Sprite.h"
#include "gfx/TgaTexture.h"
#include "tests/gfx/GlProbe.h"
#include "tests/gfx/TestPictures.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

using test::Rgba;

// A 256 x 64 sheet of 4 frames by 2 groups. Each cell has its own red (frame)
// and green (group); the upper quarter of every cell is also blue, so an
// upside-down cell shows.
Rgba sheetPixel(int x, int row) {
    const int frame = x / 64;
    const int group = row / 32;
    const bool upper = row % 32 >= 24;
    return Rgba{static_cast<std::uint8_t>(40 + 60 * frame),
                static_cast<std::uint8_t>(50 + 150 * group),
                static_cast<std::uint8_t>(upper ? 255 : 0), 255};
}

bool load(Sprite& sprite, const PackFile& archive, const std::string& description) {
    return sprite.load(archive, description.data(), description.size(), false, true);
}

class SpriteDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok()) << gl.error();
        dir.write("mui/sheet.tga", test::makeTga(256, 64, 32, sheetPixel));
        dir.write("mui/whole.jpg", test::encodeJpeg(40, 24, 3, [](int, int) {
                      return Rgba{200, 200, 200, 255};
                  }));
    }

    test::GlProbe gl;
    test::TempDir dir;
    PackFile archive{dir.path()};
};

TEST_F(SpriteDrawing, DrawsTheChosenCellUprightAtItsPosition) {
    Sprite sprite;
    ASSERT_TRUE(load(sprite, archive, "file_name mui/sheet.tga groups 2 frames 4"));
    EXPECT_EQ(sprite.cellWidth(), 64);
    EXPECT_EQ(sprite.cellHeight(), 32);
    sprite.setFrame(3);
    sprite.setGroup(1);
    sprite.x = 64;
    sprite.y = 64;
    sprite.draw(true);
    const auto centre = gl.pixel(64, 66);
    EXPECT_NEAR(centre[0], 220, 2) << "frame 3 at (64, 66)";
    EXPECT_NEAR(centre[1], 200, 2) << "group 1 at (64, 66)";
    EXPECT_EQ(centre[2], 0) << "lower part of the cell at (64, 66)";
    const auto top = gl.pixel(40, 51);
    EXPECT_EQ(top[2], 255) << "upper quarter of the cell at (40, 51)";
    const auto outside = gl.pixel(64, 84);
    EXPECT_EQ(outside[1], 0) << "below the cell at (64, 84)";
    const auto right = gl.pixel(100, 64);
    EXPECT_EQ(right[0], 0) << "right of the cell at (100, 64)";

    // Invisible sprites draw nothing.
    gl.clear();
    sprite.setVisible(false);
    sprite.draw(true);
    EXPECT_EQ(gl.inkedPixels(gl.frame()), 0);
}

// One template draws every object's cell where the object stands.
TEST_F(SpriteDrawing, DrawsAGivenCellAtAGivenPlaceWhateverItsOwnClockShows) {
    Sprite sprite;
    ASSERT_TRUE(load(sprite, archive, "file_name mui/sheet.tga groups 2 frames 4"));
    sprite.drawCell(3, 1, 64, 64, 0, true);
    const auto centre = gl.pixel(64, 66);
    EXPECT_NEAR(centre[0], 220, 2) << "frame 3 at (64, 66)";
    EXPECT_NEAR(centre[1], 200, 2) << "group 1 at (64, 66)";
    EXPECT_EQ(sprite.frame(), 0);
    EXPECT_EQ(sprite.x, 0);
}

TEST_F(SpriteDrawing, CopiesShareTheTextureAndNeverFreeIt) {
    const int before = test::liveTextureCount();
    Sprite sprite;
    const std::string description = "file_name mui/sheet.tga groups 2 frames 4";
    ASSERT_TRUE(load(sprite, archive, description));
    Texture* texture = sprite.texture();
    ASSERT_TRUE(load(sprite, archive, description));
    EXPECT_EQ(sprite.texture(), texture) << "a reload reuses the texture object";
    EXPECT_EQ(test::liveTextureCount(), before + 1);

    Sprite kept(sprite);
    kept.x = kept.y = 64;
    {
        Sprite copy(sprite);
        EXPECT_FALSE(copy.ownsTexture());
        EXPECT_EQ(copy.texture(), texture);
    }
    EXPECT_TRUE(glIsTexture(texture->glName())) << "destroying a copy kept the texture";

    // Released: the copy shows nothing; reloaded: the copy shows the picture.
    sprite.release();
    EXPECT_EQ(texture->glName(), 0u);
    EXPECT_EQ(test::liveTextureCount(), before);
    kept.draw(true);
    EXPECT_EQ(gl.inkedPixels(gl.frame()), 0) << "copy of a released sprite";
    ASSERT_TRUE(load(sprite, archive, description));
    kept.draw(true);
    EXPECT_NEAR(gl.pixel(64, 70)[0], 40, 2) << "copy after the reload at (64, 70)";

    // Loading a copy gives it a texture of its own instead of overwriting
    // (and later deleting) the original's.
    {
        Sprite copy(sprite);
        ASSERT_TRUE(load(copy, archive, "file_name mui/whole.jpg"));
        EXPECT_NE(copy.texture(), texture);
        EXPECT_TRUE(copy.ownsTexture());
    }
    EXPECT_TRUE(glIsTexture(texture->glName()));
    EXPECT_EQ(sprite.cellWidth(), 64);
}

TEST_F(SpriteDrawing, PictureKindDefaultsAndMissingPictures) {
    Sprite whole;
    ASSERT_TRUE(load(whole, archive, "file_name mui/whole.jpg"));
    EXPECT_NE(dynamic_cast<JpegTexture*>(whole.texture()), nullptr);
    EXPECT_EQ(whole.cellWidth(), 40);
    EXPECT_EQ(whole.cellHeight(), 24);

    Sprite upper;
    dir.write("mui/UPPER.TGA", test::makeTga(8, 8, 24, sheetPixel));
    ASSERT_TRUE(load(upper, archive, "file_name mui/UPPER.TGA groups 0 frames 0"));
    EXPECT_NE(dynamic_cast<TgaTexture*>(upper.texture()), nullptr);
    EXPECT_EQ(upper.cellWidth(), 8) << "zero counts read as one";

    Sprite missing;
    EXPECT_TRUE(load(missing, archive, "frames 2"));  // reads the picture "0"
    EXPECT_EQ(missing.cellWidth(), 0);
    missing.x = missing.y = 64;
    missing.draw(true);
    EXPECT_EQ(gl.inkedPixels(gl.frame()), 0);
}

}  // namespace
}  // namespace brv
