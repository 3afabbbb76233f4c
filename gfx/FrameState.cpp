#include "gfx/FrameState.h"

#include <GL/gl.h>

namespace brv {

void beginFrame(const FrameSize& size) {
    glViewport(0, 0, size.drawableWidth, size.drawableHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // A logical area of 0 (nothing set up yet) would make a singular projection.
    const double width = size.logicalWidth > 0 ? size.logicalWidth : 1;
    const double height = size.logicalHeight > 0 ? size.logicalHeight : 1;
    glOrtho(0, width, height, 0, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glPointSize(1);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

}  // namespace brv
