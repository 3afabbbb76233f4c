#include "sim/view/PlayScreen.h"

#include <GL/gl.h>

#include <cstdio>

#include "app/GlWindow.h"
#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "sim/Colony.h"

namespace brv {

namespace {

constexpr float kStatusSize = 15;
constexpr float kStatusLeft = 10;
constexpr float kStatusSpacing = 120;
constexpr float kStatusTop = 20;
constexpr float kStatusDepth = 10;

// Window pixels are stretched onto the logical area: one logical unit is
// windowSize / logicalSize pixels. Without a window or a logical area there
// is nothing to scale by, and the pixel stands as it is.
int scaled(int pixel, int windowSize, int logicalSize) {
    if (windowSize <= 0 || logicalSize <= 0) {
        return pixel;
    }
    const float unit = static_cast<float>(windowSize) / static_cast<float>(logicalSize);
    return static_cast<int>(static_cast<float>(pixel) / unit);
}

}  // namespace

PlayScreen::PlayScreen() : world_(gameParams()) {
    GameParams& params = gameParams();
    const DataBlob font = params.m_archive.readEntry("mui/font.tga");
    // A missing or damaged font picture leaves the status lines undrawn.
    text_.build(font.bytes(), font.size, &resourceSet(params).fontTexture);
}

PlayScreen::~PlayScreen() = default;

std::string PlayScreen::statusLine(const Colony& colony) {
    char line[48];
    std::snprintf(line, sizeof line, "%c %5i/%5i", colony.trendMark(), colony.virusCount(),
                  colony.killCounter());
    return line;
}

int PlayScreen::toLogicalX(int windowX) {
    const GlWindow* window = glWindow();
    return scaled(windowX, window != nullptr ? window->width() : 0, gameParams().m_screen_width);
}

int PlayScreen::toLogicalY(int windowY) {
    const GlWindow* window = glWindow();
    return scaled(windowY, window != nullptr ? window->height() : 0, gameParams().m_screen_height);
}

void PlayScreen::close() {
    if (GlWindow* window = glWindow(); window != nullptr) {
        window->closeTop();
    }
}

void PlayScreen::onTick(int elapsedMs) {
    if (finished_) {
        // The last moves stay visible for the end delay.
        world_.update(elapsedMs);
        endDelay_ -= elapsedMs;
        if (endDelay_ < 0) {
            onClosingFinished();
            close();
        }
    } else {
        if (inputPause_ > 0) {
            inputPause_ -= elapsedMs;
        }
        world_.update(elapsedMs);
        if (endReached()) {
            finished_ = true;
        }
    }
    View::onTick(elapsedMs);
}

void PlayScreen::draw() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Every layer comes in back-to-front order: field, viruses, life sources,
    // flags, status lines. Flags and sources share a depth, and the status
    // lines turn the depth test off anyway, so it stays off from the first
    // frame on and every frame looks alike.
    glDisable(GL_DEPTH_TEST);
    glPushMatrix();
    world_.draw();
    const auto& colonies = world_.colonies();
    for (std::size_t k = 0; k < colonies.size(); ++k) {
        Colony& colony = *colonies[k];
        colony.drawFlags();
        const std::string line = statusLine(colony);
        text_.drawText(line.c_str(), kStatusSize,
                       kStatusLeft + kStatusSpacing * static_cast<float>(k), kStatusTop,
                       kStatusDepth, colony.red(), colony.green(), colony.blue(), 1.0f);
    }
    View::draw();
    glPopMatrix();
}

void PlayScreen::activate() {
    inputPause_ = kInputPauseMs;
}

void PlayScreen::onKeyDown(int virtualKey) {
    const GameParams& params = gameParams();
    if (virtualKey == params.m_key_cancel) {
        if (finished_) {
            onClosingFinished();
        }
        close();
    } else if (virtualKey == params.m_key_confirm) {
        if (finished_) {
            onClosingFinished();
        }
        if (GlWindow* window = glWindow(); window != nullptr) {
            window->minimize();
        }
        close();
    }
    View::onKeyDown(virtualKey);
}

void PlayScreen::onCloseRequest() {
    result = kResultQuit;
    if (finished_) {
        onClosingFinished();
    }
    close();
}

}  // namespace brv
