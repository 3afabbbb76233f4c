#pragma once

namespace brv {

class Texture;

// What every control shares: the hit box and the picture whose visual states
// stand stacked as equal horizontal bands, band 1 at the bottom of the texture.

// All four edges belong to the box; the corners are truncated towards zero
// first, so a point on trunc(left + width) is still inside.
bool insideBox(int x, int y, float left, float top, float width, float height);

// Draws band `state` (1..bands) of `image` over the box, blended, in the
// current colour. Nothing is drawn without a picture.
void drawBand(const Texture* image, float x, float y, float width, float height, int state,
              int bands);

}  // namespace brv
