#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "config/GameParams.h"
#include "gfx/FrameState.h"
#include "gfx/ResourceSet.h"
#include "platform/OffscreenGl.h"
#include "sim/ColonyColours.h"
#include "sim/LifeSource.h"
#include "sim/RulesState.h"
#include "sim/view/Coach.h"
#include "sim/view/ColonyPalette.h"
#include "sim/view/GameScreen.h"
#include "tests/sim/view/ScreenFixture.h"
#include "tests/support/TestContext.h"

namespace brv {
namespace {

using Rgb = std::array<int, 3>;

// The window's picture read back once, addressed in window pixels from the
// top left.
class Frame {
public:
    Frame(int width, int height)
        : width_(width), height_(height), rgba_(static_cast<std::size_t>(width) * height * 4) {
        glFinish();
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba_.data());
    }
    Rgb at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(height_ - 1 - y) * width_ + x) * 4;
        return {rgba_[i], rgba_[i + 1], rgba_[i + 2]};
    }
    bool operator==(const Frame& other) const { return rgba_ == other.rgba_; }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> rgba_;
};

bool near(const Rgb& a, const Rgb& b, int tolerance) {
    for (int c = 0; c < 3; ++c) {
        if (std::abs(a[c] - b[c]) > tolerance) {
            return false;
        }
    }
    return true;
}

Rgb toRgb(const ColonyColour& c) {
    return {static_cast<int>(std::lround(c.red * 255)),
            static_cast<int>(std::lround(c.green * 255)),
            static_cast<int>(std::lround(c.blue * 255))};
}

// A game of four colonies on the built data set, drawn into a real context of
// 800 × 600 times `scale` pixels with the frame state the window sets.
class ScreenDrawing : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        scale_ = GetParam();
        gl_ = std::make_unique<OffscreenGl>(800 * scale_, 600 * scale_);
        ASSERT_TRUE(gl_->ok()) << gl_->error();
        params_ = std::make_unique<GameParams>(std::string(BREVORA_BUILD_DIR) + "/game");
        if (!params_->m_archive.contains("mui/font.tga")) {
            GTEST_SKIP() << "the data set of this build has no pictures";
        }
        own_ = std::make_unique<test::TestContext>(*params_);
        own_->art.loadAll();
        screen_ = std::make_unique<GameScreen>(own_->context, state_, 4, 0);
    }
    void TearDown() override {
        screen_.reset();
        if (own_) {
            own_->art.releaseAll();
        }
    }
    Frame draw() {
        beginFrame({800 * scale_, 600 * scale_, 800, 600});
        screen_->draw();
        return Frame(800 * scale_, 600 * scale_);
    }
    // Window pixel of a logical position.
    int px(float logical) const { return static_cast<int>(logical) * scale_; }

    // Whether anything drawn stands within `cells` of the cell.
    bool clearAround(int column, int row, float cells) const {
        auto far = [&](int c, int r) { return std::hypot(c - column, r - row) > cells; };
        for (const auto& source : screen_->world().lifeSources()) {
            if (!far(source->column(), source->row())) {
                return false;
            }
        }
        for (const auto& colony : screen_->world().colonies()) {
            for (const auto& flag : colony->flags()) {
                if (!far(flag->column(), flag->row())) {
                    return false;
                }
            }
        }
        return true;
    }

    int scale_ = 1;
    std::unique_ptr<OffscreenGl> gl_;
    std::unique_ptr<GameParams> params_;
    std::unique_ptr<test::TestContext> own_;
    RulesState state_{7};
    std::unique_ptr<GameScreen> screen_;
};

