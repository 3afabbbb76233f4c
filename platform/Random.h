#pragma once

#include <cstdint>

namespace brv {

inline constexpr int kRandMax = 32767;

// A fixed linear congruential step with the C runtime's contract (values
// 0..32767), so one seed gives one sequence on every machine. There is no
// generator of the process: whoever draws owns one, the rules of a game in
// its rules state (sim/RulesState.h), and a draw that must not disturb a
// game's sequence in a generator of its own.
class LcgRandom {
public:
    explicit constexpr LcgRandom(std::uint32_t seed) : state_(seed) {}
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }
    std::uint32_t state() const { return state_; }

private:
    std::uint32_t state_;
};

}  // namespace brv
