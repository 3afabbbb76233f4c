#include "gfx/StretchedPicture.h"

#include <GL/gl.h>

#include "gfx/Texture.h"

namespace brv {

void drawStretchedPicture(const Texture& texture, float x, float y, float width, float height) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture.glName());
    glColor4f(1, 1, 1, 1);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 1);
    glVertex3f(x, y, 0);
    glTexCoord2f(0, 0);
    glVertex3f(x, y + height, 0);
    glTexCoord2f(1, 1);
    glVertex3f(x + width, y, 0);
    glTexCoord2f(1, 0);
    glVertex3f(x + width, y + height, 0);
    glEnd();
}

void drawShade(float x, float y, float width, float height, float depth, const Colour& colour) {
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(x, y, depth);
    glVertex3f(x, y + height, depth);
    glVertex3f(x + width, y, depth);
    glVertex3f(x + width, y + height, depth);
    glEnd();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace brv
