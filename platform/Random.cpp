#include "platform/Random.h"

namespace brv {

namespace {
// Unseeded programs behave as if srand(1) had been called, as the C runtime does.
LcgRandom g_random{1};
}  // namespace

void srand(std::uint32_t seed) {
    g_random = LcgRandom{seed};
}

int rand() {
    return g_random.next();
}

std::uint32_t randState() {
    return g_random.state();
}

void setRandState(std::uint32_t state) {
    g_random = LcgRandom{state};
}

}  // namespace brv
