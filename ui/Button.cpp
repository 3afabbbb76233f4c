#include "ui/Button.h"

#include "app/window/View.h"
#include "audio/SoundSet.h"
#include "gfx/Texture.h"
#include "ui/ControlArt.h"

namespace brv {

void Button::setPosition(float newX, float newY) {
    x = newX;
    y = newY;
    z = 0;
}

bool Button::onMouseMove(int px, int py, int /*flags*/) {
    if (!visible) {
        return false;
    }
    if (insideBox(px, py, x, y, width, height)) {
        state = kHover;
        return true;
    }
    state = kNormal;
    return false;
}

bool Button::onLButtonDown(int px, int py, int /*flags*/) {
    if (!visible || !insideBox(px, py, x, y, width, height)) {
        return false;
    }
    state = kPressed;
    if (sounds_ != nullptr) {
        sounds_->play(Sound::Button);
    }
    if (owner_ != nullptr) {
        owner_->onWidgetEvent(this);
    }
    return true;
}

bool Button::onLButtonUp(int /*x*/, int /*y*/, int /*flags*/) {
    // The press already acted; the release only restores the look, wherever
    // the pointer is now.
    if (visible && state == kPressed) {
        state = kHover;
        return true;
    }
    return false;
}

void Button::draw() {
    if (!visible || image_ == nullptr) {
        return;
    }
    width = static_cast<float>(image_->width());
    height = static_cast<float>(image_->height()) * 0.33333334f;
    drawBand(image_, x, y, width, height, state, 3);
}

}  // namespace brv
