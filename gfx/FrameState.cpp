#include "gfx/FrameState.h"

#include <GL/gl.h>

#include <algorithm>

namespace brv {

Viewport logicalViewport(const FrameSize& size) {
    const Viewport whole{0, 0, size.drawableWidth, size.drawableHeight};
    if (!size.keepAspect || size.logicalWidth <= 0 || size.logicalHeight <= 0 ||
        size.drawableWidth <= 0 || size.drawableHeight <= 0) {
        return whole;
    }
    // Compared in wide integers: the side that limits the scale gets all of
    // its length, the other one the same scale.
    const long long wideByHeight = static_cast<long long>(size.drawableWidth) * size.logicalHeight;
    const long long wideByWidth = static_cast<long long>(size.drawableHeight) * size.logicalWidth;
    Viewport v = whole;
    if (wideByHeight > wideByWidth) {
        v.width = static_cast<int>(wideByWidth / size.logicalHeight);
        v.x = (size.drawableWidth - v.width) / 2;
    } else {
        v.height = static_cast<int>(wideByHeight / size.logicalWidth);
        v.y = (size.drawableHeight - v.height) / 2;
    }
    return v;
}

void beginFrame(const FrameSize& size) {
    // The whole surface is cleared, bars included, before the logical area is
    // placed on it.
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const Viewport v = logicalViewport(size);
    // GL counts viewport rows from the bottom.
    glViewport(v.x, size.drawableHeight - v.y - v.height, v.width, v.height);
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
}

void discardGlErrors() {
    for (int kind = 0; kind < 8 && glGetError() != GL_NO_ERROR; ++kind) {
    }
}

std::vector<std::uint8_t> readFrame(int width, int height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(height));
    discardGlErrors();
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    if (glGetError() != GL_NO_ERROR) {
        return {};
    }
    // GL counts rows from the bottom; the frame's alpha is no part of the
    // picture (the clear colour leaves it 0).
    std::vector<std::uint8_t> top(rows.size());
    for (int y = 0; y < height; ++y) {
        std::copy_n(&rows[static_cast<std::size_t>(height - 1 - y) * stride], stride,
                    &top[static_cast<std::size_t>(y) * stride]);
    }
    for (std::size_t i = 3; i < top.size(); i += 4) {
        top[i] = 255;
    }
    return top;
}

}  // namespace brv
