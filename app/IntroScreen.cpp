#include "app/IntroScreen.h"

#include <GL/gl.h>

#include <cstdio>

#include "config/GameParams.h"
#include "platform/LaunchHooks.h"

namespace brv {

IntroScreen::IntroScreen(GameContext& context) : context_(context) {
    DataBlob picture = context_.params.m_archive.readEntry(kPicturePath);
    // One level at the picture's own size: it is shown once, stretched.
    picture_.loadMemory(picture.bytes(), picture.size, false, false);
}

void IntroScreen::draw() {
    const GameParams& params = context_.params;
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, picture_.glName());
    glColor4f(1, 1, 1, 1);
    // Decoded rows run from the bottom of the picture up, so v = 0 is its
    // bottom edge: the picture stands upright over the whole logical area.
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 0);
    glVertex3f(0, h, -10);
    glTexCoord2f(0, 1);
    glVertex3f(0, 0, -10);
    glTexCoord2f(1, 0);
    glVertex3f(w, h, -10);
    glTexCoord2f(1, 1);
    glVertex3f(w, 0, -10);
    glEnd();
    View::draw();
    glPopMatrix();
}

std::uint32_t startSeed(std::uint32_t clockMs) {
    const LaunchHooks hooks = readLaunchHooks();
    if (hooks.unusableSeed) {
        std::fprintf(stderr,
                     "brevora: BREVORA_SEED=\"%s\" is not a number from 0 to 4294967295; "
                     "seeding from the clock\n",
                     hooks.unusableSeed->c_str());
    }
    const std::uint32_t seed = hooks.seed.value_or(clockMs);
    if (hooks.showSeed) {
        std::fprintf(stderr, "brevora: seed %u\n", static_cast<unsigned>(seed));
    }
    return seed;
}

}  // namespace brv
