#pragma once

#include <cmath>
#include <vector>

#include "tools/mkdata/Canvas.h"

namespace brv::art {

struct Point {
    float x = 0;
    float y = 0;
};

// Signed distances in pixels: negative inside the shape, positive outside.
float sdCircle(float x, float y, float cx, float cy, float radius);
float sdRoundedBox(float x, float y, float left, float top, float right, float bottom,
                   float radius);
float sdSegment(float x, float y, Point a, Point b);
// Any simple polygon (even-odd rule), for pennants and arrows.
float sdPolygon(float x, float y, const std::vector<Point>& points);

// Turns a distance field into an antialiased mask of the given size, sampled at
// pixel centres; `softness` widens the edge (1 = one pixel).
template <typename Sdf>
Mask shapeMask(int width, int height, Sdf&& sdf, float softness = 1.0f) {
    Mask m(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float d = sdf(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float c = 0.5f - d / softness;
            m.at(x, y) = c <= 0.0f ? 0.0f : (c >= 1.0f ? 1.0f : c);
        }
    }
    return m;
}

// Smooth step between two edges, as shaders use it.
inline float smooth(float edge0, float edge1, float x) {
    float t = (x - edge0) / (edge1 - edge0);
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace brv::art
