#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/KeyValueFile.h"
#include "config/ScoreTable.h"
#include "gfx/BitmapFont.h"
#include "gfx/ScoreTableDraw.h"
#include "gfx/TgaTexture.h"
#include "tests/gfx/GlProbe.h"
#include "tests/gfx/TestPictures.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

enum class Shade { kYellow, kShadow, kOther };

Shade shadeOf(const std::array<std::uint8_t, 4>& p) {
    if (p[0] > 200 && p[1] > 200 && p[2] < 60) {
        return Shade::kYellow;
    }
    return p[0] < 40 && p[1] < 40 && p[2] < 40 ? Shade::kShadow : Shade::kOther;
}

// Whether some pixel of row y between x0 and x1 has the shade.
bool rowHas(test::GlProbe& gl, int x0, int x1, int y, Shade shade) {
    for (int x = x0; x <= x1; ++x) {
        if (shadeOf(gl.pixel(x, y)) == shade) {
            return true;
        }
    }
    return false;
}

// An offscreen context with a font of blocks, every glyph three columns wide.
struct TableCanvas {
    test::GlProbe gl{800, 600};
    std::vector<std::uint8_t> picture = test::makeFontPicture(
        256, 64, 20, std::vector<std::vector<int>>(2, std::vector<int>(47, 3)), true);
    TgaTexture texture;
    BitmapFont font;

    bool ready() {
        return gl.ok() && texture.loadMemory(picture.data(), picture.size(), false, false) &&
               font.build(picture.data(), picture.size(), &texture);
    }
};

TEST(ScoreTableDraw, SevenLinesOfYellowNamesAndScoresOverAShadow) {
    TableCanvas canvas;
    ASSERT_TRUE(canvas.ready()) << canvas.gl.error();
    test::GlProbe& gl = canvas.gl;
    BitmapFont& font = canvas.font;

    // A table file may list more than seven entries; only seven lines fit.
    test::TempDir dir;
    KeyValueFile file;
    file.set("num", "8");
    for (int i = 0; i < 8; ++i) {
        file.set("name" + std::to_string(i), "AB");
        file.set("score" + std::to_string(i), std::to_string(800 - 100 * i));
    }
    ASSERT_TRUE(file.saveToFile(dir.file("scores.tab"), "ze#81p", 6));
    ScoreTable table;
    ASSERT_TRUE(table.load(dir.file("scores.tab")));
    ASSERT_GE(table.entries().size(), 7u);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    drawScoreTable(table, font);

    const int nameEnd = 100 + static_cast<int>(font.textWidth("AB", 40)) + 2;
    const int scoreEnd = 560 + static_cast<int>(font.textWidth("800", 40)) + 2;
    for (int i = 0; i < 7; ++i) {
        const int middle = 150 + 60 * i - 20;
        EXPECT_TRUE(rowHas(gl, 100, nameEnd, middle, Shade::kYellow))
            << "name of line " << i << " on row " << middle;
        EXPECT_TRUE(rowHas(gl, 100, nameEnd, middle, Shade::kShadow)) << "shadow of line " << i;
        EXPECT_FALSE(rowHas(gl, 90, 99, middle, Shade::kYellow)) << "left of x 100, line " << i;
        EXPECT_TRUE(rowHas(gl, 560, scoreEnd, middle, Shade::kYellow)) << "score of line " << i;
        EXPECT_FALSE(rowHas(gl, 100, nameEnd, 150 + 60 * i + 3, Shade::kYellow))
            << "below the baseline of line " << i;
    }
    EXPECT_FALSE(rowHas(gl, 100, scoreEnd, 150 - 60 - 20, Shade::kYellow)) << "above line 0";
    EXPECT_FALSE(rowHas(gl, 100, scoreEnd, 150 + 60 * 7 - 20, Shade::kYellow)) << "an eighth line";
}

TEST(ScoreTableDraw, AnEmptyTableSaysSoCentredOnTheFirstLine) {
    TableCanvas canvas;
    ASSERT_TRUE(canvas.ready()) << canvas.gl.error();
    test::GlProbe& gl = canvas.gl;
    BitmapFont& font = canvas.font;
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    drawScoreTable(ScoreTable(), font);

    int left = 800;
    int right = -1;
    for (int x = 0; x < 800; ++x) {
        if (shadeOf(gl.pixel(x, 150 - 20)) == Shade::kYellow) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    const float width = font.textWidth("No scores yet", 40);
    EXPECT_GT(right - left, width * 0.8f);
    EXPECT_NEAR(left + right, 800, 8) << left << ".." << right;
    EXPECT_FALSE(rowHas(gl, 0, 799, 150 + 60 - 20, Shade::kYellow)) << "nothing on a second line";
}

}  // namespace
}  // namespace brv
