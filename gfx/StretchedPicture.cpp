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

}  // namespace brv
