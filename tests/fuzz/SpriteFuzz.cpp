// Sprite descriptions and how their counts drive an animation: whatever the
// description says, the clock shows a frame inside the picture.
#include <cstdint>

#include "config/SpriteAnimation.h"
#include "sim/AnimationStart.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brv::SpriteAnimation clock;
    (void)clock.readDescription(data, size);
    if (clock.frames() < 1 || clock.groups() < 1) {
        __builtin_trap();
    }
    brv::startAnimationAt(clock, static_cast<int>(size % static_cast<std::size_t>(clock.frames())));
    for (int step = 0; step < 64; ++step) {
        clock.advance(30);
        if (clock.frame() < 0 || clock.frame() >= clock.frames()) {
            __builtin_trap();
        }
    }
    return 0;
}
