#include "gfx/Sprite.h"

#include <GL/gl.h>

#include <algorithm>

#include "config/KeyValueFile.h"
#include "config/PackFile.h"
#include "gfx/JpegTexture.h"
#include "gfx/TgaTexture.h"

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

Sprite::~Sprite() {
    release();
    if (ownsTexture_) {
        delete texture_;
    }
}

bool Sprite::load(const PackFile& archive, const void* description, std::size_t size, bool repeat,
                  bool mipmap) {
    release();
    archive_ = &archive;
    readDescription(description, size);
    DataBlob picture = archive.readEntry(fileName_);
    // A copy only borrows its texture: loading it must not overwrite (and
    // later delete) the original's, so it gets a texture of its own.
    if (!ownsTexture_) {
        texture_ = nullptr;
    }
    if (texture_ == nullptr) {
        const char last = fileName_.empty() ? '\0' : fileName_.back();
        if (last == 'a' || last == 'A') {
            texture_ = new TgaTexture;
        } else {
            texture_ = new JpegTexture;
        }
        ownsTexture_ = true;
    }
    texture_->loadMemory(picture.bytes(), picture.size, repeat, mipmap);
    cellWidth_ = static_cast<float>(texture_->width() / frames_);
    cellHeight_ = static_cast<float>(texture_->height() / groups_);
    frame_ = 0;
    group_ = 0;
    return true;
}

void Sprite::release() {
    if (ownsTexture_ && texture_ != nullptr) {
        texture_->release();
    }
}

void Sprite::draw(bool bind) const {
    // A sprite without a picture (not loaded, released, or a picture that
    // failed) draws nothing rather than a blank square.
    if (!visible_ || texture_ == nullptr || texture_->glName() == 0) {
        return;
    }
    glColor4f(1, 1, 1, 1);
    if (bind) {
        glBindTexture(GL_TEXTURE_2D, texture_->glName());
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    const float s0 = static_cast<float>(frame_) / static_cast<float>(frames_);
    const float s1 = static_cast<float>(frame_ + 1) / static_cast<float>(frames_);
    const float t0 = static_cast<float>(group_) / static_cast<float>(groups_);
    const float t1 = static_cast<float>(group_ + 1) / static_cast<float>(groups_);
    const float halfWidth = cellWidth_ / 2;
    const float halfHeight = cellHeight_ / 2;
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(s0, t1);
    glVertex3f(x - halfWidth, y - halfHeight, z);
    glTexCoord2f(s0, t0);
    glVertex3f(x - halfWidth, y + halfHeight, z);
    glTexCoord2f(s1, t1);
    glVertex3f(x + halfWidth, y - halfHeight, z);
    glTexCoord2f(s1, t0);
    glVertex3f(x + halfWidth, y + halfHeight, z);
    glEnd();
    glDisable(GL_BLEND);
}

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
