#include "sim/view/PlayScreen.h"

#include <GL/gl.h>

#include <cstdio>

#include "app/window/GlWindow.h"
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
    // Every layer comes in back-to-front order, without a depth test: field,
    // viruses, life sources, flags, status lines.
    glPushMatrix();
    world_.draw();
    const auto& colonies = world_.colonies();
    for (std::size_t k = 0; k < colonies.size(); ++k) {
        Colony& colony = *colonies[k];
        colony.drawFlags();
        const std::string line = statusLine(colony);
        text_.drawText(line.c_str(), kStatusLeft + kStatusSpacing * static_cast<float>(k),
                       kStatusTop,
                       {.size = kStatusSize,
                        .colour = {colony.red(), colony.green(), colony.blue()},
                        .depth = kStatusDepth});
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
