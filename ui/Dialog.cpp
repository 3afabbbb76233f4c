#include "ui/Dialog.h"

#include <GL/gl.h>

#include <algorithm>

#include "app/window/GlWindow.h"
#include "app/window/PointerScale.h"
#include "gfx/BitmapFont.h"
#include "gfx/StretchedPicture.h"
#include "gfx/Texture.h"
#include "platform/VirtualKeys.h"

namespace brv {

namespace {

// A logical position relative to the box origin. A damaged layout can put the
// box as far out as an int reaches; the difference is taken in wider
// arithmetic and kept within the logical range instead of overflowing.
int boxLocal(int logical, float origin) {
    const auto limit = static_cast<float>(kLogicalLimit);
    const auto start = static_cast<long long>(std::clamp(origin, -limit, limit));
    const long long local = static_cast<long long>(logical) - start;
    return static_cast<int>(std::clamp<long long>(local, -kLogicalLimit, kLogicalLimit));
}

}  // namespace

void Dialog::setLogicalSize(int w, int h) {
    logicalWidth = w;
    logicalHeight = h;
}

void Dialog::close(int closeResult) {
    result = closeResult;
    if (GlWindow* shownOn = window(); shownOn != nullptr) {
        shownOn->closeTop();
    }
}

void Dialog::onKeyDown(int virtualKey) {
    if (virtualKey == kVkEscape) {
        close(kResultCancelled);
    } else if (virtualKey == kVkEnter) {
        close(kResultConfirmed);
    }
    // The controls see every key, the closing ones too.
    View::onKeyDown(virtualKey);
}

int Dialog::localX(int logicalX) const {
    return boxLocal(logicalX, x);
}

int Dialog::localY(int logicalY) const {
    return boxLocal(logicalY, y);
}

void Dialog::onMouseMove(int px, int py, int flags) {
    View::onMouseMove(localX(px), localY(py), flags);
}

void Dialog::onLButtonUp(int px, int py, int flags) {
    View::onLButtonUp(localX(px), localY(py), flags);
}

void Dialog::onLButtonDown(int px, int py, int flags) {
    View::onLButtonDown(localX(px), localY(py), flags);
}

void Dialog::drawContent() {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(x, y, 0.5f);
    glEnable(GL_TEXTURE_2D);
    View::draw();
    glDisable(GL_TEXTURE_2D);
}

void Dialog::drawShade(float r, float g, float b, float a) {
    if (!shadeVisible) {
        return;
    }
    const float w = static_cast<float>(logicalWidth);
    const float h = static_cast<float>(logicalHeight);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0, 0, 0.5f);
    glColor4f(r, g, b, a);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(0, 0);
    glVertex2f(0, h);
    glVertex2f(w, 0);
    glVertex2f(w, h);
    glEnd();
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
}

void Dialog::drawFrame(float r, float g, float b, float a) {
    if (!frameVisible) {
        return;
    }
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    glDisable(GL_BLEND);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(x, y, 0.5f);
    glColor4f(r, g, b, a);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(0, 1);
    glVertex2f(0, h);
    glTexCoord2f(1, 0);
    glVertex2f(w, 0);
    glTexCoord2f(1, 1);
    glVertex2f(w, h);
    glEnd();
    // The depth step stays, as for the content drawn after it.
    glTranslatef(-x, -y, 0);
    glColor4f(1, 1, 1, 1);
}

void Dialog::drawBox(const Texture& picture) const {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawStretchedPicture(picture, x, y, w, h);
    glDisable(GL_BLEND);
}

void Dialog::drawTitle(const BitmapFont& font, const char* text, float tx, float ty) {
    font.drawText(text, tx + 2, ty + 2, {.size = kTitleSize, .colour = {0, 0, 0}, .depth = 10});
    font.drawText(text, tx, ty, {.size = kTitleSize, .colour = {1, 0.3f, 0}, .depth = 10});
}

}  // namespace brv
