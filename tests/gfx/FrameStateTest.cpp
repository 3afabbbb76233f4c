#include "gfx/FrameState.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/gfx/GlProbe.h"

namespace brv {
namespace {

// Fills the whole logical area in red.
void fillLogicalArea() {
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 0, 0, 1);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(0, 0);
    glVertex2f(0, 600);
    glVertex2f(800, 0);
    glVertex2f(800, 600);
    glEnd();
}

bool red(const std::array<std::uint8_t, 4>& p) {
    return p[0] > 200 && p[1] < 50 && p[2] < 50;
}

TEST(FrameState, FullScreenKeepsTheAspectBetweenBlackBarsAndAWindowStretches) {
    test::GlProbe gl(160, 90);
    ASSERT_TRUE(gl.ok()) << gl.error();
    // Something left over from the frame before must not show in the bars.
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);

    // 800 by 600 in 160 by 90: 120 wide, 20-pixel bars on either side.
    beginFrame({160, 90, 800, 600, true});
    fillLogicalArea();
    EXPECT_EQ(gl.inkedPixels(gl.frame()), 120 * 90);
    EXPECT_FALSE(red(gl.pixel(19, 45)));
    EXPECT_TRUE(red(gl.pixel(20, 0)));
    EXPECT_TRUE(red(gl.pixel(139, 89)));
    EXPECT_FALSE(red(gl.pixel(140, 45)));

    // A tall surface gets its bars above and below.
    EXPECT_EQ(logicalViewport({90, 160, 800, 600, true}).y, 46);
    EXPECT_EQ(logicalViewport({90, 160, 800, 600, true}).height, 67);

    beginFrame({160, 90, 800, 600, false});
    fillLogicalArea();
    EXPECT_EQ(gl.inkedPixels(gl.frame()), 160 * 90);
}

}  // namespace
}  // namespace brv
