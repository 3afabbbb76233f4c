#pragma once

#include <cstddef>
#include <string>

#include "platform/SoundClip.h"

namespace brv {

// RIFF/WAVE sound effects as they come from the archive: uncompressed PCM, 8
// or 16 bits, mono or stereo, any chunks beside "fmt " and "data" skipped.
// Stereo is mixed down to the mono the output plays; 8-bit samples are
// widened to 16. Every chunk is bounded by the bytes really there: a data
// chunk cut short, a format the output cannot play or a file that is no
// WAVE at all is refused. On failure `out` is left untouched and `problem`,
// when given, says in a few words what is wrong.
bool decodeWav(const void* data, std::size_t size, SoundClip& out, std::string* problem = nullptr);

}  // namespace brv
