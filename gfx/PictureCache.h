#pragma once

#include <array>

namespace brv {

class Texture;

// A picture stretched over an area, as drawStretchedPicture draws it, kept as
// the pixels the renderer made of it. The first frame with a given picture,
// viewport and transformation draws the picture and copies the result into a
// texture of the viewport's size; later frames with the same picture, viewport
// and transformation copy those pixels back one to one, which a software
// renderer does several times faster than filtering the stretched picture
// again. The picture must be drawn first on its area, opaque, as the field is.
// Its GL texture lives in the current rendering context: release it before the
// context goes or the picture's pixels change.
class PictureCache {
public:
    PictureCache() = default;
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    void draw(const Texture& picture, float width, float height);
    void release();

private:
    // Everything that decides the pixels of the drawn picture.
    struct Key {
        unsigned picture = 0;
        float width = 0;
        float height = 0;
        std::array<int, 4> viewport{};
        std::array<float, 16> projection{};
        std::array<float, 16> modelview{};
        bool operator==(const Key&) const = default;
    };

    static Key currentKey(const Texture& picture, float width, float height);
    bool keep(const Key& key);
    void copyBack() const;

    Key key_;
    unsigned texture_ = 0;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    // Set when the renderer cannot keep the pixels; the picture is then drawn
    // as it is until the next release.
    bool unavailable_ = false;
};

}  // namespace brv
