#include "gfx/TgaTexture.h"

#include <GL/gl.h>

#include "gfx/Image.h"
#include "gfx/TgaDecoder.h"
#include "platform/FileIo.h"

namespace brv {

bool TgaTexture::loadFile(const std::string& path, bool repeat, bool mipmap) {
    auto bytes = readWholeFile(path);
    if (!bytes) {
        return false;
    }
    return loadMemory(bytes->data(), bytes->size(), repeat, mipmap);
}

bool TgaTexture::loadMemory(const void* data, std::size_t size, bool repeat, bool mipmap) {
    Image image;
    problem_.clear();
    if (!decodeTga(data, size, image, &problem_)) {
        return false;
    }
    Setup setup{};
    setup.mipmap = mipmap;
    setup.internalFormat = GL_RGBA8;
    setup.modulate = true;
    if (mipmap) {
        setup.minFilter = GL_LINEAR_MIPMAP_NEAREST;
        setup.wrap = repeat ? GL_REPEAT : GL_CLAMP;
    } else {
        setup.minFilter = GL_LINEAR;
        setup.wrap = GL_REPEAT;
    }
    create(image, setup);
    bitsPerPixel_ = image.components * 8;
    return true;
}

}  // namespace brv
