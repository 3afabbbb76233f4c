#include <cmath>
#include <vector>

#include "tools/mkdata/Decor.h"
#include "tools/mkdata/Scenes.h"
#include "tools/mkdata/Shapes.h"

namespace brv::art {

namespace {

// Frames are painted this many times larger, then reduced: smooth edges at
// the small size the game draws them.
constexpr int kSuper = 4;
constexpr float kTwoPi = 6.2831853f;

// One frame of the life source: a cyan cell that breathes, with motes
// circling it. The glow reaches the edge of the cell, as far as it feeds.
Canvas lifeSourceFrame(int cell, float phase) {
    const int big = cell * kSuper;
    const float c = static_cast<float>(big) * 0.5f;
    const float pulse = 0.5f + 0.5f * std::sin(phase * kTwoPi);
    Canvas f(big, big);
    paintCell(f, c, c, static_cast<float>(big) * 0.31f, {0.35f, 0.88f, 1.0f, 1}, pulse);
    // A second pass of glow: on the dark field the source must read from afar.
    Mask aura = shapeMask(big, big, [&](float x, float y) {
        return sdCircle(x, y, c, c, static_cast<float>(big) * 0.30f);
    });
    aura.blur(big / 10);
    aura.scale(0.35f + 0.35f * pulse);
    f.glow(aura, {0.35f, 0.88f, 1.0f, 1});
    for (int i = 0; i < 3; ++i) {
        const float a = (phase + static_cast<float>(i) / 3.0f) * kTwoPi;
        const float r = static_cast<float>(big) * 0.38f;
        const float mx = c + std::cos(a) * r;
        const float my = c + std::sin(a) * r * 0.8f;
        const Mask mote = shapeMask(
            big, big,
            [&](float x, float y) {
                return sdCircle(x, y, mx, my, static_cast<float>(kSuper) * 1.3f);
            },
            static_cast<float>(kSuper));
        f.paint(mote, {0.85f, 1.0f, 1.0f, 0.9f});
    }
    return f.resampled(cell, cell);
}

// The pennant's outline for one frame: a wave runs along it from the pole.
std::vector<Point> pennant(float poleX, float top, float length, float height, float phase) {
    std::vector<Point> upper, lower;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(steps);
        const float wave = std::sin((t * 1.6f - phase) * kTwoPi) * height * 0.16f * t;
        const float taper = height * (1.0f - 0.45f * t);
        const float x = poleX + t * length;
        upper.push_back({x, top + wave + (height - taper) * 0.5f});
        lower.push_back({x, top + wave + (height + taper) * 0.5f});
    }
    std::vector<Point> outline(upper);
    outline.insert(outline.end(), lower.rbegin(), lower.rend());
    return outline;
}

// One frame of the flag. Its pole stands on the centre of the cell, which is
// where the game places the flag; the ring at its foot marks the spot.
Canvas flagFrame(int cell, float phase) {
    const int big = cell * kSuper;
    const float s = static_cast<float>(big) / 64.0f;  // drawn on a 64-unit grid
    const float c = static_cast<float>(big) * 0.5f;
    Canvas f(big, big);
    const Mask ring = shapeMask(big, big, [&](float x, float y) {
        return std::abs(std::hypot((x - c) / 1.0f, (y - c) * 2.2f) - 6.0f * s) - 1.1f * s;
    });
    f.paint(ring, {0.0f, 0.0f, 0.0f, 0.6f}, 0, static_cast<int>(s));
    f.paint(ring, {1.0f, 0.55f, 0.9f, 0.9f});
    const std::vector<Point> cloth = pennant(c + 1.5f * s, 6 * s, 25 * s, 17 * s, phase);
    const Mask outline =
        shapeMask(big, big, [&](float x, float y) { return sdPolygon(x, y, cloth) - 1.6f * s; });
    f.paint(outline, {0.10f, 0.0f, 0.08f, 0.85f});
    f.paintShaded(shapeMask(big, big, [&](float x, float y) { return sdPolygon(x, y, cloth); }),
                  [&](int x, int) {
                      // Folds: the cloth brightens and darkens along the wave.
                      const float t = (static_cast<float>(x) - c) / (25.0f * s);
                      const float fold = std::cos((t * 1.6f - phase) * kTwoPi) * 0.5f + 0.5f;
                      return mix(Rgba{0.70f, 0.10f, 0.60f, 1}, Rgba{1.0f, 0.55f, 0.92f, 1}, fold);
                  });
    const Mask pole = shapeMask(big, big, [&](float x, float y) {
        return sdSegment(x, y, {c, 4.0f * s}, {c, c}) - 1.3f * s;
    });
    Mask poleEdge = pole;
    poleEdge.blur(static_cast<int>(s));
    f.paint(poleEdge, {0.0f, 0.0f, 0.0f, 0.9f});
    f.paintShaded(pole, [&](int x, int) {
        return mix(Rgba{1, 1, 1, 1}, Rgba{0.6f, 0.65f, 0.7f, 1},
                   (static_cast<float>(x) - c + 1.3f * s) / (2.6f * s));
    });
    const Mask knob = shapeMask(
        big, big, [&](float x, float y) { return sdCircle(x, y, c, 4.0f * s, 2.2f * s); });
    f.paint(knob, {1.0f, 0.95f, 0.7f, 1});
    return f.resampled(cell, cell);
}

Canvas sheet(int frames, int cell, Canvas (*frame)(int, float)) {
    Canvas out(cell * frames, cell);
    for (int i = 0; i < frames; ++i) {
        out.draw(frame(cell, static_cast<float>(i) / static_cast<float>(frames)), i * cell, 0);
    }
    return out;
}

}  // namespace

Canvas paintLifeSource(int frames, int cell) {
    return sheet(frames, cell, lifeSourceFrame);
}

Canvas paintFlag(int frames, int cell) {
    return sheet(frames, cell, flagFrame);
}

Canvas paintIcon(int size) {
    const int big = size * kSuper;
    const float b = static_cast<float>(big);
    Canvas c(big, big);
    const Mask disc = shapeMask(
        big, big,
        [&](float x, float y) {
            return sdRoundedBox(x, y, b * 0.03f, b * 0.03f, b * 0.97f, b * 0.97f, b * 0.22f);
        },
        static_cast<float>(kSuper));
    c.paintShaded(disc, [&](int, int y) {
        return mix(Rgba{0.04f, 0.20f, 0.26f, 1}, Rgba{0.0f, 0.04f, 0.07f, 1},
                   static_cast<float>(y) / b);
    });
    paintCell(c, b * 0.5f, b * 0.5f, b * 0.24f, {0.35f, 0.88f, 1.0f, 1}, 0.8f);
    const float spots[4][2] = {{0.2f, 0.2f}, {0.8f, 0.2f}, {0.2f, 0.8f}, {0.8f, 0.8f}};
    for (int i = 0; i < 4; ++i) {
        const Mask dot = shapeMask(
            big, big,
            [&](float x, float y) {
                return sdRoundedBox(x, y, b * (spots[i][0] - 0.07f), b * (spots[i][1] - 0.07f),
                                    b * (spots[i][0] + 0.07f), b * (spots[i][1] + 0.07f),
                                    b * 0.02f);
            },
            static_cast<float>(kSuper));
        c.paint(dot, kColonyColours[i]);
    }
    return c.resampled(size, size);
}

}  // namespace brv::art
