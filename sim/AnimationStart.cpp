#include "sim/AnimationStart.h"

#include "gfx/Sprite.h"

namespace brv {

void startAnimationAt(Sprite& sprite, int frame) {
    const unsigned int duration = static_cast<unsigned int>(sprite.frameDuration());
    const unsigned int cycle = duration * static_cast<unsigned int>(sprite.frames());
    // The copy carries the template's clock. One step that lands exactly on
    // (frame + frames) × duration wraps once and leaves frame × duration.
    for (int guard = 0; guard < 64 && sprite.elapsed() >= cycle; ++guard) {
        sprite.advance(0);  // an over-long clock wraps one cycle per step
    }
    const unsigned int target = static_cast<unsigned int>(frame) * duration + cycle;
    if (sprite.elapsed() <= target) {
        sprite.advance(target - sprite.elapsed());
    }
    sprite.setFrame(frame);
}

}  // namespace brv
