#include "ui/RadioButton.h"

#include <GL/gl.h>

#include "app/window/View.h"
#include "gfx/Texture.h"
#include "ui/ControlArt.h"

namespace brv {

bool RadioButton::onMouseMove(int px, int py, int /*flags*/) {
    if (insideBox(px, py, x, y, width, height)) {
        if (state == kUnchecked) {
            state = kUncheckedHover;
        } else if (state == kChecked) {
            state = kCheckedHover;
        }
        return true;
    }
    if (state == kUncheckedHover) {
        state = kUnchecked;
    } else if (state == kCheckedHover) {
        state = kChecked;
    }
    return false;
}

bool RadioButton::onLButtonDown(int px, int py, int /*flags*/) {
    return insideBox(px, py, x, y, width, height);
}

bool RadioButton::onLButtonUp(int /*x*/, int /*y*/, int /*flags*/) {
    // The hover state stands for the hit test: only an unchecked option under
    // the pointer becomes checked, so a checked one never notifies twice.
    if (state != kUncheckedHover) {
        return false;
    }
    state = kCheckedHover;
    if (owner_ != nullptr) {
        owner_->onWidgetEvent(this);
    }
    return true;
}

void RadioButton::draw() {
    if (image_ == nullptr) {
        return;
    }
    width = static_cast<float>(image_->width());
    height = static_cast<float>(image_->height() / 4);
    glColor4f(1, 1, 1, 1);
    drawBand(image_, x, y, width, height, state, 4);
}

}  // namespace brv
