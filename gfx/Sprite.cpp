#include "gfx/Sprite.h"

#include <GL/gl.h>

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
      animation_(other.animation_),
      cellWidth_(other.cellWidth_),
      cellHeight_(other.cellHeight_),
      visible_(other.visible_),
      ownsTexture_(false) {}

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
    cellWidth_ = static_cast<float>(texture_->width() / frames());
    cellHeight_ = static_cast<float>(texture_->height() / groups());
    setFrame(0);
    setGroup(0);
    return true;
}

void Sprite::release() {
    if (ownsTexture_ && texture_ != nullptr) {
        texture_->release();
    }
}

void Sprite::draw(bool bind) const {
    drawCell(frame(), group(), x, y, z, bind);
}

void Sprite::drawCell(int frame, int group, float atX, float atY, float atZ, bool bind,
                      const Colour& tint) const {
    // A sprite without a picture (not loaded, released, or a picture that
    // failed) draws nothing rather than a blank square.
    if (!visible_ || texture_ == nullptr || texture_->glName() == 0) {
        return;
    }
    glColor4f(tint.red, tint.green, tint.blue, tint.alpha);
    if (bind) {
        glBindTexture(GL_TEXTURE_2D, texture_->glName());
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    const float s0 = static_cast<float>(frame) / static_cast<float>(frames());
    const float s1 = static_cast<float>(frame + 1) / static_cast<float>(frames());
    const float t0 = static_cast<float>(group) / static_cast<float>(groups());
    const float t1 = static_cast<float>(group + 1) / static_cast<float>(groups());
    const float halfWidth = cellWidth_ / 2;
    const float halfHeight = cellHeight_ / 2;
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(s0, t1);
    glVertex3f(atX - halfWidth, atY - halfHeight, atZ);
    glTexCoord2f(s0, t0);
    glVertex3f(atX - halfWidth, atY + halfHeight, atZ);
    glTexCoord2f(s1, t1);
    glVertex3f(atX + halfWidth, atY - halfHeight, atZ);
    glTexCoord2f(s1, t0);
    glVertex3f(atX + halfWidth, atY + halfHeight, atZ);
    glEnd();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}

void Sprite::readDescription(const void* data, std::size_t size) {
    fileName_ = animation_.readDescription(data, size);
}

void Sprite::advance(unsigned int step) {
    animation_.advance(step);
}

}  // namespace brv
