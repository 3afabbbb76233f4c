#include "tools/mkdata/ButtonArt.h"

#include <algorithm>
#include <cmath>

#include "tools/mkdata/Noise.h"
#include "tools/mkdata/Shapes.h"

namespace brv::art {

namespace {

// The look of one state of a push button.
struct Look {
    Rgba top;  // body gradient
    Rgba bottom;
    Rgba rim;     // one-pixel edge
    float glow;   // light around the rim
    float gloss;  // highlight over the upper half
    int press;    // pixels the content moves down and right
};

const Look kLooks[3] = {
    // normal: deep teal glass
    {{0.13f, 0.42f, 0.50f, 1},
     {0.03f, 0.16f, 0.23f, 1},
     {0.45f, 0.85f, 0.92f, 0.85f},
     0.0f,
     0.22f,
     0},
    // hover: lit from inside, the rim glows
    {{0.20f, 0.62f, 0.70f, 1},
     {0.05f, 0.28f, 0.36f, 1},
     {0.75f, 1.00f, 1.00f, 1.0f},
     0.55f,
     0.30f,
     0},
    // pressed: sunk in, dark, no gloss, lit faintly from below
    {{0.01f, 0.05f, 0.08f, 1},
     {0.04f, 0.20f, 0.26f, 1},
     {0.30f, 0.62f, 0.70f, 0.9f},
     0.0f,
     0.0f,
     1},
};

// Body, gloss, rim and glow of one band, in a band-sized canvas.
Canvas buttonBody(int width, int band, const Look& look, float radius) {
    Canvas c(width, band);
    const float m = 2.0f;  // transparent margin: linear filtering must not bleed bands
    const float l = m, t = m, r = static_cast<float>(width) - m, b = static_cast<float>(band) - m;
    auto body = [&](float x, float y) { return sdRoundedBox(x, y, l, t, r, b, radius); };
    if (look.glow > 0.0f) {
        Mask halo = shapeMask(width, band, [&](float x, float y) { return body(x, y) + 0.5f; });
        halo.blur(2);
        Rgba h = look.rim;
        h.a = look.glow;
        c.paint(halo, h);
    }
    const Mask shape = shapeMask(width, band, body);
    c.paintShaded(shape, [&](int, int y) {
        return mix(look.top, look.bottom, (static_cast<float>(y) - t) / (b - t));
    });
    // Gloss: a soft lighter band over the upper half of the body.
    const Mask gloss = shapeMask(width, band, [&](float x, float y) {
        return std::max(body(x, y) + 2.0f, y - (t + (b - t) * 0.48f));
    });
    c.paintShaded(gloss, [&](int, int y) {
        return Rgba{1, 1, 1, look.gloss * (1.0f - (static_cast<float>(y) - t) / ((b - t) * 0.5f))};
    });
    const Mask rim = shapeMask(
        width, band, [&](float x, float y) { return std::abs(body(x, y) + 0.6f) - 0.6f; });
    c.paint(rim, look.rim);
    return c;
}

void paintLabel(Canvas& c, Lettering& face, const std::string& label, int state, int press) {
    const float size = static_cast<float>(c.height()) * 0.48f;
    const float cap = face.capHeight(size);
    const float w = face.textWidth(label, size, size);
    const float x = (static_cast<float>(c.width()) - w) * 0.5f + static_cast<float>(press);
    const float base =
        std::round((static_cast<float>(c.height()) + cap) * 0.5f) + static_cast<float>(press);
    Mask text(c.width(), c.height());
    face.draw(text, label, x, base, size, size);
    Mask shadow = text;
    shadow.blur(1);
    c.paint(shadow, {0, 0.05f, 0.08f, 0.85f}, 1, 1);
    const Rgba ink = state == 2   ? Rgba{1.0f, 1.0f, 0.86f, 1}
                     : state == 3 ? Rgba{0.62f, 0.80f, 0.85f, 1}
                                  : Rgba{0.90f, 0.98f, 1.0f, 1};
    c.paint(text, ink);
}

// Each band keeps a fully transparent border: linear filtering samples across
// band edges (and, for the pictures the game wraps, across the picture's sides),
// so a glow touching the edge would leak into the neighbouring state.
void stack(Canvas& picture, Canvas band, int state, int bands) {
    const int w = band.width(), h = band.height();
    for (int x = 0; x < w; ++x) {
        band.setPixel(x, 0, {0, 0, 0, 0});
        band.setPixel(x, h - 1, {0, 0, 0, 0});
    }
    for (int y = 0; y < h; ++y) {
        band.setPixel(0, y, {0, 0, 0, 0});
        band.setPixel(w - 1, y, {0, 0, 0, 0});
    }
    picture.draw(band, 0, bandTop(state, bands, h));
}

Mask symbolMask(Lettering& face, Symbol symbol, int width, int band, int press) {
    const float cx = static_cast<float>(width) * 0.5f + static_cast<float>(press);
    const float cy = static_cast<float>(band) * 0.5f + static_cast<float>(press);
    const float s = static_cast<float>(std::min(width, band));
    switch (symbol) {
        case Symbol::Minimise:
            return shapeMask(width, band, [&](float x, float y) {
                return sdRoundedBox(x, y, cx - s * 0.25f, cy + s * 0.12f, cx + s * 0.25f,
                                    cy + s * 0.27f, 1.0f);
            });
        case Symbol::Quit:
            return shapeMask(width, band, [&](float x, float y) {
                const float d = s * 0.22f;
                return std::min(sdSegment(x, y, {cx - d, cy - d}, {cx + d, cy + d}),
                                sdSegment(x, y, {cx - d, cy + d}, {cx + d, cy - d})) -
                       s * 0.08f;
            });
        case Symbol::Up:
        case Symbol::Down: {
            const float dir = symbol == Symbol::Up ? -1.0f : 1.0f;
            const float hw = static_cast<float>(width) * 0.30f;
            const std::vector<Point> tri = {{cx - hw, cy - dir * hw * 0.55f},
                                            {cx + hw, cy - dir * hw * 0.55f},
                                            {cx, cy + dir * hw * 0.75f}};
            return shapeMask(width, band,
                             [&](float x, float y) { return sdPolygon(x, y, tri) - 1.0f; });
        }
        case Symbol::Help:
            break;
    }
    Mask text(width, band);
    const float size = static_cast<float>(band) * 0.75f;
    const float w = face.textWidth("?", size, size);
    const float base = std::round((static_cast<float>(band) + face.capHeight(size)) * 0.5f);
    face.draw(text, "?", cx - w * 0.5f, base + static_cast<float>(press), size, size);
    return text;
}

}  // namespace

Canvas drawLabelButton(Lettering& face, const std::string& label, int width, int band) {
    Canvas picture(width, band * 3);
    for (int state = 1; state <= 3; ++state) {
        const Look& look = kLooks[state - 1];
        Canvas c = buttonBody(width, band, look, static_cast<float>(band) * 0.5f - 2.0f);
        paintLabel(c, face, label, state, look.press);
        stack(picture, c, state, 3);
    }
    return picture;
}

Canvas drawSymbolButton(Lettering& face, Symbol symbol, int width, int band) {
    Canvas picture(width, band * 3);
    for (int state = 1; state <= 3; ++state) {
        const Look& look = kLooks[state - 1];
        Canvas c = buttonBody(width, band, look, std::min(6.0f, static_cast<float>(band) * 0.3f));
        const Mask m = symbolMask(face, symbol, width, band, look.press);
        c.paint(m, {0, 0.05f, 0.08f, 0.7f}, 1, 1);
        c.paint(m, state == 2 ? Rgba{1, 1, 0.86f, 1} : Rgba{0.90f, 0.98f, 1, 1});
        stack(picture, c, state, 3);
    }
    return picture;
}

Canvas drawRadioButton(int size) {
    Canvas picture(size, size * 4);
    const float c = static_cast<float>(size) * 0.5f;
    const float outer = c - 3.0f;
    for (int state = 1; state <= 4; ++state) {
        const bool hover = state == 2 || state == 4;
        const bool checked = state >= 3;
        Canvas band(size, size);
        if (hover) {
            Mask halo = shapeMask(
                size, size, [&](float x, float y) { return sdCircle(x, y, c, c, outer + 1.0f); });
            halo.blur(2);
            band.paint(halo, {0.3f, 0.9f, 1.0f, 0.8f});
        }
        const Mask disc =
            shapeMask(size, size, [&](float x, float y) { return sdCircle(x, y, c, c, outer); });
        band.paintShaded(disc, [&](int, int y) {
            return mix(Rgba{0.80f, 0.88f, 0.88f, 1}, Rgba{1, 1, 1, 1},
                       static_cast<float>(y) / static_cast<float>(size));
        });
        const Mask ring = shapeMask(size, size, [&](float x, float y) {
            return std::abs(sdCircle(x, y, c, c, outer - 1.0f)) - 1.2f;
        });
        band.paint(ring, hover ? Rgba{0.05f, 0.55f, 0.65f, 1} : Rgba{0.08f, 0.22f, 0.28f, 1});
        if (checked) {
            const float r = outer * 0.52f;
            const Mask dot =
                shapeMask(size, size, [&](float x, float y) { return sdCircle(x, y, c, c, r); });
            band.paintShaded(dot, [&](int, int y) {
                const float t = (static_cast<float>(y) - (c - r)) / (2.0f * r);
                return hover ? mix(Rgba{0.35f, 0.95f, 1.0f, 1}, Rgba{0.05f, 0.55f, 0.65f, 1}, t)
                             : mix(Rgba{0.15f, 0.65f, 0.75f, 1}, Rgba{0.02f, 0.30f, 0.38f, 1}, t);
            });
        }
        stack(picture, band, state, 4);
    }
    return picture;
}

Canvas drawNameBox(int width, int band) {
    Canvas picture(width, band * 2);
    for (int state = 1; state <= 2; ++state) {
        const bool focused = state == 2;
        Canvas c(width, band);
        const float m = 4.0f;
        auto body = [&](float x, float y) {
            return sdRoundedBox(x, y, m, m, static_cast<float>(width) - m,
                                static_cast<float>(band) - m, 9.0f);
        };
        if (focused) {
            Mask halo = shapeMask(width, band, [&](float x, float y) { return body(x, y) + 0.5f; });
            halo.blur(3);
            c.paint(halo, {0.35f, 0.95f, 1.0f, 0.9f});
        }
        c.paintShaded(shapeMask(width, band, body), [&](int, int y) {
            // Darker at the top: the field looks set into the panel.
            return mix(Rgba{0.01f, 0.04f, 0.07f, 0.92f}, Rgba{0.04f, 0.12f, 0.17f, 0.92f},
                       static_cast<float>(y) / static_cast<float>(band));
        });
        const Mask rim = shapeMask(
            width, band, [&](float x, float y) { return std::abs(body(x, y) + 0.8f) - 0.8f; });
        c.paint(rim, focused ? Rgba{0.7f, 1.0f, 1.0f, 1} : Rgba{0.35f, 0.55f, 0.60f, 1});
        stack(picture, c, state, 2);
    }
    return picture;
}

Canvas drawDialogBox(int size) {
    Canvas c(size, size);
    const float s = static_cast<float>(size);
    const float m = s * 0.035f;
    const float radius = s * 0.05f;
    auto panel = [&](float x, float y) { return sdRoundedBox(x, y, m, m, s - m, s - m, radius); };
    Mask shadow = shapeMask(size, size, [&](float x, float y) { return panel(x, y) + 1.0f; });
    shadow.blur(static_cast<int>(m * 0.7f));
    c.paint(shadow, {0, 0, 0, 0.55f}, 3, 5);
    // A pale, faintly cellular surface: dark text and orange titles read on it.
    const Noise noise(61);
    c.paintShaded(shapeMask(size, size, panel), [&](int x, int y) {
        const float fx = static_cast<float>(x) / s;
        const float fy = static_cast<float>(y) / s;
        const Noise::Cells cell = noise.cells(fx * 7.0f, fy * 7.0f);
        const float membrane = 1.0f - smooth(0.0f, 0.06f, cell.second - cell.nearest);
        const Rgba base = mix(Rgba{0.95f, 0.98f, 0.96f, 1}, Rgba{0.80f, 0.89f, 0.87f, 1}, fy);
        return mix(base, Rgba{0.62f, 0.80f, 0.80f, 1}, membrane * 0.35f);
    });
    const Mask rim = shapeMask(
        size, size, [&](float x, float y) { return std::abs(panel(x, y) + 2.5f) - 2.0f; });
    c.paint(rim, {0.08f, 0.38f, 0.45f, 1});
    const Mask inner = shapeMask(
        size, size, [&](float x, float y) { return std::abs(panel(x, y) + 7.5f) - 0.7f; });
    c.paint(inner, {0.15f, 0.55f, 0.60f, 0.45f});
    return c;
}

}  // namespace brv::art
