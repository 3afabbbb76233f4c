#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cctype>
#include <filesystem>

#include "app/window/WindowProcedure.h"
#include "config/GameParams.h"
#include "gfx/BitmapFont.h"
#include "platform/VirtualKeys.h"
#include "tests/app/window/AppTestViews.h"
#include "tests/support/SaveFolderIn.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

namespace fs = std::filesystem;

// Paints the top half of the 800 x 600 logical area red, the bottom half
// blue, so a picture cut or upside down shows; counts the keys it is given.
class TwoColourScreen : public View {
public:
    void draw() override {
        glDisable(GL_TEXTURE_2D);
        glColor3f(1, 0, 0);
        glRectf(0, 0, 800, 300);
        glColor3f(0, 0, 1);
        glRectf(0, 300, 800, 600);
    }
    void onKeyDown(int) override { ++keys; }
    int keys = 0;
};

// RGB of pixel (x, y) of a PNG file, decoded by libpng.
std::vector<int> pixelOf(const fs::path& path, unsigned x, unsigned y, png_image& image) {
    image = {};
    image.version = PNG_IMAGE_VERSION;
    std::vector<std::uint8_t> rgb;
    if (png_image_begin_read_from_file(&image, path.c_str()) != 0) {
        image.format = PNG_FORMAT_RGB;
        rgb.resize(PNG_IMAGE_SIZE(image));
        png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
    }
    const std::size_t i = (y * image.width + x) * 3;
    return i + 2 < rgb.size() ? std::vector<int>{rgb[i], rgb[i + 1], rgb[i + 2]}
                              : std::vector<int>{};
}

TEST(Screenshot, F12SavesTheFrameAsSeenInFullScreenAndCaptionsWhereOrWhyNot) {
    test::TempDir dir;
    GameParams params(dir.path());
    params.m_save_folder = test::saveFolderIn(dir.path());
    test::WindowFixture f(true);
    const BitmapFont font;
    f.window.useForScreenshots(params.m_save_folder, font);
    const auto send = [&](MessageKind kind, int key = 0) {
        windowProcedure(f.window, {.kind = kind, .key = key});
    };
    const auto pictures = [&] {
        std::error_code error;
        const fs::directory_iterator files(dir.file("data/screenshots"), error);
        return std::vector<fs::path>(fs::begin(files), fs::end(files));
    };
    const auto& caption = f.window.screenshot().caption();
    send(MessageKind::KeyDown, kVkF12);
    EXPECT_EQ(caption, "Screenshot not saved: the game has no window");

    f.platform.setDesktop(160, 90);
    ASSERT_TRUE(f.window.create("Brevora", 0, 0, 160, 90));
    f.window.setLogicalSize(800, 600);
    ASSERT_TRUE(f.window.enterFullScreen());
    auto& screen = test::pushScreen(f.window, std::make_unique<TwoColourScreen>());
    send(MessageKind::KeyDown, kVkF12);
    send(MessageKind::Tick);
    EXPECT_EQ(screen.keys, 0) << "F12 is the window's";
    ASSERT_EQ(pictures().size(), 1u);
    const fs::path shot = pictures()[0];
    // "brevora-2026-12-08-031522.png": digits where the date and time go.
    const std::string name = shot.filename().string();
    std::string shape = name;
    for (char& c : shape) {
        c = std::isdigit(static_cast<unsigned char>(c)) ? '9' : c;
    }
    EXPECT_EQ(shape, "brevora-9999-99-99-999999.png") << name;
    EXPECT_EQ(caption, "Screenshot saved: " + shot.string());
    // The whole drawable, bars included: 800 x 600 in 160 x 90 is 120 wide
    // between bars of 20.
    png_image image;
    EXPECT_EQ(pixelOf(shot, 10, 45, image), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(image.width * image.height, 160u * 90u);
    EXPECT_EQ(pixelOf(shot, 80, 10, image), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixelOf(shot, 80, 80, image), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(pixelOf(shot, 150, 45, image), (std::vector<int>{0, 0, 0}));

    // Another in the same second keeps the first; its caption shows in the
    // frame it is taken in and 66 more, two seconds.
    send(MessageKind::KeyDown, kVkF12);
    for (int tick = 0; tick <= 67; ++tick) {
        send(MessageKind::Tick);
        EXPECT_EQ(caption.empty(), tick == 67) << tick;
    }
    EXPECT_EQ(pictures().size(), 2u);

    fs::remove_all(dir.file("data/screenshots"));
    dir.write("data/screenshots", "a file where the folder would go");
    send(MessageKind::KeyDown, kVkF12);
    send(MessageKind::Tick);
    EXPECT_EQ(caption, "Screenshot not saved: Not a directory");
}

}  // namespace
}  // namespace brv
