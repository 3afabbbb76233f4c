#pragma once

namespace brv {

class SpriteAnimation;

// Flags and life sources start their copied animation on a random whole frame:
// the clock is set to frame × frame duration, as if it had run that long from
// frame 0, and the frame shown follows.
void startAnimationAt(SpriteAnimation& clock, int frame);

}  // namespace brv
