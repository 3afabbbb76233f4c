#include "tools/arena/Sprt.h"

#include <cmath>

namespace brv {

namespace {

double expectedScore(double elo) {
    return 1.0 / (1.0 + std::pow(10.0, -elo / 400.0));
}

}  // namespace

Sprt::Sprt(double elo0, double elo1, double alpha, double beta)
    : s0_(expectedScore(elo0)),
      s1_(expectedScore(elo1)),
      lower_(std::log(beta / (1 - alpha))),
      upper_(std::log((1 - beta) / alpha)) {}

double Sprt::llr(const GameTally& tally) const {
    if (tally.games() == 0) {
        return 0;
    }
    const double w = tally.wins + 0.5;
    const double d = tally.draws + 0.5;
    const double l = tally.losses + 0.5;
    const double n = w + d + l;
    const double s = (w + 0.5 * d) / n;
    const double variance = (w * (1 - s) * (1 - s) + d * (0.5 - s) * (0.5 - s) + l * s * s) / n;
    return n * (s1_ - s0_) * (2 * s - s0_ - s1_) / (2 * variance);
}

Sprt::Verdict Sprt::verdict(const GameTally& tally) const {
    const double ratio = llr(tally);
    if (ratio >= upper_) {
        return Verdict::H1;
    }
    return ratio <= lower_ ? Verdict::H0 : Verdict::Open;
}

}  // namespace brv
