#include "ui/EditBox.h"

#include <GL/gl.h>

#include <algorithm>

#include "gfx/BitmapFont.h"
#include "gfx/Texture.h"
#include "platform/VirtualKeys.h"
#include "ui/ControlArt.h"

namespace brv {

bool EditBox::onMouseMove(int px, int py, int /*flags*/) {
    return visible && insideBox(px, py, x, y, width, height);
}

bool EditBox::focusByPress(int px, int py) {
    if (!visible) {
        return false;
    }
    if (insideBox(px, py, x, y, width, height)) {
        state = kFocused;
        return true;
    }
    state = kIdle;
    return false;
}

bool EditBox::onLButtonDown(int px, int py, int /*flags*/) {
    return focusByPress(px, py);
}

bool EditBox::onLButtonUp(int px, int py, int /*flags*/) {
    return focusByPress(px, py);
}

void EditBox::onKeyDown(int virtualKey) {
    if (visible && state == kFocused && virtualKey == kVkBackspace && !text_.empty()) {
        text_.pop_back();
    }
}

void EditBox::onChar(int character, int /*repeat*/) {
    // Characters arrive as 16-bit codes; only printable ASCII goes into a
    // name, so Enter, Escape, tab and accented letters are all left out.
    const int code = character & 0xFFFF;
    const int limit = std::min(maxLength, kCapacity);
    if (code < 0x20 || code > 0x7E || !visible || state != kFocused ||
        static_cast<int>(text_.size()) >= limit) {
        return;
    }
    text_.push_back(static_cast<char>(code));
}

void EditBox::onTick(unsigned elapsedMs) {
    blinkElapsed += elapsedMs;
    // The phase turns only once the period is exceeded, and the excess is
    // dropped: with 30 ms ticks that is after the 17th tick, 510 ms.
    if (blinkElapsed > blinkPeriod) {
        caretOn = !caretOn;
        blinkElapsed = 0;
    }
}

void EditBox::draw() {
    if (!visible || image_ == nullptr) {
        return;
    }
    width = static_cast<float>(image_->width());
    height = static_cast<float>(image_->height()) * 0.5f;
    drawBand(image_, x, y, width, height, state, 2);
    if (caretOn && state == kFocused) {
        drawCaret();
    }
    drawText();
}

void EditBox::drawCaret() const {
    const float left =
        x + inset + (font_ != nullptr ? font_->textWidth(text_.c_str(), textSize_) : 0.0f);
    glDisable(GL_TEXTURE_2D);
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
    glBegin(GL_QUADS);
    glVertex2f(left, y + inset);
    glVertex2f(left, y + height - inset);
    glVertex2f(left + kCaretWidth, y + height - inset);
    glVertex2f(left + kCaretWidth, y + inset);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void EditBox::drawText() const {
    glColor4f(1, 1, 1, 1);
    if (font_ == nullptr) {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0, 0, 0.5f);
    // The text's y is its baseline, which centres one line in the box.
    font_->drawText(text_.c_str(), x + inset, y + height - (height - textSize_) * 0.5f,
                    {.size = textSize_, .colour = colour, .depth = 20});
    glTranslatef(0, 0, -0.5f);
    glDisable(GL_BLEND);
}

}  // namespace brv
