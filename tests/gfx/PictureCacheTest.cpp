#include "gfx/PictureCache.h"

#include <gtest/gtest.h>

#include "gfx/FrameState.h"
#include "gfx/JpegTexture.h"
#include "gfx/StretchedPicture.h"
#include "tests/gfx/GlProbe.h"
#include "tests/gfx/TestPictures.h"

namespace brv {
namespace {

// The kept pixels must give back exactly what the stretched picture draws, in
// a window and between the bars of full screen, and a changed view must be
// drawn anew rather than copied from the old one.
TEST(PictureCache, GivesBackTheStretchedPicturePixelForPixelAndRedrawsAChangedView) {
    test::GlProbe gl(200, 150);
    ASSERT_TRUE(gl.ok()) << gl.error();
    const auto jpeg = test::encodeJpeg(64, 48, 3, [](int x, int y) {
        return test::Rgba{static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 5),
                          static_cast<std::uint8_t>((x / 4 + y / 4) % 2 * 200)};
    });
    JpegTexture picture;
    ASSERT_TRUE(picture.loadMemory(jpeg.data(), jpeg.size(), false, false));
    PictureCache cache;
    const int texturesBefore = test::liveTextureCount();
    for (const FrameSize size :
         {FrameSize{200, 150, 800, 600, false}, FrameSize{200, 120, 800, 600, true}}) {
        beginFrame(size);
        drawStretchedPicture(picture, 800, 600);
        const auto direct = gl.frame();
        for (int frame = 0; frame < 3; ++frame) {
            beginFrame(size);
            cache.draw(picture, 800, 600);
            EXPECT_EQ(gl.firstDifference(gl.frame(), direct), "")
                << "frame " << frame << (size.keepAspect ? " full screen" : " window");
        }
        EXPECT_EQ(test::liveTextureCount(), texturesBefore + 1);
    }
    cache.release();
    EXPECT_EQ(test::liveTextureCount(), texturesBefore);
}

}  // namespace
}  // namespace brv
