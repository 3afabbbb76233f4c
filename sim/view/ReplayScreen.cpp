#include "sim/view/ReplayScreen.h"

#include <GL/gl.h>

#include <cstdio>

#include "config/GameParams.h"
#include "gfx/LineGraph.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "sim/Colony.h"
#include "sim/World.h"

namespace brv {

ReplayStart::ReplayStart(const Replay& replay)
    : generator_(brv::randState()),
      columnParity_(World::columnParity()),
      influenceTick_(World::influenceTick()),
      difficulty_(gameParams().m_difficult) {
    brv::setRandState(replay.generator);
    World::setProcessCounters(replay.columnParity, replay.influenceTick);
    gameParams().m_difficult = replay.difficulty;
}

ReplayStart::~ReplayStart() {
    brv::setRandState(generator_);
    World::setProcessCounters(columnParity_, influenceTick_);
    gameParams().m_difficult = difficulty_;
}

ReplayScreen::ReplayScreen(Replay replay) : ReplayStart(replay), replay_(std::move(replay)) {
    setUpGame(world(), replay_.colonies, replay_.difficulty);
    applyInputs();
    if (replay_.endUpdate == 0) {
        endOfRecord();
    }
}

ReplayScreen::~ReplayScreen() = default;

// The player's inputs noted after this many updates, in their order.
void ReplayScreen::applyInputs() {
    Colony& player = *world().colonies().front();
    for (;
         nextEvent_ < replay_.events.size() && replay_.events[nextEvent_].update == worldUpdates();
         ++nextEvent_) {
        const Replay::Event& event = replay_.events[nextEvent_];
        if (event.input == Replay::Input::FlagSet) {
            player.addFlagAt(event.x, event.y);
        } else {
            player.removeFlagNear(event.x, event.y);
        }
    }
}

// As the headless check does: a checkpoint is compared right after its
// update, before the inputs that followed it.
void ReplayScreen::onWorldUpdated() {
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
    ReplayOutcome outcome;
    if (firstDifference_ >= 0) {
        outcome.firstDifference = firstDifference_;
        outcome.why = "the world left the record by update " + std::to_string(firstDifference_);
    } else if (world().checksum() != replay_.endChecksum) {
        outcome.firstDifference = replay_.endUpdate;
        outcome.why = "the end differs at update " + std::to_string(replay_.endUpdate);
    } else {
        outcome.matches = true;
        outcome.why = "replay matches";
    }
    std::printf("brevora: %s\n", outcome.why.c_str());
    std::fflush(stdout);
    outcome_ = std::move(outcome);
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

// "Replay 1:05 / 4:30" along the bottom of the field.
void ReplayScreen::drawProgress() const {
    const GameParams& params = gameParams();
    const std::string line =
        "Replay " + gameTimeText(static_cast<long long>(worldUpdates()) * kTickMs) + " / " +
        gameTimeText(static_cast<long long>(replay_.endUpdate) * kTickMs);
    font().drawText(line.c_str(), 10, static_cast<float>(params.m_screen_height) - 12,
                    {.size = 15, .colour = {1, 1, 1, 1}, .depth = 10});
}

// A dark band across the middle with the verdict, green when it matches.
void ReplayScreen::drawSummary() const {
    const GameParams& params = gameParams();
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    constexpr float kBand = 110;
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 0, 0.7f);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(0, (h - kBand) / 2, 20);
    glVertex3f(0, (h + kBand) / 2, 20);
    glVertex3f(w, (h - kBand) / 2, 20);
    glVertex3f(w, (h + kBand) / 2, 20);
    glEnd();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
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
