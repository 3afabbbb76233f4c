#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "gfx/TgaTexture.h"
#include "tests/gfx/GlProbe.h"
#include "tests/gfx/TestPictures.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/EditBox.h"
#include "ui/RadioButton.h"

namespace brv {
namespace {

using test::GlProbe;
using test::Rgba;
using Pixel = std::array<std::uint8_t, 4>;

constexpr Rgba kBandColours[] = {
    {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};

// A picture of `bands` equal bands, band 1 (red) in the first rows of the file,
// which become the bottom of the texture; then green, blue, white.
void loadBands(TgaTexture& texture, int width, int height, int bands) {
    const auto tga = test::makeTga(
        width, height, 32, [&](int, int row) { return kBandColours[row * bands / height]; });
    ASSERT_TRUE(texture.loadMemory(tga.data(), tga.size(), false, false));
}

bool isColour(const Pixel& p, const Rgba& c) {
    auto near = [](int a, int b) { return a - b < 8 && b - a < 8; };
    return near(p[0], c.r) && near(p[1], c.g) && near(p[2], c.b);
}

class DrawnDialog : public Dialog {
public:
    void onWidgetEvent(Widget*) override {}
};

TEST(WidgetDrawing, ButtonShowsTheBandOfItsStateAndTakesItsSizeFromThePicture) {
    GlProbe probe;
    ASSERT_TRUE(probe.ok()) << probe.error();
    TgaTexture picture;
    loadBands(picture, 40, 30, 3);
    Button button(nullptr, &picture, nullptr);
    button.setPosition(10, 10);
    const int expected[] = {0, 1, 2};
    for (int state = 1; state <= 3; ++state) {
        probe.clear();
        button.state = state;
        button.draw();
        EXPECT_TRUE(isColour(probe.pixel(30, 15), kBandColours[expected[state - 1]]))
            << "state " << state;
    }
    EXPECT_FLOAT_EQ(button.width, 40);
    EXPECT_NEAR(button.height, 10, 1e-4);
    // The hit box is now one band of the picture, edges included.
    EXPECT_TRUE(button.onMouseMove(50, 20, 0));
    EXPECT_FALSE(button.onMouseMove(51, 20, 0));
    EXPECT_FALSE(button.onMouseMove(30, 21, 0));

    probe.clear();
    button.visible = false;
    button.draw();
    EXPECT_EQ(probe.inkedPixels(probe.frame()), 0);
}

TEST(WidgetDrawing, RadioButtonBandHeightIsAWholeQuarterOfThePicture) {
    GlProbe probe;
    ASSERT_TRUE(probe.ok()) << probe.error();
    TgaTexture picture;
    loadBands(picture, 20, 42, 4);
    RadioButton radio(nullptr, &picture);
    radio.x = 0;
    radio.y = 0;
    radio.setChecked(true);
    glColor4f(0, 0, 0, 1);  // the option sets opaque white itself
    radio.draw();
    EXPECT_FLOAT_EQ(radio.width, 20);
    EXPECT_FLOAT_EQ(radio.height, 10);  // 42 / 4 in whole pixels
    EXPECT_TRUE(isColour(probe.pixel(10, 5), kBandColours[2]));
}

TEST(WidgetDrawing, EditBoxCaretStandsAtTheInsetAndOnlyWhenFocused) {
    GlProbe probe;
    ASSERT_TRUE(probe.ok()) << probe.error();
    TgaTexture picture;
    loadBands(picture, 60, 40, 2);
    EditBox box(nullptr, nullptr, 10, &picture);
    box.x = 20;
    box.y = 30;
    box.caretOn = true;
    box.draw();
    EXPECT_FLOAT_EQ(box.height, 20);
    // Idle: band 1 everywhere, no caret.
    EXPECT_TRUE(isColour(probe.pixel(28, 40), kBandColours[0]));

    probe.clear();
    box.onLButtonDown(25, 35, 0);
    box.draw();
    // Focused: band 2 and the 3-unit caret from x + 7, inside the insets.
    EXPECT_TRUE(isColour(probe.pixel(50, 40), kBandColours[1]));
    EXPECT_TRUE(isColour(probe.pixel(28, 40), Rgba{255, 255, 0, 255}));
    EXPECT_TRUE(isColour(probe.pixel(28, 34), kBandColours[1]));  // above y + inset
    EXPECT_TRUE(isColour(probe.pixel(31, 40), kBandColours[1]));  // right of the caret

    probe.clear();
    box.caretOn = false;
    box.draw();
    EXPECT_TRUE(isColour(probe.pixel(28, 40), kBandColours[1]));
}

TEST(DialogDrawing, ShadeAndFrameDrawOnlyWhenSwitchedOn) {
    GlProbe probe;
    ASSERT_TRUE(probe.ok()) << probe.error();
    DrawnDialog dialog;
    dialog.setLogicalSize(128, 128);
    dialog.x = 20;
    dialog.y = 30;
    dialog.width = 40;
    dialog.height = 50;

    auto drawn = [&](auto&& draw) {
        probe.clear();
        glPushMatrix();
        draw();
        glPopMatrix();
        return probe.frame();
    };
    dialog.shadeVisible = false;
    EXPECT_EQ(probe.inkedPixels(drawn([&] { dialog.drawShade(0, 1, 0, 1); })), 0);
    dialog.shadeVisible = true;
    EXPECT_EQ(probe.inkedPixels(drawn([&] { dialog.drawShade(0, 1, 0, 1); })), 128 * 128);

    dialog.frameVisible = false;
    EXPECT_EQ(probe.inkedPixels(drawn([&] { dialog.drawFrame(0, 0, 1, 1); })), 0);
    dialog.frameVisible = true;
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(probe.inkedPixels(drawn([&] { dialog.drawFrame(0, 0, 1, 1); })), 40 * 50);
    EXPECT_TRUE(isColour(probe.pixel(20, 30), Rgba{0, 0, 255, 255}));
    EXPECT_TRUE(isColour(probe.pixel(59, 79), Rgba{0, 0, 255, 255}));
    EXPECT_FALSE(isColour(probe.pixel(60, 79), Rgba{0, 0, 255, 255}));
}

}  // namespace
}  // namespace brv
