#pragma once

namespace brv {

// Games of one side counted as wins, draws (unfinished games) and losses.
struct GameTally {
    int wins = 0;
    int draws = 0;
    int losses = 0;
    int games() const { return wins + draws + losses; }
    // The share of the points won: a win counts 1, a draw one half.
    double score() const;
};

// An Elo difference with its 95% interval.
struct EloEstimate {
    double elo = 0;
    double low = 0;
    double high = 0;
};

// The Elo difference a score implies under the logistic model:
//   elo(s) = -400 * log10(1 / s - 1).
// The interval maps s -/+ 1.96 * se through the same curve, where se is the
// score's standard error over the games,
//   se = sqrt((W (1 - s)^2 + D (1/2 - s)^2 + L s^2) / N) / sqrt(N).
// A score of 0 or 1 has no finite Elo; it is taken as half a game short of
// it (1 / (2N) from the edge), and so is every end of an interval.
EloEstimate eloFromTally(const GameTally& tally);

}  // namespace brv
