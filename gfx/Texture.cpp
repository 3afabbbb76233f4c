#include "gfx/Texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <utility>

#include "config/PackFile.h"
#include "gfx/Image.h"

namespace brv {

struct Texture::Source {
    const PackFile* archive;
    std::string path;
    bool repeat;
    bool mipmap;
    MadeHook made;
    bool heard = false;  // made once: a picture set aside and made again is not told of twice
};

// Out of line, where the picture's source is a complete type.
Texture::Texture() = default;

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
    source_.reset();
    waiting_ = false;
    deleteName();
}

void Texture::deleteName() {
    if (name_ != 0) {
        const GLuint name = name_;
        glDeleteTextures(1, &name);
    }
    name_ = 0;
}

void Texture::loadWhenFirstUsed(const PackFile& archive, std::string path, bool repeat, bool mipmap,
                                MadeHook made) {
    release();
    source_ = std::make_unique<Source>(
        Source{&archive, std::move(path), repeat, mipmap, std::move(made)});
    waiting_ = true;
}

bool Texture::setAside() {
    if (source_ == nullptr || name_ == 0) {
        return false;
    }
    deleteName();
    waiting_ = true;
    return true;
}

// A texture stands for its picture: when its GL object is made is the
// drawing's business, so the first use through a const texture (a control's
// picture, the art a view draws) makes it. The load ends the wait and drops
// the source, which is kept for the next wait.
void Texture::makeIfWaiting() const {
    if (!waiting_) {
        return;
    }
    Texture& self = const_cast<Texture&>(*this);
    std::unique_ptr<Source> source = std::move(self.source_);
    const DataBlob picture = source->archive->readEntry(source->path);
    self.loadMemory(picture.bytes(), picture.size, source->repeat, source->mipmap);
    self.waiting_ = false;
    self.source_ = std::move(source);
    if (source_->made && !source_->heard) {
        source_->heard = true;
        source_->made(source_->path, *this);
    }
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
    static unsigned long objectsMade = 0;
    name_ = name;
    serial_ = ++objectsMade;
    width_ = image.width;
    height_ = image.height;
}

}  // namespace brv
