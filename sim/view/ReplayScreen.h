#pragma once

#include <cstdint>
#include <optional>

#include "sim/Replay.h"
#include "sim/view/PlayScreen.h"

namespace brv {

// Sets the process's rules state (generator and counters) and the difficulty to
// where a recorded game found them, before the replay's world is built, and
// puts back what it found when the replay is gone: watching a game changes
// neither the games that follow nor one kept for Continue.
class ReplayStart {
protected:
    ReplayStart(GameParams& params, const Replay& replay);
    ~ReplayStart();

private:
    GameParams& params_;
    std::uint32_t generator_;
    int columnParity_;
    int influenceTick_;
    int difficulty_;
};

// A recorded game played again on the field: the same world from the same
// start, the player's recorded flags set and removed after the same updates,
// at the speed the speed keys choose, with pause; a resignation is named
// from its update on, and the record ends where the resigned game did. The world's checksum is
// compared at every checkpoint of the record and at its end, where the world
// stops and a summary stays on the field: "replay matches", or the first
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
    std::size_t nextEvent_ = 0;
    std::size_t nextCheck_ = 0;
    int firstDifference_ = -1;
    std::optional<ReplayOutcome> outcome_;
};

}  // namespace brv
