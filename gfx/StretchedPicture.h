#pragma once

#include "gfx/TextStyle.h"

namespace brv {

class Texture;

// Draws a whole picture stretched over the rectangle at (x, y) of the y-down
// logical area, depth 0, in white so its own colours show. The pictures are
// stored bottom row first, hence t = 1 at the top edge. Leaves 2D texturing
// enabled with the picture bound; blending is the caller's choice.
void drawStretchedPicture(const Texture& texture, float x, float y, float width, float height);

// The same over the whole area from (0, 0): backgrounds and the field.
inline void drawStretchedPicture(const Texture& texture, float width, float height) {
    drawStretchedPicture(texture, 0, 0, width, height);
}

// Lays an untextured rectangle of `colour` (its alpha blends it over what is
// below) at the given depth: a shade over the field, a band, a panel. Leaves
// 2D texturing enabled, blending off and the colour white.
void drawShade(float x, float y, float width, float height, float depth, const Colour& colour);

}  // namespace brv
