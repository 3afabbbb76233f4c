#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace brv {

struct Image;
class PackFile;

// One OpenGL texture object made from a decoded picture, with the picture's
// size. GL objects live only while a rendering context exists: the window code
// releases every texture before it destroys the context, so a texture that
// outlives the context (the static game parameters own the art) holds name 0
// and its destructor makes no GL call.
class Texture {
public:
    Texture();
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

    // Hears of a texture made on its first use: the entry it was read from,
    // and the texture, whose problem() says what was wrong with the picture.
    using MadeHook = std::function<void(const std::string& path, const Texture& texture)>;

    // Deletes any GL object and leaves the texture to be read from `path` in
    // `archive` (as loadMemory reads it) when its name or size is first asked
    // for: by the drawing code, with the rendering context current. A picture
    // that no screen shows is then never decoded. `made` hears of it the
    // first time it is made; release() or a load ends the wait.
    void loadWhenFirstUsed(const PackFile& archive, std::string path, bool repeat, bool mipmap,
                           MadeHook made);
    // True while the picture waits for its use (nothing read since the wait
    // began).
    bool waiting() const { return waiting_; }
    // Deletes the GL object of a texture made on first use and lets it wait
    // again, to be read anew when next drawn: for a picture no screen will
    // show for a while. Needs a current context; any other texture (one
    // loaded directly, one whose picture failed) stays as it is. True when
    // the texture was set aside.
    bool setAside();

    // Deletes the GL object (the picture size stays) and ends any wait, so
    // nothing is made without a new load; needs a current context whenever
    // the name is not 0.
    virtual void release();

    // What was wrong with the picture of the last load, in a few words; empty
    // after a sound one. A picture that loads with damage (a JPEG cut short)
    // has a problem too.
    const std::string& problem() const { return problem_; }

    // A texture waiting for its first use is made from its picture first.
    unsigned int glName() const {
        makeIfWaiting();
        return name_;
    }
    int width() const {
        makeIfWaiting();
        return width_;
    }
    int height() const {
        makeIfWaiting();
        return height_;
    }
    // A number of its own for every GL object made, never used again (GL
    // reuses names): a drawing kept of the picture is known by it. 0 before
    // the first; a texture set aside keeps the number of its last object.
    unsigned long serial() const { return serial_; }

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
    struct Source;
    void makeIfWaiting() const;
    void deleteName();

    // Where a texture made on first use reads its picture.
    std::unique_ptr<Source> source_;
    bool waiting_ = false;
    unsigned int name_ = 0;
    unsigned long serial_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace brv
