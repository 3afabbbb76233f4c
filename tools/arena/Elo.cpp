#include "tools/arena/Elo.h"

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

double eloOfScore(double score) {
    return -400.0 * std::log10(1.0 / score - 1.0);
}

}  // namespace

double GameTally::score() const {
    return games() > 0 ? (wins + 0.5 * draws) / games() : 0.5;
}

EloEstimate eloFromTally(const GameTally& tally) {
    const int n = tally.games();
    if (n == 0) {
        return {};
    }
    const double s = tally.score();
    const double variance = (tally.wins * (1 - s) * (1 - s) + tally.draws * (0.5 - s) * (0.5 - s) +
                             tally.losses * s * s) /
                            n;
    const double se = std::sqrt(variance / n);
    const double edge = 0.5 / n;
    const auto elo = [&](double score) { return eloOfScore(std::clamp(score, edge, 1 - edge)); };
    return {elo(s), elo(s - 1.96 * se), elo(s + 1.96 * se)};
}

}  // namespace brv