TEST_P(ScreenDrawing, VirusesShowInTheirColonysColourAtTheirCell) {
    World& world = screen_->world();
    test::clearViruses(world);
    // A row where four cells 30 apart are far from every sprite.
    const float reach = own_->art.lifeSourceSprite.cellWidth() / 4 + 3;
    int row = 40;
    auto rowIsClear = [&](int r) {
        for (int k = 0; k < 4; ++k) {
            if (!clearAround(40 + 30 * k, r, reach)) {
                return false;
            }
        }
        return true;
    };
    while (row < 110 && !rowIsClear(row)) {
        ++row;
    }
    ASSERT_LT(row, 110);
    for (int k = 0; k < 4; ++k) {
        test::put(world, world.colonies()[k].get(), 40 + 30 * k, row);
    }
    const Frame frame = draw();
    const float p = params_->m_distance_beween_viruses;
    for (int k = 0; k < 4; ++k) {
        const Rgb colour = toRgb(kColonyColours[k]);
        // Points stand one unit in from the cell's corner.
        const int x = px((40 + 30 * k) * p + 1);
        const int y = px(row * p + 1);
        EXPECT_TRUE(near(frame.at(x, y), colour, 2))
            << "colony " << k << " at " << x << "," << y << ": " << frame.at(x, y)[0] << " "
            << frame.at(x, y)[1] << " " << frame.at(x, y)[2];
        EXPECT_FALSE(near(frame.at(x + 12, y), colour, 2)) << "the field beside it, colony " << k;
    }
    // The colour-blind palette reaches the same pixels.
    params_->m_preferences.colourBlindPalette = true;
    const Frame changed = draw();
    for (int k = 0; k < 4; ++k) {
        const int x = px((40 + 30 * k) * p + 1);
        const int y = px(row * p + 1);
        EXPECT_TRUE(near(changed.at(x, y), toRgb(kColourBlindColours[k]), 2)) << "colony " << k;
    }
}

