#include "sim/view/ReplayScreen.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "config/GameParams.h"
#include "gfx/LineGraph.h"
#include "gfx/StretchedPicture.h"
#include "platform/Clock.h"
#include "sim/Colony.h"
#include "sim/ReplayCheck.h"
#include "sim/ReplaySteering.h"
#include "sim/World.h"

namespace brv {

ReplayStart::ReplayStart(const Replay& replay) : state_(0) {
    state_.setGeneratorState(replay.generator);
    state_.setCounters(replay.columnParity, replay.influenceTick);
}

ReplayScreen::ReplayScreen(GameContext& context, Replay replay)
    : ReplayStart(replay),
      PlayScreen(context, context.params, state_, replay.difficulty),
      replay_(std::move(replay)) {
    setUpGame(world(), replay_);
    steerings_.add(std::make_unique<ReplaySteering>(replay_));
    applyInputs();
    if (replay_.endUpdate == 0) {
        endOfRecord();
    }
}

ReplayScreen::~ReplayScreen() = default;

void ReplayScreen::applyInputs() {
    steerings_.act(world(), worldUpdates());
}

// As the headless check does: a checkpoint is compared right after its
// update, before the inputs that followed it.
void ReplayScreen::onWorldUpdated() {
    const int resigned = replay_.resignedAt();
    if (gameEnd_ < 0 && (gameEnded(world()) || (resigned >= 0 && worldUpdates() > resigned))) {
        gameEnd_ = worldUpdates();
    }
    compareCheckpoint();
    applyInputs();
    if (worldUpdates() >= replay_.endUpdate) {
        endOfRecord();
    }
}

void ReplayScreen::compareCheckpoint() {
    if (nextCheck_ >= replay_.checks.size() ||
        replay_.checks[nextCheck_].update != worldUpdates()) {
        return;
    }
    if (firstDifference_ < 0 && world().checksum() != replay_.checks[nextCheck_].checksum) {
        firstDifference_ = worldUpdates();
    }
    ++nextCheck_;
}

void ReplayScreen::endOfRecord() {
    outcome_ = replay_.verdict(firstDifference_, world().checksum());
    std::printf("brevora: %s\n", outcome_->why.c_str());
    std::fflush(stdout);
}

void ReplayScreen::onLButtonUp(int x, int y, int flags) {
    PlayScreen::onLButtonUp(x, y, flags);
    if (outcome_) {
        close();
    }
}

void ReplayScreen::draw() {
    PlayScreen::draw();
    glPushMatrix();
    if (outcome_) {
        drawSummary();
    } else {
        drawProgress();
    }
    glPopMatrix();
}

// Until the end is played, the record's length stands for the game's (a
// resigned game's end is known from the start); the record goes on through
// the end delay.
std::string ReplayScreen::progressText() const {
    const auto time = [](int update) {
        return gameTimeText(static_cast<long long>(update) * kTickMs);
    };
    const int resigned = replay_.resignedAt();
    int end = gameEnd_ >= 0 ? gameEnd_ : replay_.endUpdate;
    if (gameEnd_ < 0 && resigned >= 0) {
        end = std::min(resigned + 1, replay_.endUpdate);
    }
    std::string line = "Replay " + time(std::min(worldUpdates(), end)) + " / " + time(end);
    if (resigned >= 0 && worldUpdates() >= resigned) {
        line += "   resigned";
    } else if (gameEnd_ >= 0) {
        line += "   game over";
    }
    return line;
}

// Along the bottom of the field.
void ReplayScreen::drawProgress() const {
    const GameParams& params = context_.params;
    font().drawText(progressText().c_str(), 10, static_cast<float>(params.m_screen_height) - 12,
                    {.size = 15, .colour = {1, 1, 1, 1}, .depth = 10});
}

// A dark band across the middle with the verdict, green when it matches.
void ReplayScreen::drawSummary() const {
    const GameParams& params = context_.params;
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    constexpr float kBand = 110;
    drawShade(0, (h - kBand) / 2, w, kBand, 20, {0, 0, 0, 0.7f});
    const Colour verdict = outcome_->matches ? Colour{0.4f, 1, 0.4f, 1} : Colour{1, 0.5f, 0.3f, 1};
    constexpr float kSize = 32;
    const char* text = outcome_->why.c_str();
    font().drawText(text, (w - font().textWidth(text, kSize)) / 2, h / 2,
                    {.size = kSize, .colour = verdict, .depth = 30});
    const char* leave = "Escape, Enter or a click leaves";
    font().drawText(leave, (w - font().textWidth(leave, 15)) / 2, h / 2 + 35,
                    {.size = 15, .colour = {1, 1, 1, 1}, .depth = 30});
}

}  // namespace brv
