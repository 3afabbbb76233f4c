#include "tools/mkdata/Decor.h"

#include <algorithm>
#include <cmath>

#include "tools/mkdata/Shapes.h"

namespace brv::art {

void paintBackdrop(Canvas& c, const Noise& noise, const Rgba& centre, const Rgba& edge,
                   float nebula) {
    const float w = static_cast<float>(c.width());
    const float h = static_cast<float>(c.height());
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            const float fx = static_cast<float>(x) / w;
            const float fy = static_cast<float>(y) / h;
            const float r = std::hypot((fx - 0.5f) * 1.3f, fy - 0.45f) * 1.6f;
            Rgba col = mix(centre, edge, std::clamp(r, 0.0f, 1.0f));
            const float n = noise.fbm(fx * 3.2f, fy * 2.4f, 5) * 0.5f + 0.5f;
            const float wisps = std::pow(std::clamp(n, 0.0f, 1.0f), 3.0f) * nebula;
            col.r += wisps * 0.25f;
            col.g += wisps * 0.65f;
            col.b += wisps * 0.75f;
            col.a = 1;
            c.setPixel(x, y, col);
        }
    }
}

void paintBokeh(Canvas& c, const Noise& noise, int count, float scale, const Rgba& tint) {
    for (int i = 0; i < count; ++i) {
        const float cx = noise.hash(i, 11) * static_cast<float>(c.width());
        const float cy = noise.hash(i, 12) * static_cast<float>(c.height());
        const float r = (8.0f + noise.hash(i, 13) * 40.0f) * scale;
        const int box = static_cast<int>(r * 2.6f) + 4;
        Mask m(box, box);
        const float o = static_cast<float>(box) * 0.5f;
        for (int y = 0; y < box; ++y) {
            for (int x = 0; x < box; ++x) {
                const float d =
                    std::hypot(static_cast<float>(x) + 0.5f - o, static_cast<float>(y) + 0.5f - o) /
                    r;
                // Out-of-focus cell: a faint disc with a brighter rim.
                m.at(x, y) = d < 1.0f ? 0.25f + 0.75f * std::pow(d, 6.0f)
                                      : std::max(0.0f, 1.0f - (d - 1.0f) * 8.0f);
            }
        }
        m.scale(0.05f + noise.hash(i, 14) * 0.10f);
        c.glow(m, tint, static_cast<int>(cx - o), static_cast<int>(cy - o));
    }
}

void paintSwarm(Canvas& c, float scale, float cx, float cy, float spread, const Rgba& colour,
                int count, std::uint32_t seed) {
    const Noise noise(seed);
    const int size = static_cast<int>(4.0f * scale);
    // The colony's glow first, under its points.
    const int box = static_cast<int>(spread * scale * 5.0f);
    Mask halo(box, box);
    for (int y = 0; y < box; ++y) {
        for (int x = 0; x < box; ++x) {
            const float d =
                std::hypot(static_cast<float>(x - box / 2), static_cast<float>(y - box / 2)) /
                (spread * scale * 1.8f);
            halo.at(x, y) = 0.10f * std::exp(-d * d * 2.0f);
        }
    }
    c.glow(halo, colour, static_cast<int>(cx * scale) - box / 2,
           static_cast<int>(cy * scale) - box / 2);
    for (int i = 0; i < count; ++i) {
        // Roughly Gaussian around the centre, snapped to the game's 4-unit grid.
        const float gx = (noise.hash(i, 1) + noise.hash(i, 2) + noise.hash(i, 3) - 1.5f) * 1.6f;
        const float gy = (noise.hash(i, 4) + noise.hash(i, 5) + noise.hash(i, 6) - 1.5f) * 1.6f;
        const float lx = std::round((cx + gx * spread) / 4.0f) * 4.0f;
        const float ly = std::round((cy + gy * spread) / 4.0f) * 4.0f;
        const int px = static_cast<int>(lx * scale);
        const int py = static_cast<int>(ly * scale);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                c.blend(px + x, py + y, colour, 1.0f);
            }
        }
    }
}

