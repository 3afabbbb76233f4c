#include "ui/ControlArt.h"

#include <GL/gl.h>

#include "gfx/Texture.h"

namespace brv {

bool insideBox(int x, int y, float left, float top, float width, float height) {
    return x >= static_cast<int>(left) && x <= static_cast<int>(left + width) &&
           y >= static_cast<int>(top) && y <= static_cast<int>(top + height);
}

void drawBand(const Texture* image, float x, float y, float width, float height, int state,
              int bands) {
    if (image == nullptr || bands <= 0) {
        return;
    }
    const float upper = static_cast<float>(state) / static_cast<float>(bands);
    const float lower = static_cast<float>(state - 1) / static_cast<float>(bands);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, image->glName());
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Interface art is layered in drawing order, as the font draws its text.
    glBegin(GL_QUADS);
    glTexCoord2f(0, upper);
    glVertex2f(x, y);
    glTexCoord2f(0, lower);
    glVertex2f(x, y + height);
    glTexCoord2f(1, lower);
    glVertex2f(x + width, y + height);
    glTexCoord2f(1, upper);
    glVertex2f(x + width, y);
    glEnd();
    glDisable(GL_BLEND);
}

}  // namespace brv
