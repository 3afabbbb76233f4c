#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/arena/ArenaGame.h"
#include "tools/arena/Participant.h"
#include "tools/arena/Sprt.h"

namespace brv {

class GameParams;

// A tournament's games, how they are played and where their results go.
struct ArenaRun {
    std::vector<Participant> field;
    std::vector<ArenaGame> games;
    ArenaRules rules;
    int jobs = 1;
    // Each game's result line is added here as the game ends, so a run cut
    // short keeps what it played.
    std::string resultsPath;
};

// Why a run gave no outcome: what failed, or the stop signal that ended it
// early (`why` then says how many games were finished and kept).
struct ArenaFailure {
    std::string why;
    int stopSignal = 0;  // SIGINT, SIGTERM or SIGHUP; 0 when the run failed
};

// Plays the games, `jobs` child processes at once. The results in schedule
// order, or nothing with `failure` when the results file cannot be written,
// a game's process failed or a stop signal came.
std::optional<std::vector<ArenaResult>> playTournament(GameParams& params, const ArenaRun& run,
                                                       ArenaFailure& failure);

// A test of field[0] (A) against field[1] (B): seed after seed, both colony
// slots per seed, stopping at the first pair after which the test decides.
struct SprtRun {
    ArenaRun run;  // its games are ignored: the seeds below make them
    Sprt test{0, 30, 0.05, 0.05};
    std::uint32_t firstSeed = 1000;
    int maxSeeds = 500;
};

struct SprtOutcome {
    Sprt::Verdict verdict = Sprt::Verdict::Open;
    GameTally tally;  // A's wins, unfinished games and losses
    double llr = 0;
};

// Plays pairs in batches of about `jobs` games; games played past the
// deciding pair are not counted, so the verdict does not depend on `jobs`.
// Only counted games go into the results file.
std::optional<SprtOutcome> playSprt(GameParams& params, const SprtRun& sprt, ArenaFailure& failure);

}  // namespace brv
