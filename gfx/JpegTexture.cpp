#include "gfx/JpegTexture.h"

#include <GL/gl.h>

#include "gfx/Image.h"
#include "gfx/JpegDecoder.h"
#include "platform/FileIo.h"

namespace brv {

namespace {

Image greyToRgb(const Image& grey) {
    Image rgb;
    rgb.width = grey.width;
    rgb.height = grey.height;
    rgb.components = 3;
    rgb.pixels.resize(grey.pixels.size() * 3);
    for (std::size_t i = 0; i < grey.pixels.size(); ++i) {
        rgb.pixels[i * 3] = rgb.pixels[i * 3 + 1] = rgb.pixels[i * 3 + 2] = grey.pixels[i];
    }
    return rgb;
}

Image mergeAlpha(const Image& colour, const Image& alpha) {
    Image rgba;
    rgba.width = colour.width;
    rgba.height = colour.height;
    rgba.components = 4;
    const std::size_t count = alpha.pixels.size();
    rgba.pixels.resize(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        rgba.pixels[i * 4] = colour.pixels[i * 3];
        rgba.pixels[i * 4 + 1] = colour.pixels[i * 3 + 1];
        rgba.pixels[i * 4 + 2] = colour.pixels[i * 3 + 2];
        rgba.pixels[i * 4 + 3] = alpha.pixels[i];
    }
    return rgba;
}

}  // namespace

bool JpegTexture::loadFilePair(const std::string& colourPath, const std::string& alphaPath,
                               bool mipmap) {
    auto colour = readWholeFile(colourPath);
    auto alpha = readWholeFile(alphaPath);
    if (!colour || !alpha) {
        return false;
    }
    return loadMemoryPair(colour->data(), colour->size(), alpha->data(), alpha->size(), mipmap);
}

bool JpegTexture::loadMemoryPair(const void* colourData, std::size_t colourSize,
                                 const void* alphaData, std::size_t alphaSize, bool mipmap) {
    Image colour;
    Image alpha;
    std::string colourProblem;
    std::string alphaProblem;
    // Both are decoded, so a damaged pair names every damaged picture.
    const bool colourDecoded = decodeJpeg(colourData, colourSize, colour, &colourProblem);
    const bool alphaDecoded = decodeJpeg(alphaData, alphaSize, alpha, &alphaProblem);
    const bool decoded = colourDecoded && alphaDecoded;
    problem_.clear();
    if (!colourProblem.empty()) {
        problem_ = "colour picture: " + colourProblem;
    }
    if (!alphaProblem.empty()) {
        problem_ += (problem_.empty() ? "" : "; ") + ("alpha picture: " + alphaProblem);
    }
    if (!decoded) {
        return false;
    }
    if (colour.width != alpha.width || colour.height != alpha.height || colour.components != 3 ||
        alpha.components != 1) {
        problem_ = "the alpha picture does not match the colour picture";
        return false;
    }
    Setup setup{};
    setup.minFilter = mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
    setup.wrap = GL_REPEAT;
    setup.mipmap = mipmap;
    setup.internalFormat = GL_RGBA8;
    setup.modulate = mipmap;
    create(mergeAlpha(colour, alpha), setup);
    components_ = 4;
    return true;
}

bool JpegTexture::loadFile(const std::string& path, bool repeat, bool mipmap) {
    auto bytes = readWholeFile(path);
    if (!bytes) {
        return false;
    }
    return loadMemory(bytes->data(), bytes->size(), repeat, mipmap);
}

bool JpegTexture::loadMemory(const void* data, std::size_t size, bool repeat, bool mipmap) {
    Image image;
    problem_.clear();
    if (!decodeJpeg(data, size, image, &problem_)) {
        return false;
    }
    if (image.components == 1) {
        image = greyToRgb(image);
    }
    Setup setup{};
    setup.minFilter = mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
    setup.wrap = repeat ? GL_REPEAT : GL_CLAMP;
    setup.mipmap = mipmap;
    setup.internalFormat = mipmap ? 3 : GL_RGB;
    setup.modulate = mipmap;
    create(image, setup);
    components_ = 3;
    return true;
}

}  // namespace brv
