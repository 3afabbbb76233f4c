#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/OffscreenGl.h"

namespace brv {
namespace {

TEST(OffscreenGl, ClearsAndReadsBackAColour) {
    OffscreenGl gl(64, 32);
    ASSERT_TRUE(gl.ok()) << gl.error();
    glViewport(0, 0, 64, 32);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 0);
}

}  // namespace
}  // namespace brv
