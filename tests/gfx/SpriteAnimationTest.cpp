#include <gtest/gtest.h>

#include <string>

#include "gfx/Sprite.h"

namespace brv {
namespace {

TEST(SpriteAnimation, FramesAdvanceAndWrap) {
    Sprite sprite;
    const std::string description = "file_name mui/x.tga frames 4";
    sprite.readDescription(description.data(), description.size());
    EXPECT_EQ(sprite.groups(), 1);
    EXPECT_EQ(sprite.frames(), 4);
    const int expected[9] = {0, 1, 1, 2, 3, 3, 0, 0, 1};
    for (int tick = 0; tick < 9; ++tick) {
        sprite.advance(30);
        EXPECT_EQ(sprite.frame(), expected[tick]) << "tick " << tick + 1;
        if (tick == 6) {
            EXPECT_EQ(sprite.elapsed(), 10u);  // 210 reached frame 4: wrapped
        }
    }
    // A copy animates on its own and never owns the texture.
    Sprite copy(sprite);
    copy.advance(30);
    EXPECT_EQ(sprite.frame(), 1);
    EXPECT_FALSE(copy.ownsTexture());
}

TEST(SpriteAnimation, DescriptionDefaultsAndZeroCounts) {
    Sprite sprite;
    const std::string onlyName = "file_name mui/flag.tga";
    sprite.readDescription(onlyName.data(), onlyName.size());
    EXPECT_EQ(sprite.groups(), 1);
    EXPECT_EQ(sprite.frames(), 1);
    const std::string zeros = "groups 0 frames -3";
    sprite.readDescription(zeros.data(), zeros.size());
    EXPECT_EQ(sprite.fileName(), "0");
    EXPECT_EQ(sprite.groups(), 1);
    EXPECT_EQ(sprite.frames(), 1);
    for (int i = 0; i < 10; ++i) {
        sprite.advance(30);
        EXPECT_EQ(sprite.frame(), 0);
    }
}

}  // namespace
}  // namespace brv
