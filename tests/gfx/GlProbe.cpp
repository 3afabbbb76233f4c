#include "tests/gfx/GlProbe.h"

#include <GL/gl.h>

namespace brv::test {

GlProbe::GlProbe(int width, int height) : gl_(width, height) {
    if (!gl_.ok()) {
        return;
    }
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    clear();
}

void GlProbe::clear() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::array<std::uint8_t, 4> GlProbe::pixel(int x, int y) {
    glFinish();
    std::array<std::uint8_t, 4> rgba{};
    glReadPixels(x, gl_.height() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

std::vector<std::uint8_t> GlProbe::frame() {
    glFinish();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(gl_.width()) * gl_.height() * 4);
    glReadPixels(0, 0, gl_.width(), gl_.height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::string GlProbe::firstDifference(const std::vector<std::uint8_t>& a,
                                     const std::vector<std::uint8_t>& b) const {
    for (std::size_t i = 0; i < a.size() && i < b.size(); i += 4) {
        for (std::size_t c = 0; c < 4; ++c) {
            if (a[i + c] != b[i + c]) {
                const int index = static_cast<int>(i / 4);
                const int x = index % gl_.width();
                const int y = gl_.height() - 1 - index / gl_.width();
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") channel " +
                       std::to_string(c) + ": " + std::to_string(a[i + c]) + " vs " +
                       std::to_string(b[i + c]);
            }
        }
    }
    return a.size() == b.size() ? "" : "frames of different size";
}

int GlProbe::inkedPixels(const std::vector<std::uint8_t>& frame) const {
    int count = 0;
    for (std::size_t i = 0; i < frame.size(); i += 4) {
        if (frame[i] != 0 || frame[i + 1] != 0 || frame[i + 2] != 0) {
            ++count;
        }
    }
    return count;
}

int liveTextureCount() {
    int count = 0;
    for (GLuint name = 1; name < 4096; ++name) {
        if (glIsTexture(name)) {
            ++count;
        }
    }
    return count;
}

}  // namespace brv::test
