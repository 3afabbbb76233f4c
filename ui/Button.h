#pragma once

#include "app/window/Widget.h"

namespace brv {

class SoundSet;
class Texture;
class View;

// A push button drawn from three bands (normal, hover, pressed). It acts on the
// press, not on the release: the owner's onWidgetEvent runs while the button
// is still held.
class Button : public Widget {
public:
    static constexpr int kNormal = 1;
    static constexpr int kHover = 2;
    static constexpr int kPressed = 3;

    // `image` belongs to the resource set and `sounds` (null: a silent
    // button) is the game's sound set; both must outlive the button.
    Button(View* owner, const Texture* image, SoundSet* sounds)
        : owner_(owner), image_(image), sounds_(sounds) {}

    void setPosition(float newX, float newY);

    bool onMouseMove(int x, int y, int flags) override;
    bool onLButtonDown(int x, int y, int flags) override;
    bool onLButtonUp(int x, int y, int flags) override;
    void reset() override { state = kNormal; }
    void draw() override;

    const Texture* image() const { return image_; }

    float x = 0;
    float y = 0;
    float z = 0;
    // The size of one band, taken from the picture at every draw; until the
    // first draw the hit box is 130 by 60.
    float width = 130;
    float height = 60;
    int state = kNormal;
    bool visible = true;

private:
    View* owner_;
    const Texture* image_;
    SoundSet* sounds_;
};

}  // namespace brv