void paintCell(Canvas& c, float cx, float cy, float radius, const Rgba& tint, float pulse) {
    const float r = radius * (0.92f + 0.08f * pulse);
    const int box = static_cast<int>(radius * 4.2f) + 4;
    const float ox = std::floor(cx) - static_cast<float>(box / 2);
    const float oy = std::floor(cy) - static_cast<float>(box / 2);
    const float lx = cx - ox;
    const float ly = cy - oy;
    Mask glow =
        shapeMask(box, box, [&](float x, float y) { return sdCircle(x, y, lx, ly, r * 1.05f); });
    glow.blur(static_cast<int>(std::max(2.0f, radius * 0.55f)));
    glow.scale(0.55f + 0.45f * pulse);
    c.glow(glow, tint, static_cast<int>(ox), static_cast<int>(oy));
    const float soft = std::max(1.0f, radius / 24.0f);
    c.paintShaded(
        shapeMask(
            box, box, [&](float x, float y) { return sdCircle(x, y, lx, ly, r); }, soft),
        [&](int x, int y) {
            const float d =
                std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) /
                r;
            return Rgba{tint.r * 0.5f, tint.g * 0.5f, tint.b * 0.5f, 0.30f + 0.35f * d * d};
        },
        static_cast<int>(ox), static_cast<int>(oy));
    const Mask membrane = shapeMask(
        box, box,
        [&](float x, float y) {
            return std::abs(sdCircle(x, y, lx, ly, r - radius * 0.06f)) - radius * 0.06f;
        },
        soft);
    c.paint(membrane, mix(tint, Rgba{1, 1, 1, 1}, 0.45f), static_cast<int>(ox),
            static_cast<int>(oy));
    const float nr = r * 0.36f;
    const float nx = lx - r * 0.12f;
    const float ny = ly - r * 0.10f;
    c.paintShaded(
        shapeMask(
            box, box, [&](float x, float y) { return sdCircle(x, y, nx, ny, nr); }, soft),
        [&](int x, int y) {
            const float d = std::hypot(static_cast<float>(x) - ox + 0.5f - nx,
                                       static_cast<float>(y) - oy + 0.5f - ny) /
                            nr;
            return mix(Rgba{1, 1, 1, 1}, tint, std::clamp(d, 0.0f, 1.0f));
        },
        static_cast<int>(ox), static_cast<int>(oy));
}

void paintTitle(Canvas& c, Lettering& face, const std::string& text, float cx, float baseline,
                float sizeX, float sizeY, const Rgba& glow) {
    const float w = face.textWidth(text, sizeX, sizeY);
    Mask m(c.width(), c.height());
    face.draw(m, text, cx - w * 0.5f, baseline, sizeX, sizeY);
    Mask halo = m;
    halo.blur(static_cast<int>(sizeY * 0.12f));
    halo.scale(1.4f);
    c.glow(halo, glow);
    Mask shadow = m;
    shadow.blur(static_cast<int>(sizeY * 0.03f) + 1);
    c.paint(shadow, {0, 0.02f, 0.04f, 0.9f}, static_cast<int>(sizeX * 0.03f),
            static_cast<int>(sizeY * 0.04f));
    const float top = baseline - face.capHeight(sizeY);
    c.paintShaded(m, [&](int, int y) {
        const float t = std::clamp((static_cast<float>(y) - top) / (baseline - top), 0.0f, 1.0f);
        return mix(Rgba{1, 1, 1, 1}, mix(glow, Rgba{1, 1, 1, 1}, 0.35f), t);
    });
}

void paintText(Canvas& c, Lettering& face, const std::string& text, float x, float baseline,
               float sizeX, float sizeY, const Rgba& colour) {
    Mask m(c.width(), c.height());
    face.draw(m, text, x, baseline, sizeX, sizeY);
    c.paint(m, colour);
}

}  // namespace brv::art
