#include "sim/AnimationStart.h"

#include "config/SpriteAnimation.h"

namespace brv {

void startAnimationAt(SpriteAnimation& clock, int frame) {
    const unsigned int duration = static_cast<unsigned int>(clock.frameDuration());
    const unsigned int cycle = duration * static_cast<unsigned int>(clock.frames());
    // The copy carries the template's clock. One step that lands exactly on
    // (frame + frames) × duration wraps once and leaves frame × duration.
    for (int guard = 0; guard < 64 && clock.elapsed() >= cycle; ++guard) {
        clock.advance(0);  // an over-long clock wraps one cycle per step
    }
    const unsigned int target = static_cast<unsigned int>(frame) * duration + cycle;
    if (clock.elapsed() <= target) {
        clock.advance(target - clock.elapsed());
    }
    clock.setFrame(frame);
}

}  // namespace brv
