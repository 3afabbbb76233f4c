#pragma once

#include "gfx/Texture.h"

namespace brv {

// A texture made from an uncompressed 24- or 32-bit TGA picture (with alpha
// when it has 32 bits).
class TgaTexture : public Texture {
public:
    // Without mipmaps the texture always repeats; the repeat flag only
    // chooses between repeat and clamp for mipmapped pictures.
    bool loadFile(const std::string& path, bool repeat, bool mipmap) override;
    bool loadMemory(const void* data, std::size_t size, bool repeat, bool mipmap) override;

    int bitsPerPixel() const { return bitsPerPixel_; }

private:
    int bitsPerPixel_ = 0;
};

}  // namespace brv