TEST_P(ScreenDrawing, LifeSourcesAndOnlyThePlayersFlagsAreDrawnAtTheirCells) {
    World& world = screen_->world();
    const float p = params_->m_distance_beween_viruses;
    test::clearViruses(world);

    // The last random source, compared with the same frame without the
    // life-source art.
    const LifeSource& source = *world.lifeSources().back();
    Sprite& sourceArt = own_->art.lifeSourceSprite;
    const float half = sourceArt.cellWidth() / 2;
    const Frame with = draw();
    sourceArt.setVisible(false);
    const Frame without = draw();
    sourceArt.setVisible(true);
    const int sx = px(source.column() * p + 1);
    const int sy = px(source.row() * p + 1);
    int changed = 0;
    for (int d = -static_cast<int>(half) + 2; d < static_cast<int>(half) - 2; ++d) {
        changed += with.at(sx + px(d), sy) != without.at(sx + px(d), sy) ? 1 : 0;
    }
    EXPECT_GT(changed, static_cast<int>(half / 2)) << "the sprite covers its cell";
    const int outside = px(half + 4);
    if (clearAround(source.column(), source.row(), 2 * half / p + 6)) {
        EXPECT_EQ(with.at(sx + outside, sy), without.at(sx + outside, sy));
        EXPECT_EQ(with.at(sx, sy - outside), without.at(sx, sy - outside));
    }

    // The player's first flag stands on its start cell; hiding the flag art
    // changes the picture there. A computer colony's flag is never drawn:
    // taking it away leaves the picture as it was.
    const Flag& flag = *world.colonies()[0]->flags().front();
    Sprite& flagArt = own_->art.flagSprite;
    flagArt.setVisible(false);
    const Frame noFlag = draw();
    flagArt.setVisible(true);
    const int flagHalf = static_cast<int>(flagArt.cellWidth() / 2);
    int flagInk = 0;
    for (int dy = -flagHalf; dy < flagHalf; ++dy) {
        for (int dx = -flagHalf; dx < flagHalf; ++dx) {
            const int x = px(flag.column() * p + dx);
            const int y = px(flag.row() * p + dy);
            flagInk += with.at(x, y) != noFlag.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(flagInk, flagHalf * flagHalf / 4) << "the flag over its start cell";
    Colony& computer = *world.colonies()[1];
    const Flag& computerFlag = *computer.flags().front();
    ASSERT_TRUE(computer.removeFlagNear(static_cast<int>(computerFlag.column() * p),
                                        static_cast<int>(computerFlag.row() * p)));
    EXPECT_TRUE(draw() == with);
}

// A full source wears a whole white ring; a nearly spent one a sliver from
// twelve o'clock that blinks on the world's beat, and its glow fades.
TEST_P(ScreenDrawing, LifeSourcesShowTheReserveTheyHaveLeft) {
    World& world = screen_->world();
    test::clearViruses(world);
    int row = 40;
    while (row < 110 && !(clearAround(60, row, 16) && clearAround(140, row, 16))) {
        ++row;
    }
    ASSERT_LT(row, 110);
    LifeSource& full = world.addLifeSource(60, row);
    LifeSource& spent = world.addLifeSource(140, row);
    // One feed of 95 % of its reserve leaves the second nearly spent.
    params_->m_life_distribute[world.difficulty()] = spent.reserve() - spent.reserve() / 20;
    params_->m_life_src_add_prob[world.difficulty()] = 1;
    test::put(world, world.colonies()[0].get(), 140, row);
    spent.update(30);
    test::clearViruses(world);
    spent.animation() = full.animation();
    // `radius` out from the source's middle, `degrees` clockwise from twelve.
    auto at = [&](const Frame& frame, const LifeSource& s, float degrees, float radius) {
        const float a = (degrees - 90) * 3.14159265f / 180;
        const float p = params_->m_distance_beween_viruses;
        return frame.at(static_cast<int>((s.column() * p + 1 + radius * std::cos(a)) * scale_),
                        static_cast<int>((s.row() * p + 1 + radius * std::sin(a)) * scale_));
    };
    const Rgb white{255, 255, 255};
    RulesState& state = world.rules();
    state.setCounters(state.columnParity(), 0);
    const Frame onBeat = draw();
    state.setCounters(state.columnParity(), World::kInfluenceEveryTicks - 1);
    const Frame offBeat = draw();
    EXPECT_TRUE(near(at(onBeat, spent, 8, 19.5f), white, 40));
    EXPECT_FALSE(near(at(offBeat, spent, 8, 19.5f), white, 100)) << "the sliver blinks";
    for (const float degrees : {8.0f, 90.0f, 180.0f, 270.0f}) {
        EXPECT_TRUE(near(at(offBeat, full, degrees, 19.5f), white, 40)) << degrees;
        EXPECT_FALSE(degrees > 10 && near(at(onBeat, spent, degrees, 19.5f), white, 100));
    }
    const auto brightness = [](const Rgb& c) { return c[0] + c[1] + c[2]; };
    EXPECT_LT(brightness(at(onBeat, spent, 0, 0)), brightness(at(onBeat, full, 0, 0)) * 3 / 4);
}

TEST_P(ScreenDrawing, StatusLinesStandSideBySideInTheColonysColour) {
    // The start squares reach up into the status band; only the text stays.
    test::clearViruses(screen_->world());
    const Frame frame = draw();
    for (int k = 0; k < 4; ++k) {
        const Rgb colour = toRgb(kColonyColours[k]);
        int inked = 0;
        int elsewhere = 0;
        for (int y = px(4); y < px(20); ++y) {
            for (int x = px(0); x < px(800); ++x) {
                if (!near(frame.at(x, y), colour, 12)) {
                    continue;
                }
                const bool inBand = x >= px(10 + 120 * k) && x < px(10 + 120 * k + 118);
                (inBand ? inked : elsewhere) += 1;
            }
        }
        EXPECT_GT(inked, 40 * scale_ * scale_) << "colony " << k;
        EXPECT_LT(elsewhere, inked / 4) << "colony " << k;
    }
}

// A crowd of a line's own colony under it, in the text's very colour, is
// dimmed by the line's band but still shows; the text keeps its colour, with
// either palette.
TEST_P(ScreenDrawing, StatusLinesLieOverTheirOwnVirusesOnATranslucentBand) {
    World& world = screen_->world();
    for (const bool colourBlind : {false, true}) {
        params_->m_preferences.colourBlindPalette = colourBlind;
        // Every cell under each line holds a virus of the line's own colony,
        // drawn in the text's own colour.
        test::clearViruses(world);
        for (int k = 0; k < 4; ++k) {
            for (int c = 30 * k + 2; c < 30 * k + 31; ++c) {
                for (int r = 0; r < 6; ++r) {
                    test::put(world, world.colonies()[k].get(), c, r);
                }
            }
        }
        const Frame crowded = draw();
        // The same lines over an empty field: the counts as before.
        test::clearViruses(world);
        for (const auto& colony : world.colonies()) {
            for (int i = 0; i < 29 * 6; ++i) {
                colony->virusBorn();
            }
        }
        const Frame bare = draw();
        for (int k = 0; k < 4; ++k) {
            const Rgb colour = toRgb(drawnColour(*world.colonies()[k], k, *params_));
            int text = 0;
            int bright = 0;
            int showing = 0;
            for (int y = px(6); y < px(19); ++y) {
                for (int x = px(12 + 120 * k); x < px(118 + 120 * k); ++x) {
                    if (near(bare.at(x, y), colour, 12)) {
                        text += near(crowded.at(x, y), colour, 12) ? 1 : 0;
                    } else if (!near(bare.at(x, y), colour, 100)) {
                        bright += near(crowded.at(x, y), colour, 40) ? 1 : 0;
                        showing += crowded.at(x, y) != bare.at(x, y) ? 1 : 0;
                    }
                }
            }
            EXPECT_GT(text, 40 * scale_ * scale_) << "colony " << k << ", blind " << colourBlind;
            EXPECT_EQ(bright, 0) << "viruses dimmed beside the text, colony " << k;
            EXPECT_GT(showing, px(106) * px(13) / 8) << "the field shows through, colony " << k;
        }
    }
}

// Every count up to five digits stands right-aligned with room on both sides
// of the slash, and the line, band included, ends before the next one.
TEST_P(ScreenDrawing, StatusCountsUpToFiveDigitsKeepClearOfTheSlash) {
    const BitmapFont& font = own_->art.font;
    const auto width = [&](int n) { return font.textWidth(std::to_string(n).c_str(), 15); };
    const PlayScreen::StatusParts widest = PlayScreen::statusParts(font, 99999, 99999);
    EXPECT_LE(widest.width, 114);
    for (int n = 0; n <= 99999; ++n) {
        const PlayScreen::StatusParts parts = PlayScreen::statusParts(font, n, 99999 - n);
        ASSERT_GE(parts.slash - parts.count - width(n), 2) << n;
        ASSERT_GE(parts.kills - parts.slash - font.textWidth("/", 15), 2) << n;
        ASSERT_FLOAT_EQ(parts.slash, widest.slash) << n;
        ASSERT_FLOAT_EQ(parts.kills + width(99999 - n), widest.width) << n;
    }
}

// Muted, a mark in the bottom-right corner and nowhere else; with fewer than
// two flags left to set, the flag count under the player's status line.
TEST_P(ScreenDrawing, MuteMarkAndTheFlagCountNearTheLimit) {
    // The line under the status lines, in the player's colour.
    const auto countInk = [&](const Frame& frame) {
        int ink = 0;
        for (int y = px(24); y < px(40); ++y) {
            for (int x = px(10); x < px(90); ++x) {
                ink += near(frame.at(x, y), toRgb(kColonyColours[0]), 12) ? 1 : 0;
            }
        }
        return ink;
    };
    test::clearViruses(screen_->world());
    Colony& player = *screen_->world().colonies().front();
    for (int i = 0; i < 500; ++i) {
        player.virusBorn();  // room for more flags
    }
    ASSERT_GE(player.flagLimit() - static_cast<int>(player.flags().size()), 2);
    const Frame plain = draw();
    EXPECT_EQ(countInk(plain), 0);
    params_->m_preferences.muted = true;
    const Frame muted = draw();
    params_->m_preferences.muted = false;
    int inCorner = 0;
    int elsewhere = 0;
    for (int y = 0; y < px(600); y += scale_) {
        for (int x = 0; x < px(800); x += scale_) {
            const bool corner = x >= px(700) && y >= px(570);
            (corner ? inCorner : elsewhere) += muted.at(x, y) != plain.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(inCorner, 40);
    EXPECT_EQ(elsewhere, 0);

    for (int i = 0; i < 500; ++i) {
        player.virusGone();  // none left: one flag allowed, one set
    }
    EXPECT_GT(countInk(draw()), 20 * scale_ * scale_);
}

// Every line of the coach fits the field at the size it is drawn in.
TEST_P(ScreenDrawing, CoachLinesFitTheField) {
    const BitmapFont& font = own_->art.font;
    for (int k = 0; k < static_cast<int>(Coach::Line::Count); ++k) {
        for (const bool blind : {false, true}) {
            const char* text = Coach::text(static_cast<Coach::Line>(k), blind);
            EXPECT_LE(font.textWidth(text, 15), 780) << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(WindowScale, ScreenDrawing, ::testing::Values(1, 2));

}  // namespace
}  // namespace brv
