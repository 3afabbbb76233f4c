#pragma once

#include <array>
#include <memory>
#include <vector>

#include "sim/InfluenceRecord.h"

namespace brv {

class Colony;

// How a game went: per colony, its virus count and kills, taken once a
// second of game time from the start. A long game keeps its whole course in
// a bounded record: when kMaxSamples are full every other one goes and the
// spacing doubles.
class Timeline {
public:
    static constexpr int kColonies = InfluenceRecord::kColonies;
    static constexpr std::size_t kMaxSamples = 4096;
    static constexpr int kFirstSpacingMs = 1000;

    struct Sample {
        std::array<int, kColonies> viruses{};
        std::array<int, kColonies> kills{};
    };

    // The first sample, as the game begins.
    void start(const std::vector<std::unique_ptr<Colony>>& colonies);
    // One world update of `elapsedMs`; samples when a spacing is complete.
    void advance(int elapsedMs, const std::vector<std::unique_ptr<Colony>>& colonies);

    const std::vector<Sample>& samples() const { return samples_; }
    // Game time between two samples.
    int spacingMs() const { return spacingMs_; }
    int colonyCount() const { return colonyCount_; }

private:
    void take(const std::vector<std::unique_ptr<Colony>>& colonies);

    std::vector<Sample> samples_;
    int spacingMs_ = kFirstSpacingMs;
    int sinceSampleMs_ = 0;
    int colonyCount_ = 0;
};

}  // namespace brv
