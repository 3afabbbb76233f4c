#pragma once

#include <cstdint>

namespace brv {

inline constexpr int kRandMax = 32767;

// A fixed linear congruential step with the C runtime's contract (values
// 0..32767), so one seed gives one sequence on every machine. As a value type
// it serves draws that must not disturb the game's sequence.
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

namespace detail {
// The process-wide generator (srand/rand). The rules reach it as the
// generator of the process's rules state, on which the game's worlds play; a
// world given a state of its own draws from that state's generator instead.
// Unseeded programs behave as if srand(1) had been called, as the C runtime
// does.
inline constinit LcgRandom processRandom{1};
}  // namespace detail

inline void srand(std::uint32_t seed) {
    detail::processRandom = LcgRandom{seed};
}

inline int rand() {
    return detail::processRandom.next();
}

// The raw generator state, so a test, a replay or the match runner can save
// and restore it.
inline std::uint32_t randState() {
    return detail::processRandom.state();
}

inline void setRandState(std::uint32_t state) {
    detail::processRandom = LcgRandom{state};
}

}  // namespace brv
