#include "sim/Timeline.h"

#include <algorithm>

#include "sim/Colony.h"

namespace brv {

void Timeline::start(const std::vector<std::unique_ptr<Colony>>& colonies) {
    // The whole record up front (128 KB): the ticks never allocate for it.
    samples_.clear();
    samples_.reserve(kMaxSamples);
    spacingMs_ = kFirstSpacingMs;
    sinceSampleMs_ = 0;
    take(colonies);
}

void Timeline::advance(int elapsedMs, const std::vector<std::unique_ptr<Colony>>& colonies) {
    if (samples_.empty()) {
        return;  // the game has not begun
    }
    sinceSampleMs_ += std::max(elapsedMs, 0);
    if (sinceSampleMs_ < spacingMs_) {
        return;
    }
    sinceSampleMs_ -= spacingMs_;
    if (samples_.size() == kMaxSamples) {
        // Keeps samples 0, 2, 4 ...: the spacing doubles and the next
        // sample, one new spacing after the last kept, is due now.
        for (std::size_t i = 0; 2 * i < samples_.size(); ++i) {
            samples_[i] = samples_[2 * i];
        }
        samples_.resize(kMaxSamples / 2);
        spacingMs_ *= 2;
    }
    take(colonies);
}

void Timeline::take(const std::vector<std::unique_ptr<Colony>>& colonies) {
    Sample sample;
    colonyCount_ = static_cast<int>(std::min<std::size_t>(colonies.size(), kColonies));
    for (int k = 0; k < colonyCount_; ++k) {
        sample.viruses[static_cast<std::size_t>(k)] =
            colonies[static_cast<std::size_t>(k)]->virusCount();
        sample.kills[static_cast<std::size_t>(k)] =
            colonies[static_cast<std::size_t>(k)]->killCounter();
    }
    samples_.push_back(sample);
}

}  // namespace brv
