#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/SoundClip.h"

namespace brv {

// The voices of the sound output and their sum. A few effects may overlap (a
// flag set while a source appears); a fifth takes the voice that started
// first. Clips at another rate than the output are stepped through at their
// own speed. mix() runs on the output's thread and never allocates or frees:
// a finished voice keeps its clip until start() reuses the voice, so no clip
// is ever released there. The owner serialises the calls (the device lock).
class SoundMixer {
public:
    static constexpr int kVoices = 4;

    explicit SoundMixer(int outputRate) : outputRate_(outputRate > 0 ? outputRate : 1) {}

    void start(std::shared_ptr<const SoundClip> clip);
    void stopAll();
    // 0..100 percent of each clip's own loudness, clamped.
    void setVolume(int percent);
    // Fills `count` mono samples with the sum of the voices.
    void mix(std::int16_t* out, int count);
    int playingCount() const;

private:
    struct Voice {
        std::shared_ptr<const SoundClip> clip;
        // Position and step in the clip's samples, 16.16 fixed point.
        std::uint64_t position = 0;
        std::uint64_t step = 0;
        std::uint64_t started = 0;
        bool playing() const { return clip && (position >> 16) < clip->samples.size(); }
    };

    int outputRate_;
    int volume_ = 100;
    std::uint64_t starts_ = 0;
    std::array<Voice, kVoices> voices_;
};

}  // namespace brv
