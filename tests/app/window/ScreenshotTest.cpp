#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <filesystem>
#include <regex>

#include "app/window/GlWindow.h"
#include "app/window/View.h"
#include "app/window/WindowProcedure.h"
#include "config/GameParams.h"
#include "platform/HeadlessPlatform.h"
#include "platform/VirtualKeys.h"
#include "tests/support/SaveFolderIn.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

namespace fs = std::filesystem;
using Rgb = std::array<int, 3>;

// A screen painting the top half of the 800 x 600 logical area red and the
// bottom half blue, so a picture upside down or cut shows; it counts the keys
// it is given.
class TwoColourScreen : public View {
public:
    void draw() override {
        glDisable(GL_TEXTURE_2D);
        half(0, 1, 0, 0);
        half(300, 0, 0, 1);
        glColor4f(1, 1, 1, 1);
    }
    void onKeyDown(int) override { ++keys; }
    int keys = 0;

private:
    static void half(float top, float r, float g, float b) {
        glColor4f(r, g, b, 1);
        glBegin(GL_TRIANGLE_STRIP);
        glVertex2f(0, top);
        glVertex2f(0, top + 300);
        glVertex2f(800, top);
        glVertex2f(800, top + 300);
        glEnd();
    }
};

// A game window with a real GL context whose files go to a folder of the
// test's own.
struct ShotWindow {
    ShotWindow() : params(dir.path()), scope(params), window(platform) {
        params.m_save_folder = test::saveFolderIn(dir.path());
        previous = setGlWindow(&window);
    }
    ~ShotWindow() { setGlWindow(previous); }

    void send(MessageKind kind, int key = 0) {
        Message m;
        m.kind = kind;
        m.key = key;
        windowProcedure(window, m);
    }
    void pressF12AndDraw() {
        send(MessageKind::KeyDown, kVkF12);
        send(MessageKind::Tick);
    }
    std::vector<fs::path> pictures() const {
        std::vector<fs::path> found;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(dir.file("data/screenshots"), error)) {
            found.push_back(entry.path());
        }
        return found;
    }

    test::TempDir dir;
    GameParams params;
    ScopedGameParams scope;
    HeadlessPlatform platform{true};
    GlWindow window;
    GlWindow* previous = nullptr;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    Rgb at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2]};
    }
};

Picture decodePng(const fs::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return picture;
    }
    image.format = PNG_FORMAT_RGBA;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr) != 0) {
        picture.width = static_cast<int>(image.width);
        picture.height = static_cast<int>(image.height);
    }
    return picture;
}

TEST(Screenshot, F12SavesTheFrameAsSeenInFullScreenAndCaptionsWhere) {
    ShotWindow s;
    s.platform.setDesktop(160, 90);
    ASSERT_TRUE(s.window.create("Brevora", 0, 0, 160, 90));
    s.window.setLogicalSize(800, 600);
    ASSERT_TRUE(s.window.enterFullScreen());
    auto screen = std::make_unique<TwoColourScreen>();
    TwoColourScreen& watched = *screen;
    s.window.pushScreen(std::move(screen));

    s.pressF12AndDraw();
    EXPECT_EQ(watched.keys, 0) << "F12 is the window's, not the screen's";
    const std::vector<fs::path> shots = s.pictures();
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_TRUE(std::regex_match(shots[0].filename().string(),
                                 std::regex(R"(brevora-\d{4}-\d\d-\d\d-\d{6}\.png)")))
        << shots[0];
    EXPECT_EQ(s.window.screenshot().caption(), "Screenshot saved: " + shots[0].string());

    // The whole drawable, bars included: 800 x 600 scaled into 160 x 90 is
    // 120 wide between two bars of 20.
    const Picture picture = decodePng(shots[0]);
    ASSERT_EQ(picture.width, 160);
    ASSERT_EQ(picture.height, 90);
    EXPECT_EQ(picture.at(10, 45), (Rgb{0, 0, 0}));
    EXPECT_EQ(picture.at(80, 10), (Rgb{255, 0, 0}));
    EXPECT_EQ(picture.at(80, 80), (Rgb{0, 0, 255}));
    EXPECT_EQ(picture.at(150, 45), (Rgb{0, 0, 0}));

    // A second picture, even in the same second, keeps the first.
    s.pressF12AndDraw();
    EXPECT_EQ(s.pictures().size(), 2u);
    for (int tick = 0; tick < 67; ++tick) {
        EXPECT_FALSE(s.window.screenshot().caption().empty()) << "tick " << tick;
        s.send(MessageKind::Tick);
    }
    EXPECT_TRUE(s.window.screenshot().caption().empty()) << "gone after two seconds";
}

TEST(Screenshot, AFolderThatCannotBeWrittenIsCaptionedAndNothingBreaks) {
    ShotWindow s;
    s.send(MessageKind::KeyDown, kVkF12);
    EXPECT_EQ(s.window.screenshot().caption(), "Screenshot not saved: the game has no window");

    ASSERT_TRUE(s.window.create("Brevora", 0, 0, 80, 60));
    s.window.setLogicalSize(800, 600);
    s.window.pushScreen(std::make_unique<TwoColourScreen>());
    s.dir.write("data/screenshots", "a file where the folder would go");
    s.pressF12AndDraw();
    EXPECT_EQ(s.window.screenshot().caption(), "Screenshot not saved: Not a directory");
    EXPECT_TRUE(s.window.screenshot().savedPath().empty());
    EXPECT_TRUE(fs::is_regular_file(s.dir.file("data/screenshots")));
}

}  // namespace
}  // namespace brv
