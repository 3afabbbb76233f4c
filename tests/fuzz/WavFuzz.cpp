// Sound effects as they come from the archive.
#include <cstdint>
#include <string>

#include "audio/WavDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brv::SoundClip clip;
    std::string problem;
    const bool ok = brv::decodeWav(data, size, clip, &problem);
    // A clip that plays has samples, no more than the bytes could carry, at a
    // usable rate; a refusal always says why.
    if (ok ? clip.samples.empty() || clip.samples.size() > size || clip.sampleRate <= 0
           : problem.empty()) {
        __builtin_trap();
    }
    return 0;
}
