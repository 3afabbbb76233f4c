#pragma once

#include <cstddef>
#include <string>

#include "config/SpriteAnimation.h"
#include "gfx/TextStyle.h"

namespace brv {

class PackFile;
class Texture;

// An animated picture cut from one texture laid out as a grid: each column is
// an animation frame, each row a group. Its clock is a SpriteAnimation; the
// art of life sources and flags is one template each, drawn at the cell and
// place every object's own clock names.
class Sprite {
public:
    Sprite() = default;
    // A copy shares the texture and never owns it.
    Sprite(const Sprite& other);
    Sprite& operator=(const Sprite& other) = delete;
    // Releases and deletes an owned texture; like every texture, it makes no
    // GL call once the art was released before the context went away.
    ~Sprite();

    // Reads the description, then the picture it names from `archive` (TGA
    // when the name ends in 'a' or 'A', JPEG otherwise) into the sprite's own
    // texture. A reload reuses the texture object, so copies made earlier show
    // the new picture. A picture that fails to load leaves an empty texture,
    // which draws nothing. Always true.
    bool load(const PackFile& archive, const void* description, std::size_t size, bool repeat,
              bool mipmap);

    // Draws the current cell centred on (x, y) at depth z in drawing units,
    // blended by the picture's alpha; `bind` binds the sprite's texture first.
    void draw(bool bind) const;
    // The same for cell (frame, group) centred on (atX, atY) at depth atZ,
    // whatever the sprite's own clock and position say.
    void drawCell(int frame, int group, float atX, float atY, float atZ, bool bind,
                  const Colour& tint = {}) const;

    // Deletes the GL object of an owned texture; the texture object stays for
    // the next load.
    void release();

    // Reads "file_name", "groups" and "frames" from a sprite description without
    // touching any texture. Counts below 1 count as 1.
    void readDescription(const void* data, std::size_t size);

    // One animation step of `step` milliseconds (the simulation passes 30).
    void advance(unsigned int step);

    float x = 0;
    float y = 0;
    float z = 0;

    int groups() const { return animation_.groups(); }
    int frames() const { return animation_.frames(); }
    int frame() const { return animation_.frame(); }
    int group() const { return animation_.group(); }
    void setGroup(int group) { animation_.setGroup(group); }
    void setFrame(int frame) { animation_.setFrame(frame); }
    bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }
    unsigned int elapsed() const { return animation_.elapsed(); }
    int frameDuration() const { return animation_.frameDuration(); }
    const SpriteAnimation& animation() const { return animation_; }
    float cellWidth() const { return cellWidth_; }
    float cellHeight() const { return cellHeight_; }
    const std::string& fileName() const { return fileName_; }
    Texture* texture() const { return texture_; }
    bool ownsTexture() const { return ownsTexture_; }

private:
    Texture* texture_ = nullptr;
    const PackFile* archive_ = nullptr;
    std::string fileName_;
    SpriteAnimation animation_;
    float cellWidth_ = 0;
    float cellHeight_ = 0;
    bool visible_ = true;
    bool ownsTexture_ = false;
};

}  // namespace brv
