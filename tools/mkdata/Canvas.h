#pragma once

#include <cstdint>
#include <vector>

namespace brv::art {

// A colour with straight (not premultiplied) alpha, every channel 0..1.
struct Rgba {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;
};

Rgba mix(const Rgba& a, const Rgba& b, float t);

// Coverage of a shape, one float per pixel (0 = outside, 1 = inside). Shapes,
// lettering and glows are first drawn into masks, then painted with a colour.
class Mask {
public:
    Mask(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    float at(int x, int y) const { return values_[index(x, y)]; }
    float& at(int x, int y) { return values_[index(x, y)]; }
    // Coverage outside the mask is 0, so shapes may be drawn half off the edge.
    float sample(int x, int y) const;

    // Softens the mask with three box passes (close to a Gaussian of `radius`).
    void blur(int radius);
    void scale(float factor);

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    void boxPass(int radius, bool horizontal);

    int width_;
    int height_;
    std::vector<float> values_;
};

// A picture being painted: RGBA floats, premultiplied internally so that
// compositing and resampling treat translucent edges correctly. Row 0 is the
// top of the picture.
class Canvas {
public:
    Canvas(int width, int height, const Rgba& fill = {0, 0, 0, 0});

    int width() const { return width_; }
    int height() const { return height_; }

    // Straight-alpha colour of one pixel.
    Rgba pixel(int x, int y) const;
    void setPixel(int x, int y, const Rgba& colour);

    // Paints `colour` over the pixel with the given coverage ("over" operator).
    void blend(int x, int y, const Rgba& colour, float coverage);
    // Adds light: brightens without changing the alpha of opaque pixels.
    void addLight(int x, int y, const Rgba& colour, float amount);

    // Paints the mask's coverage (placed at dx, dy) in one colour or a shader
    // `Rgba shade(int x, int y)` evaluated per pixel of the canvas.
    void paint(const Mask& mask, const Rgba& colour, int dx = 0, int dy = 0);
    template <typename Shade>
    void paintShaded(const Mask& mask, Shade&& shade, int dx = 0, int dy = 0);
    void glow(const Mask& mask, const Rgba& colour, int dx = 0, int dy = 0);

    // Copies `other` over this canvas with its top-left corner at (dx, dy).
    void draw(const Canvas& other, int dx, int dy);

    // Area-averaged resampling to any size (down or up, different factors per
    // axis): pictures are painted in logical proportions, then squeezed into
    // power-of-two sides.
    Canvas resampled(int width, int height) const;

    // 8-bit straight RGBA, top row first. Fully transparent pixels take the
    // colour of their nearest painted neighbours, so linear filtering in the
    // game never pulls a dark fringe into a picture's edge.
    std::vector<std::uint8_t> toRgba8() const;
    // 8-bit RGB over black, top row first.
    std::vector<std::uint8_t> toRgb8() const;

private:
    std::size_t index(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)) *
               4;
    }

    int width_;
    int height_;
    std::vector<float> data_;  // premultiplied r, g, b, a
};

template <typename Shade>
void Canvas::paintShaded(const Mask& mask, Shade&& shade, int dx, int dy) {
    for (int y = 0; y < mask.height(); ++y) {
        const int cy = y + dy;
        if (cy < 0 || cy >= height_) {
            continue;
        }
        for (int x = 0; x < mask.width(); ++x) {
            const int cx = x + dx;
            const float m = mask.at(x, y);
            if (cx < 0 || cx >= width_ || m <= 0.0f) {
                continue;
            }
            blend(cx, cy, shade(cx, cy), m);
        }
    }
}

std::uint8_t toByte(float value);

}  // namespace brv::art
