#pragma once

#include <cstdint>
#include <vector>

namespace brv {

// One sound effect ready to play: mono 16-bit samples at `sampleRate` per
// second. Loaded once and shared, read only, by every voice that plays it.
struct SoundClip {
    int sampleRate = 0;
    std::vector<std::int16_t> samples;
};

}  // namespace brv
