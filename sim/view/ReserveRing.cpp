#include "sim/view/ReserveRing.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

// Just outside the 32-pixel life-source art, three pixels wide at 800 × 600.
constexpr float kInner = 18;
constexpr float kOuter = kReserveRingOuter;
// Segments of a whole turn: smooth at twice the logical size.
constexpr int kSegments = 72;
constexpr float kTurn = 6.2831853f;

// A band between two radii from twelve o'clock clockwise (y runs down) over
// `share` of the turn.
void band(float x, float y, float inner, float outer, float share) {
    const int steps = std::max(1, static_cast<int>(std::ceil(share * kSegments)));
    glBegin(GL_TRIANGLE_STRIP);
    for (int i = 0; i <= steps; ++i) {
        const float a = -kTurn / 4 + kTurn * share * static_cast<float>(i) / steps;
        glVertex3f(x + outer * std::cos(a), y + outer * std::sin(a), 0);
        glVertex3f(x + inner * std::cos(a), y + inner * std::sin(a), 0);
    }
    glEnd();
}

}  // namespace

void drawReserveRing(float x, float y, float left, bool arcShows) {
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.55f);
    band(x, y, kInner - 1, kOuter + 1, 1);
    if (arcShows && left > 0) {
        glColor4f(1, 1, 1, 0.9f);
        band(x, y, kInner, kOuter, std::min(left, 1.0f));
    }
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}

}  // namespace brv
