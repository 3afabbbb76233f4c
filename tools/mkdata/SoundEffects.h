#pragma once

#include <cstdint>
#include <vector>

#include "tools/mkdata/DataSetArt.h"

namespace brv::art {

// The rate every effect is written at: plenty for short, soft effects and
// half the bytes of CD rate.
inline constexpr int kSoundRate = 22050;

// The seven effects the game plays, synthesised from fixed recipes (no clock,
// no unseeded noise), so the same build gives the same bytes: "snd/*.wav".
std::vector<ArtFile> synthesiseSoundEffects();

// A 16-bit PCM mono RIFF/WAVE file: the "fmt " and "data" chunks only.
std::vector<std::uint8_t> encodeWav(int sampleRate, const std::vector<std::int16_t>& samples);

}  // namespace brv::art
