#pragma once

#include "gfx/Texture.h"

namespace brv {

// A texture made from a JPEG picture (colour only; a greyscale picture is
// expanded to colour), or from a colour JPEG plus a greyscale JPEG of the same
// size that becomes the alpha channel.
class JpegTexture : public Texture {
public:
    // Pairs always repeat.
    bool loadFilePair(const std::string& colourPath, const std::string& alphaPath,
                      bool mipmap) override;
    bool loadMemoryPair(const void* colour, std::size_t colourSize, const void* alpha,
                        std::size_t alphaSize, bool mipmap) override;
    bool loadFile(const std::string& path, bool repeat, bool mipmap) override;
    bool loadMemory(const void* data, std::size_t size, bool repeat, bool mipmap) override;

    // 3 for a single picture, 4 for a colour-plus-alpha pair.
    int components() const { return components_; }

private:
    int components_ = 0;
};

}  // namespace brv
