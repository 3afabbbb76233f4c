#pragma once

#include <cstdint>

namespace brv {

// The one process-wide generator every rule draws from. It keeps the C
// runtime's contract (srand/rand, values 0..32767) with a fixed linear
// congruential step, so one seed gives one sequence on every machine.
inline constexpr int kRandMax = 32767;

void srand(std::uint32_t seed);
int rand();

// The raw generator state, so a test or the match runner can save and restore it.
std::uint32_t randState();
void setRandState(std::uint32_t state);

// The same step as a value type, for draws that must not disturb the game's sequence.
class LcgRandom {
public:
    explicit LcgRandom(std::uint32_t seed) : state_(seed) {}
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }
    std::uint32_t state() const { return state_; }

private:
    std::uint32_t state_;
};

}  // namespace brv
