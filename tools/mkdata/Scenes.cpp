#include "tools/mkdata/Scenes.h"

#include <cmath>

#include "tools/mkdata/Decor.h"
#include "tools/mkdata/Shapes.h"

namespace brv::art {

const Rgba kColonyColours[4] = {
    {1.0f, 0.0f, 0.0f, 1}, {0.0f, 1.0f, 0.0f, 1}, {1.0f, 1.0f, 0.3f, 1}, {0.7f, 1.0f, 0.6f, 1}};

namespace {

constexpr Rgba kLife{0.35f, 0.85f, 1.0f, 1};

// The four colonies in their start corners, as a game begins.
void paintColonies(Canvas& c, float s, int count, std::uint32_t seed, float lastX = 700,
                   float lastY = 520) {
    const float corners[4][2] = {{100, 80}, {700, 80}, {100, 520}, {lastX, lastY}};
    for (int i = 0; i < 4; ++i) {
        paintSwarm(c, s, corners[i][0], corners[i][1], 26.0f, kColonyColours[i], count,
                   seed + static_cast<std::uint32_t>(i));
    }
}

// A rounded, darkened glass pane (logical units) that calms the dish behind text.
void paintPane(Canvas& c, float s, float l, float t, float r, float b, float alpha) {
    const Mask pane = shapeMask(
        c.width(), c.height(),
        [&](float x, float y) { return sdRoundedBox(x, y, l * s, t * s, r * s, b * s, 18.0f * s); },
        2.0f * s);
    c.paint(pane, {0.0f, 0.03f, 0.05f, alpha});
    const Mask rim = shapeMask(c.width(), c.height(), [&](float x, float y) {
        return std::abs(sdRoundedBox(x, y, l * s, t * s, r * s, b * s, 18.0f * s)) - 0.7f * s;
    });
    c.paint(rim, {0.45f, 0.85f, 0.95f, 0.35f});
}

}  // namespace

Canvas paintIntro(const SceneFonts& fonts, int scale) {
    const float s = static_cast<float>(scale);
    Canvas c(800 * scale, 600 * scale);
    const Noise noise(1001);
    paintBackdrop(c, noise, {0.03f, 0.16f, 0.21f, 1}, {0.0f, 0.01f, 0.03f, 1}, 0.22f);
    paintBokeh(c, noise, 26, s, {0.4f, 0.9f, 1.0f, 1});
    paintColonies(c, s, 140, 77);
    paintCell(c, 400 * s, 300 * s, 150 * s, kLife, 0.35f);
    paintCell(c, 190 * s, 330 * s, 26 * s, kLife, 0.8f);
    paintCell(c, 640 * s, 240 * s, 20 * s, kLife, 0.5f);
    paintTitle(c, *fonts.bold, "Brevora", 400 * s, 330 * s, 118 * s, 118 * s, kLife);
    const std::string tag = "colonies at war under the glass";
    const float tw = fonts.regular->textWidth(tag, 24 * s, 24 * s);
    paintText(c, *fonts.regular, tag, 400 * s - tw * 0.5f, 385 * s, 24 * s, 24 * s,
              {0.75f, 0.95f, 1.0f, 0.9f});
    const std::string loading = "Loading...";
    const float lw = fonts.regular->textWidth(loading, 18 * s, 18 * s);
    paintText(c, *fonts.regular, loading, 400 * s - lw * 0.5f, 560 * s, 18 * s, 18 * s,
              {0.55f, 0.75f, 0.80f, 1});
    return c;
}

Canvas paintMainMenu(const SceneFonts& fonts, int scale) {
    const float s = static_cast<float>(scale);
    Canvas c(800 * scale, 600 * scale);
    const Noise noise(2002);
    paintBackdrop(c, noise, {0.02f, 0.12f, 0.17f, 1}, {0.0f, 0.01f, 0.03f, 1}, 0.18f);
    paintBokeh(c, noise, 22, s, {0.4f, 0.9f, 1.0f, 1});
    paintColonies(c, s, 110, 91, 680, 552);  // clear of the version label
    paintCell(c, 130 * s, 330 * s, 46 * s, kLife, 0.6f);
    paintCell(c, 680 * s, 300 * s, 34 * s, kLife, 0.3f);
    // The button column (x 272..528, y 190..508) sits on a darker pane.
    paintPane(c, s, 252, 176, 548, 524, 0.55f);
    paintTitle(c, *fonts.bold, "Brevora", 400 * s, 150 * s, 72 * s, 72 * s, kLife);
    // A slide label: pale paper under the black version text at (602, 472).
    const Mask label = shapeMask(c.width(), c.height(), [&](float x, float y) {
        return sdRoundedBox(x, y, 586 * s, 432 * s, 776 * s, 486 * s, 4 * s);
    });
    Mask shade = label;
    shade.blur(static_cast<int>(4 * s));
    c.paint(shade, {0, 0, 0, 0.6f}, static_cast<int>(2 * s), static_cast<int>(3 * s));
    c.paintShaded(label, [&](int x, int y) {
        const float grain = noise.hash(x, y, 5) * 0.04f;
        return Rgba{0.90f + grain, 0.92f + grain, 0.87f + grain, 1};
    });
    return c;
}

Canvas paintTableBackground(int scale) {
    const float s = static_cast<float>(scale);
    Canvas c(800 * scale, 600 * scale);
    const Noise noise(3003);
    paintBackdrop(c, noise, {0.05f, 0.07f, 0.18f, 1}, {0.0f, 0.0f, 0.03f, 1}, 0.15f);
    paintBokeh(c, noise, 18, s, {0.55f, 0.6f, 1.0f, 1});
    paintColonies(c, s, 60, 123);
    paintPane(c, s, 56, 96, 744, 578, 0.6f);
    return c;
}

}  // namespace brv::art
