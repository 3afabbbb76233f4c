#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/mkdata/Noise.h"
#include "tools/mkdata/Scenes.h"
#include "tools/mkdata/Shapes.h"

namespace brv::art {

namespace {

// Logical position (0..800, 0..600) to colour, for one field texture.
using FieldShader = std::function<Rgba(float x, float y)>;

float unit(float v) {
    return std::clamp(v * 0.5f + 0.5f, 0.0f, 1.0f);
}

Rgba shade3(const Rgba& dark, const Rgba& mid, const Rgba& light, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return t < 0.5f ? mix(dark, mid, t * 2.0f) : mix(mid, light, (t - 0.5f) * 2.0f);
}

FieldShader agar(const Noise& n) {
    return [&n](float x, float y) {
        const float f = unit(n.fbm(x / 180.0f, y / 180.0f, 5));
        const Noise::Cells c = n.cells(x / 70.0f, y / 70.0f);
        const float wall = 1.0f - smooth(0.0f, 0.08f, c.second - c.nearest);
        return mix(
            shade3({0.01f, 0.02f, 0.06f, 1}, {0.03f, 0.07f, 0.14f, 1}, {0.06f, 0.13f, 0.22f, 1}, f),
            {0.10f, 0.20f, 0.30f, 1}, wall * 0.35f);
    };
}

FieldShader slate(const Noise& n) {
    return [&n](float x, float y) {
        const float f = unit(n.fbm(x / 120.0f, y / 120.0f, 6, 0.6f));
        const Noise::Cells c = n.cells(x / 45.0f, y / 45.0f, 1.0f);
        const float crack = 1.0f - smooth(0.0f, 0.05f, c.second - c.nearest);
        const Rgba base = shade3({0.03f, 0.035f, 0.045f, 1}, {0.07f, 0.08f, 0.10f, 1},
                                 {0.11f, 0.12f, 0.15f, 1}, f);
        return mix(base, {0.01f, 0.01f, 0.02f, 1}, crack * 0.8f);
    };
}

FieldShader veins(const Noise& n) {
    return [&n](float x, float y) {
        const float f = unit(n.fbm(x / 220.0f, y / 220.0f, 4));
        const float v = std::pow(n.ridged(x / 160.0f, y / 160.0f, 5), 6.0f);
        const Rgba base =
            shade3({0.03f, 0.01f, 0.06f, 1}, {0.07f, 0.03f, 0.12f, 1}, {0.10f, 0.05f, 0.17f, 1}, f);
        return mix(base, {0.26f, 0.12f, 0.38f, 1}, v * 0.7f);
    };
}

FieldShader caustics(const Noise& n) {
    return [&n](float x, float y) {
        const float wx = n.fbm(x / 150.0f, y / 150.0f, 3) * 2.5f;
        const float wy = n.fbm(x / 150.0f + 7.0f, y / 150.0f + 3.0f, 3) * 2.5f;
        const float a =
            std::abs(std::sin((x / 55.0f + wx) * 1.7f) * std::sin((y / 55.0f + wy) * 1.9f));
        const float lines = std::pow(1.0f - a, 8.0f);
        const float f = unit(n.fbm(x / 250.0f, y / 250.0f, 3));
        const Rgba base = mix({0.01f, 0.05f, 0.06f, 1}, {0.03f, 0.11f, 0.12f, 1}, f);
        return mix(base, {0.10f, 0.26f, 0.28f, 1}, lines * 0.6f);
    };
}

FieldShader tissue(const Noise& n) {
    return [&n](float x, float y) {
        const float wob = n.fbm(x / 60.0f, y / 60.0f, 2) * 0.25f;
        const Noise::Cells c = n.cells(x / 38.0f + wob, y / 38.0f - wob, 0.9f);
        const float wall = 1.0f - smooth(0.02f, 0.16f, c.second - c.nearest);
        const float tone = static_cast<float>(c.id & 0xFF) / 255.0f;
        const Rgba inside = mix({0.03f, 0.03f, 0.09f, 1}, {0.06f, 0.05f, 0.15f, 1}, tone);
        const float nucleus = 1.0f - smooth(0.08f, 0.16f, c.nearest);
        return mix(mix(inside, {0.09f, 0.08f, 0.22f, 1}, nucleus * 0.7f), {0.16f, 0.15f, 0.30f, 1},
                   wall * 0.6f);
    };
}

FieldShader nebula(const Noise& n) {
    return [&n](float x, float y) {
        const float qx = n.fbm(x / 200.0f, y / 200.0f, 4);
        const float qy = n.fbm(x / 200.0f + 5.2f, y / 200.0f + 1.3f, 4);
        const float f = unit(n.fbm(x / 200.0f + qx * 1.8f, y / 200.0f + qy * 1.8f, 5) * 1.3f);
        return shade3({0.01f, 0.01f, 0.05f, 1}, {0.05f, 0.03f, 0.13f, 1}, {0.14f, 0.05f, 0.20f, 1},
                      f * f);
    };
}

FieldShader basalt(const Noise& n) {
    return [&n](float x, float y) {
        const float f = unit(n.fbm(x / 90.0f, y / 90.0f, 6, 0.65f));
        const float speck = n.hash(static_cast<int>(x / 2.0f), static_cast<int>(y / 2.0f), 9);
        const Rgba base = shade3({0.03f, 0.025f, 0.02f, 1}, {0.07f, 0.06f, 0.05f, 1},
                                 {0.11f, 0.10f, 0.08f, 1}, f);
        return mix(base, {0.16f, 0.15f, 0.13f, 1}, speck > 0.985f ? 0.6f : 0.0f);
    };
}

FieldShader fibres(const Noise& n) {
    return [&n](float x, float y) {
        const float bend = n.fbm(x / 300.0f, y / 300.0f, 3) * 3.0f;
        const float f = unit(n.fbm(x / 400.0f + bend, y / 22.0f + bend, 5));
        const float g = unit(n.fbm(x / 160.0f, y / 160.0f, 3));
        return shade3({0.02f, 0.03f, 0.05f, 1}, {0.05f, 0.07f, 0.10f, 1}, {0.10f, 0.13f, 0.18f, 1},
                      f * 0.7f + g * 0.3f);
    };
}

FieldShader bubbles(const Noise& n) {
    return [&n](float x, float y) {
        const float f = unit(n.fbm(x / 200.0f, y / 200.0f, 4));
        Rgba col = mix({0.01f, 0.02f, 0.05f, 1}, {0.04f, 0.07f, 0.13f, 1}, f);
        // Two layers of cells give rings of different sizes.
        for (int layer = 0; layer < 2; ++layer) {
            const float k = layer == 0 ? 60.0f : 27.0f;
            const Noise::Cells c = n.cells(x / k + 31.0f * static_cast<float>(layer), y / k, 0.6f);
            const float size = 0.16f + 0.18f * static_cast<float>(c.id & 0xFF) / 255.0f;
            const float ring = 1.0f - smooth(0.0f, 0.03f, std::abs(c.nearest - size));
            const bool shown = (c.id >> 9) % 3 == 0;
            col = mix(col, {0.13f, 0.22f, 0.32f, 1}, shown ? ring * 0.55f : 0.0f);
        }
        return col;
    };
}

FieldShader swirl(const Noise& n) {
    return [&n](float x, float y) {
        const float warp = n.fbm(x / 260.0f, y / 260.0f, 4) * 6.0f;
        const float bands = std::sin((x + y * 0.6f) / 70.0f + warp) * 0.5f + 0.5f;
        const float f = unit(n.fbm(x / 120.0f, y / 120.0f, 4));
        return shade3({0.04f, 0.02f, 0.03f, 1}, {0.09f, 0.05f, 0.07f, 1}, {0.15f, 0.09f, 0.11f, 1},
                      bands * 0.6f + f * 0.4f);
    };
}

}  // namespace

Canvas paintField(int index, int scale) {
    const Noise noise(static_cast<std::uint32_t>(5000 + index * 97));
    static FieldShader (*const kinds[10])(const Noise&) = {agar,   slate,  veins,  caustics, tissue,
                                                           nebula, basalt, fibres, bubbles,  swirl};
    const FieldShader shader = kinds[std::clamp(index, 0, 9)](noise);
    const float s = static_cast<float>(scale);
    Canvas c(800 * scale, 600 * scale);
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            // A gentle vignette keeps the edges of the field quiet.
            const float fx = static_cast<float>(x) / s;
            const float fy = static_cast<float>(y) / s;
            const float v =
                1.0f -
                0.35f * std::pow(std::hypot((fx - 400.0f) / 420.0f, (fy - 300.0f) / 330.0f), 3.0f);
            Rgba col = shader(fx, fy);
            // Painted dark on purpose, lifted once here so all ten share one level.
            const float k = std::clamp(v, 0.55f, 1.0f) * 1.45f;
            c.setPixel(x, y, {col.r * k, col.g * k, col.b * k, 1});
        }
    }
    return c;
}

}  // namespace brv::art
