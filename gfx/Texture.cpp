#include "gfx/Texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "gfx/Image.h"

namespace brv {

Texture::~Texture() {
    // Without a context the name is already 0 (see the class comment).
    release();
}

bool Texture::loadFilePair(const std::string&, const std::string&, bool) {
    return false;
}

bool Texture::loadMemoryPair(const void*, std::size_t, const void*, std::size_t, bool) {
    return false;
}

void Texture::release() {
    if (name_ != 0) {
        const GLuint name = name_;
        glDeleteTextures(1, &name);
    }
    name_ = 0;
}

void Texture::create(const Image& image, const Setup& setup) {
    release();
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, setup.minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, setup.wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, setup.wrap);
    if (setup.modulate) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    // Decoded rows are packed without padding; GL's default expects rows on
    // 4-byte boundaries, which would shear RGB pictures of odd width.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = image.components == 4 ? GL_RGBA : GL_RGB;
    if (setup.mipmap) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, setup.internalFormat, image.width, image.height, format,
                          GL_UNSIGNED_BYTE, image.pixels.data());
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, setup.internalFormat, image.width, image.height, 0, format,
                     GL_UNSIGNED_BYTE, image.pixels.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    name_ = name;
    width_ = image.width;
    height_ = image.height;
}

}  // namespace brv
