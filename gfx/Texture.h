#pragma once

#include <cstddef>
#include <string>

namespace brv {

struct Image;

// One OpenGL texture object made from a decoded picture, with the picture's
// size. GL objects live only while a rendering context exists: the window code
// releases every texture before it destroys the context, so a texture that
// outlives the context (the static game parameters own the art) holds name 0
// and its destructor makes no GL call.
class Texture {
public:
    Texture() = default;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    virtual ~Texture();

    // Colour picture plus a greyscale picture used as alpha; only JPEG
    // textures have them, the base refuses.
    virtual bool loadFilePair(const std::string& colourPath, const std::string& alphaPath,
                              bool mipmap);
    virtual bool loadMemoryPair(const void* colour, std::size_t colourSize, const void* alpha,
                                std::size_t alphaSize, bool mipmap);

    // A successful load replaces the previous GL object and leaves the new one
    // bound; a failed load changes nothing and returns false.
    virtual bool loadFile(const std::string& path, bool repeat, bool mipmap) = 0;
    virtual bool loadMemory(const void* data, std::size_t size, bool repeat, bool mipmap) = 0;

    // Deletes the GL object (the picture size stays); needs a current context
    // whenever the name is not 0.
    virtual void release();

    // What was wrong with the picture of the last load, in a few words; empty
    // after a sound one. A picture that loads with damage (a JPEG cut short)
    // has a problem too.
    const std::string& problem() const { return problem_; }

    unsigned int glName() const { return name_; }
    int width() const { return width_; }
    int height() const { return height_; }

protected:
    // How the GL object is set up: the filters, wrapping and storage that each
    // kind of texture uses.
    struct Setup {
        int minFilter;
        int wrap;
        bool mipmap;
        int internalFormat;
        bool modulate;  // sets the (global) texture environment to modulate
    };

    // Releases the old GL object, creates the new one from `image` (3 or 4
    // components) and records its size.
    void create(const Image& image, const Setup& setup);

    std::string problem_;

private:
    unsigned int name_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace brv
