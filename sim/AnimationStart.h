#pragma once

namespace brv {

class Sprite;

// Flags and life sources start their copied animation on a random whole frame:
// the sprite's clock is set to frame × frame duration, as if it had run that
// long from frame 0, and the frame shown follows.
void startAnimationAt(Sprite& sprite, int frame);

}  // namespace brv
