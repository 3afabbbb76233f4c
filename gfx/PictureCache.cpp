#include "gfx/PictureCache.h"

#include <GL/gl.h>

#include <bit>
#include <cstring>

#include "gfx/FrameState.h"
#include "gfx/StretchedPicture.h"
#include "gfx/Texture.h"

namespace brv {

namespace {

// OpenGL 1.1 asks for texture sides that are powers of two; from 2.0 on, or
// with the extension, any side will do and the texture needs no spare room.
bool anyTextureSide() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version != nullptr && version[0] >= '2' && version[0] <= '9') {
        return true;
    }
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return extensions != nullptr &&
           std::strstr(extensions, "GL_ARB_texture_non_power_of_two") != nullptr;
}

}  // namespace

void PictureCache::draw(const Texture& picture, float width, float height) {
    const Key key = currentKey(picture, width, height);
    if (texture_ != 0 && key == key_) {
        copyBack();
        return;
    }
    drawStretchedPicture(picture, width, height);
    if (!unavailable_ && !keep(key)) {
        release();
        unavailable_ = true;
    }
}

void PictureCache::release() {
    if (texture_ != 0) {
        glDeleteTextures(1, &texture_);
    }
    texture_ = 0;
    textureWidth_ = 0;
    textureHeight_ = 0;
    key_ = Key{};
    unavailable_ = false;
}

PictureCache::Key PictureCache::currentKey(const Texture& picture, float width, float height) {
    Key key;
    key.picture = picture.glName();
    key.width = width;
    key.height = height;
    glGetIntegerv(GL_VIEWPORT, key.viewport.data());
    glGetFloatv(GL_PROJECTION_MATRIX, key.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, key.modelview.data());
    return key;
}

// Copies the viewport's pixels, just drawn, into the cache texture; false
// when the renderer refuses (too large, out of memory).
bool PictureCache::keep(const Key& key) {
    const int width = key.viewport[2];
    const int height = key.viewport[3];
    if (width <= 0 || height <= 0) {
        return false;
    }
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    const bool anySide = anyTextureSide();
    const int textureWidth =
        anySide ? width : static_cast<int>(std::bit_ceil(static_cast<unsigned>(width)));
    const int textureHeight =
        anySide ? height : static_cast<int>(std::bit_ceil(static_cast<unsigned>(height)));
    if (textureWidth > largest || textureHeight > largest) {
        return false;
    }
    discardGlErrors();
    if (texture_ == 0) {
        glGenTextures(1, &texture_);
    }
    glBindTexture(GL_TEXTURE_2D, texture_);
    if (textureWidth != textureWidth_ || textureHeight != textureHeight_) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, textureWidth, textureHeight, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, nullptr);
        textureWidth_ = textureWidth;
        textureHeight_ = textureHeight;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, key.viewport[0], key.viewport[1], width, height);
    if (glGetError() != GL_NO_ERROR) {
        textureWidth_ = 0;
        textureHeight_ = 0;
        return false;
    }
    key_ = key;
    return true;
}

// One texel per pixel: the viewport's own pixel grid as the projection, and
// nearest sampling at the texel centres gives back exactly the pixels kept.
void PictureCache::copyBack() const {
    const float width = static_cast<float>(key_.viewport[2]);
    const float height = static_cast<float>(key_.viewport[3]);
    const float s = width / static_cast<float>(textureWidth_);
    const float t = height / static_cast<float>(textureHeight_);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(0, t);
    glVertex2f(0, height);
    glTexCoord2f(s, 0);
    glVertex2f(width, 0);
    glTexCoord2f(s, t);
    glVertex2f(width, height);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace brv
