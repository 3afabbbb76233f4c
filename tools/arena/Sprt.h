#pragma once

#include "tools/arena/Elo.h"

namespace brv {

// A sequential probability ratio test of H0 "A is stronger than B by elo0"
// against H1 "by elo1", over games counted as wins, draws and losses of A.
// It is the generalized SPRT on the trinomial (win/draw/loss) outcome under
// the logistic Elo model, in its usual normal approximation:
//   s0, s1 = 1 / (1 + 10^(-elo / 400))            expected scores under H0, H1
//   s      = (W + D/2) / N,  var = (W (1-s)^2 + D (1/2-s)^2 + L s^2) / N
//   LLR    = N (s1 - s0) (2 s - s0 - s1) / (2 var)
// stopping at LLR <= log(beta / (1 - alpha)) (H0) or LLR >= log((1 - beta) /
// alpha) (H1). The counts take half a game of each outcome more than were
// played, so a one-sided start (all wins: no variance yet) needs several
// games to decide instead of one.
class Sprt {
public:
    enum class Verdict { Open, H0, H1 };

    Sprt(double elo0, double elo1, double alpha, double beta);
    double llr(const GameTally& tally) const;
    double lower() const { return lower_; }
    double upper() const { return upper_; }
    Verdict verdict(const GameTally& tally) const;

private:
    double s0_;
    double s1_;
    double lower_;
    double upper_;
};

}  // namespace brv
