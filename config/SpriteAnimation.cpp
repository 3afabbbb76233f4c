#include "config/SpriteAnimation.h"

#include <algorithm>

#include "config/KeyValueFile.h"

namespace brv {

std::string SpriteAnimation::readDescription(const void* data, std::size_t size) {
    KeyValueFile description;
    description.loadFromMemory(data, size, true);
    // A count of 0 (or less) would divide by zero when cells are cut: one row or
    // column is the only sensible reading.
    groups_ = std::clamp(toInt(description.get("groups", "1")), 1, kMaxCells);
    frames_ = std::clamp(toInt(description.get("frames", "1")), 1, kMaxCells);
    frame_ = 0;
    group_ = 0;
    return description.get("file_name", "0");
}

void SpriteAnimation::advance(unsigned int step) {
    elapsed_ += step;
    frame_ = static_cast<int>(elapsed_ / static_cast<unsigned int>(frameDuration_));
    if (frame_ >= frames_) {
        frame_ = 0;
        elapsed_ -= static_cast<unsigned int>(frameDuration_ * frames_);
    }
}

}  // namespace brv
