#include "tools/mkdata/Canvas.h"

#include <algorithm>
#include <cmath>

namespace brv::art {

Rgba mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

std::uint8_t toByte(float value) {
    const float clamped = std::clamp(value, 0.0f, 1.0f);
    return static_cast<std::uint8_t>(std::lround(clamped * 255.0f));
}

Mask::Mask(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      values_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0.0f) {}

float Mask::sample(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0.0f;
    }
    return at(x, y);
}

void Mask::boxPass(int radius, bool horizontal) {
    const int lines = horizontal ? height_ : width_;
    const int length = horizontal ? width_ : height_;
    std::vector<float> line(static_cast<std::size_t>(length));
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        auto value = [&](int i) -> float& { return horizontal ? at(i, l) : at(l, i); };
        for (int i = 0; i < length; ++i) {
            line[static_cast<std::size_t>(i)] = value(i);
        }
        // A running sum over the window; outside the mask counts as empty.
        float sum = 0.0f;
        for (int i = 0; i <= radius && i < length; ++i) {
            sum += line[static_cast<std::size_t>(i)];
        }
        for (int i = 0; i < length; ++i) {
            value(i) = sum * norm;
            const int enter = i + radius + 1;
            const int leave = i - radius;
            if (enter < length) {
                sum += line[static_cast<std::size_t>(enter)];
            }
            if (leave >= 0) {
                sum -= line[static_cast<std::size_t>(leave)];
            }
        }
    }
}

void Mask::blur(int radius) {
    if (radius <= 0) {
        return;
    }
    const int box = std::max(1, (radius * 2) / 3);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(box, true);
        boxPass(box, false);
    }
}

void Mask::scale(float factor) {
    for (float& v : values_) {
        v *= factor;
    }
}

Canvas::Canvas(int width, int height, const Rgba& fill)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      data_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            setPixel(x, y, fill);
        }
    }
}

Rgba Canvas::pixel(int x, int y) const {
    const float* p = &data_[index(x, y)];
    if (p[3] <= 0.0f) {
        return {0, 0, 0, 0};
    }
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Canvas::setPixel(int x, int y, const Rgba& c) {
    float* p = &data_[index(x, y)];
    const float a = std::clamp(c.a, 0.0f, 1.0f);
    p[0] = c.r * a;
    p[1] = c.g * a;
    p[2] = c.b * a;
    p[3] = a;
}

void Canvas::blend(int x, int y, const Rgba& c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    const float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
    float* p = &data_[index(x, y)];
    const float keep = 1.0f - a;
    p[0] = c.r * a + p[0] * keep;
    p[1] = c.g * a + p[1] * keep;
    p[2] = c.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
}

void Canvas::addLight(int x, int y, const Rgba& c, float amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    float* p = &data_[index(x, y)];
    const float k = std::max(0.0f, amount) * c.a;
    p[0] += c.r * k;
    p[1] += c.g * k;
    p[2] += c.b * k;
    // Light on a transparent pixel makes it visible: the glow carries alpha too.
    p[3] = std::min(1.0f, p[3] + k * std::max({c.r, c.g, c.b}));
    p[0] = std::min(p[0], p[3]);
    p[1] = std::min(p[1], p[3]);
    p[2] = std::min(p[2], p[3]);
}

void Canvas::paint(const Mask& mask, const Rgba& colour, int dx, int dy) {
    paintShaded(
        mask, [&](int, int) { return colour; }, dx, dy);
}

void Canvas::glow(const Mask& mask, const Rgba& colour, int dx, int dy) {
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const float m = mask.at(x, y);
            if (m > 0.0f) {
                addLight(x + dx, y + dy, colour, m);
            }
        }
    }
}

void Canvas::draw(const Canvas& other, int dx, int dy) {
    for (int y = 0; y < other.height_; ++y) {
        for (int x = 0; x < other.width_; ++x) {
            const Rgba c = other.pixel(x, y);
            if (c.a > 0.0f) {
                blend(x + dx, y + dy, c, 1.0f);
            }
        }
    }
}

