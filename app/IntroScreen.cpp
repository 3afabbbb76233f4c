#include "app/IntroScreen.h"

#include <GL/gl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "config/GameParams.h"
#include "platform/Random.h"

namespace brv {

IntroScreen::IntroScreen(std::uint32_t seed) {
    brv::srand(seed);
    DataBlob picture = gameParams().m_archive.readEntry(kPicturePath);
    // One level at the picture's own size: it is shown once, stretched.
    picture_.loadMemory(picture.bytes(), picture.size, false, false);
}

void IntroScreen::draw() {
    const GameParams& params = gameParams();
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

namespace {

std::uint32_t chooseSeed(std::uint32_t clockMs) {
    const char* text = std::getenv("BREVORA_SEED");
    if (text == nullptr) {
        return clockMs;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    const bool digitsOnly = *text >= '0' && *text <= '9' && end != nullptr && *end == '\0';
    if (!digitsOnly || errno == ERANGE || value > 0xFFFFFFFFull) {
        std::fprintf(stderr,
                     "brevora: BREVORA_SEED=\"%s\" is not a number from 0 to 4294967295; "
                     "seeding from the clock\n",
                     text);
        return clockMs;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::uint32_t startSeed(std::uint32_t clockMs) {
    const std::uint32_t seed = chooseSeed(clockMs);
    const char* show = std::getenv("BREVORA_SHOW_SEED");
    if (show != nullptr && *show != '\0') {
        std::fprintf(stderr, "brevora: seed %u\n", static_cast<unsigned>(seed));
    }
    return seed;
}

}  // namespace brv
