#include "gfx/Sprite.h"

#include <algorithm>

#include "config/KeyValueFile.h"

namespace brv {

Sprite::Sprite(const Sprite& other)
    : x(other.x),
      y(other.y),
      z(other.z),
      texture_(other.texture_),
      archive_(other.archive_),
      fileName_(other.fileName_),
      groups_(other.groups_),
      frames_(other.frames_),
      cellWidth_(other.cellWidth_),
      cellHeight_(other.cellHeight_),
      frame_(other.frame_),
      group_(other.group_),
      visible_(other.visible_),
      ownsTexture_(false),
      elapsed_(other.elapsed_),
      frameDuration_(other.frameDuration_) {}

Sprite::~Sprite() = default;

void Sprite::readDescription(const void* data, std::size_t size) {
    KeyValueFile description;
    description.loadFromMemory(data, size, true);
    fileName_ = description.get("file_name", "0");
    // A count of 0 (or less) would divide by zero when cells are cut: one row or
    // column is the only sensible reading.
    groups_ = std::max(1, toInt(description.get("groups", "1")));
    frames_ = std::max(1, toInt(description.get("frames", "1")));
    frame_ = 0;
    group_ = 0;
}

void Sprite::advance(unsigned int step) {
    elapsed_ += step;
    frame_ = static_cast<int>(elapsed_ / static_cast<unsigned int>(frameDuration_));
    if (frame_ >= frames_) {
        frame_ = 0;
        elapsed_ -= static_cast<unsigned int>(frameDuration_ * frames_);
    }
}

}  // namespace brv
