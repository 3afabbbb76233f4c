#pragma once

namespace brv {

class Texture;

// Draws a whole picture stretched over the rectangle (0, 0)-(width, height) of
// the y-down logical area at depth 0, in white so its own colours show. The
// pictures are stored bottom row first, hence t = 1 at the top edge. Leaves 2D
// texturing enabled with the picture bound.
void drawStretchedPicture(const Texture& texture, float width, float height);

}  // namespace brv