namespace {

// For every output cell along one axis: the source pixels it overlaps and how much.
struct Span {
    int first = 0;
    std::vector<float> weights;
};

std::vector<Span> spans(int from, int to) {
    std::vector<Span> out(static_cast<std::size_t>(to));
    const double step = static_cast<double>(from) / static_cast<double>(to);
    for (int i = 0; i < to; ++i) {
        double lo = i * step;
        double hi = (i + 1) * step;
        if (hi - lo < 1.0) {  // enlarging: take the one pixel under the centre
            const double mid = (lo + hi) * 0.5;
            lo = std::floor(mid);
            hi = lo + 1.0;
        }
        Span& s = out[static_cast<std::size_t>(i)];
        s.first = static_cast<int>(std::floor(lo));
        const int last = std::min(from - 1, static_cast<int>(std::ceil(hi)) - 1);
        double total = 0.0;
        for (int p = s.first; p <= last; ++p) {
            const double w = std::min<double>(hi, p + 1) - std::max<double>(lo, p);
            s.weights.push_back(static_cast<float>(w));
            total += w;
        }
        for (float& w : s.weights) {
            w = static_cast<float>(w / total);
        }
    }
    return out;
}

}  // namespace

Canvas Canvas::resampled(int width, int height) const {
    const std::vector<Span> xs = spans(width_, width);
    const std::vector<Span> ys = spans(height_, height);
    // Horizontal pass into a temporary of the new width, then the vertical pass.
    std::vector<float> mid(static_cast<std::size_t>(width) * static_cast<std::size_t>(height_) * 4);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width; ++x) {
            const Span& s = xs[static_cast<std::size_t>(x)];
            float acc[4] = {0, 0, 0, 0};
            for (std::size_t k = 0; k < s.weights.size(); ++k) {
                const float* p = &data_[index(s.first + static_cast<int>(k), y)];
                for (int c = 0; c < 4; ++c) {
                    acc[c] += p[c] * s.weights[k];
                }
            }
            float* q = &mid[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)) *
                            4];
            std::copy(acc, acc + 4, q);
        }
    }
    Canvas out(width, height);
    for (int y = 0; y < height; ++y) {
        const Span& s = ys[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            float* q = &out.data_[out.index(x, y)];
            for (std::size_t k = 0; k < s.weights.size(); ++k) {
                const std::size_t row = static_cast<std::size_t>(s.first) + k;
                const float* p =
                    &mid[(row * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4];
                for (int c = 0; c < 4; ++c) {
                    q[c] += p[c] * s.weights[k];
                }
            }
        }
    }
    return out;
}

std::vector<std::uint8_t> Canvas::toRgba8() const {
    const std::size_t n = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    std::vector<std::uint8_t> out(n * 4);
    std::vector<bool> known(n, false);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
            const Rgba c = pixel(x, y);
            out[i * 4 + 3] = toByte(c.a);
            if (out[i * 4 + 3] != 0) {
                out[i * 4 + 0] = toByte(c.r);
                out[i * 4 + 1] = toByte(c.g);
                out[i * 4 + 2] = toByte(c.b);
                known[i] = true;
            }
        }
    }
    // Grow the painted colours outwards into the transparent area, a few pixels
    // at a time; filtering only ever reaches a pixel or two beyond an edge.
    for (int pass = 0; pass < 8; ++pass) {
        std::vector<bool> next = known;
        bool changed = false;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
                if (known[i]) {
                    continue;
                }
                int sum[3] = {0, 0, 0};
                int count = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx;
                        const int ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= width_ || ny >= height_) {
                            continue;
                        }
                        const std::size_t j = static_cast<std::size_t>(ny) * width_ + nx;
                        if (known[j]) {
                            for (int c = 0; c < 3; ++c) {
                                sum[c] += out[j * 4 + c];
                            }
                            ++count;
                        }
                    }
                }
                if (count > 0) {
                    for (int c = 0; c < 3; ++c) {
                        out[i * 4 + c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
                    }
                    next[i] = true;
                    changed = true;
                }
            }
        }
        known.swap(next);
        if (!changed) {
            break;
        }
    }
    return out;
}

std::vector<std::uint8_t> Canvas::toRgb8() const {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width_) * height_ * 3);
    for (std::size_t i = 0, n = static_cast<std::size_t>(width_) * height_; i < n; ++i) {
        for (int c = 0; c < 3; ++c) {
            out[i * 3 + c] = toByte(data_[i * 4 + c]);
        }
    }
    return out;
}

}  // namespace brv::art
