#include "tools/mkdata/Shapes.h"

#include <algorithm>

namespace brv::art {

float sdCircle(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

float sdRoundedBox(float x, float y, float left, float top, float right, float bottom,
                   float radius) {
    const float cx = (left + right) * 0.5f;
    const float cy = (top + bottom) * 0.5f;
    const float hx = (right - left) * 0.5f - radius;
    const float hy = (bottom - top) * 0.5f - radius;
    const float qx = std::abs(x - cx) - hx;
    const float qy = std::abs(y - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sdSegment(float x, float y, Point a, Point b) {
    const float px = x - a.x;
    const float py = y - a.y;
    const float bx = b.x - a.x;
    const float by = b.y - a.y;
    const float len = bx * bx + by * by;
    const float h = len > 0.0f ? std::clamp((px * bx + py * by) / len, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - bx * h, py - by * h);
}

float sdPolygon(float x, float y, const std::vector<Point>& points) {
    if (points.size() < 3) {
        return 1e9f;
    }
    float best = 1e30f;
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        best = std::min(best, sdSegment(x, y, a, b));
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside ? -best : best;
}

}  // namespace brv::art
