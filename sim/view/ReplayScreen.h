#pragma once

#include <cstdint>
#include <optional>

#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "sim/RulesState.h"
#include "sim/SteeringSet.h"
#include "sim/view/PlayScreen.h"

namespace brv {

// A rules state (generator and counters) where the recorded game found it,
// made before the replay's world and kept for its life. The replay plays on
// it alone: watching a game changes neither the games that follow nor one
// kept for Continue.
class ReplayStart {
protected:
    explicit ReplayStart(const Replay& replay);

    RulesState state_;
};

// A recorded game played again on the field: the same world from the same
// start, the player's recorded flags set and removed after the same updates,
// at the speed the speed keys choose (its own: the games' speed stays as the
// player set it), with pause; a resignation is named from its update on, and the record ends where
// the resigned game did. The world's checksum is compared at every checkpoint of the record and at
// its end, where the world stops and a summary stays on the field: "replay matches", or the first
// update found to differ. Escape or Enter leaves; a click too, once ended.
class ReplayScreen : private ReplayStart, public PlayScreen {
public:
    // `replay` plays by the rules loaded now (see Replay::rulesRefusal).
    ReplayScreen(GameContext& context, Replay replay);
    ~ReplayScreen() override;

    void draw() override;
    void onLButtonUp(int x, int y, int flags) override;

    // Set once the record's last update was played.
    const std::optional<ReplayOutcome>& outcome() const { return outcome_; }
    const Replay& replay() const { return replay_; }
    // The line along the bottom of the field while the record plays: "Replay
    // 1:05 / 4:30" in game time, which stops where the game ended, as the
    // game-over dialog and its graph count it; the end delay after it is no
    // game time.
    std::string progressText() const;

protected:
    bool endReached() const override { return false; }
    bool worldRuns() const override { return !outcome_; }
    void onWorldUpdated() override;

private:
    void applyInputs();
    void compareCheckpoint();
    void endOfRecord();
    void drawProgress() const;
    void drawSummary() const;

    Replay replay_;
    // Plays the record's clicks at their updates.
    SteeringSet steerings_;
    std::size_t nextCheck_ = 0;
    int firstDifference_ = -1;
    // The update the recorded game ended on, once played; -1 before.
    int gameEnd_ = -1;
    std::optional<ReplayOutcome> outcome_;
};

}  // namespace brv
