#include "tools/arena/Schedule.h"

#include <algorithm>
#include <array>
#include <utility>

namespace brv {

namespace {

// Game number n plays seed n / (2 p), pairing (n / 2) % p, swapped when n
// is odd: for every seed each pairing both ways, in the order named.
std::vector<ArenaGame> bothWays(const std::vector<std::pair<int, int>>& pairings,
                                std::uint32_t firstSeed, int seeds, Share share) {
    std::vector<ArenaGame> games;
    const long long perSeed = 2 * static_cast<long long>(pairings.size());
    const long long total = perSeed * std::max(seeds, 0);
    if (share.count < 1 || share.index < 1 || share.index > share.count || perSeed == 0) {
        return games;
    }
    for (long long n = share.index - 1; n < total; n += share.count) {
        const auto& [a, b] = pairings[static_cast<std::size_t>((n / 2) % (perSeed / 2))];
        const auto seed = firstSeed + static_cast<std::uint32_t>(n / perSeed);
        games.push_back(
            {static_cast<int>(n), seed, n % 2 == 0 ? std::array{a, b} : std::array{b, a}});
    }
    return games;
}

}  // namespace

std::vector<ArenaGame> roundRobin(int participants, std::uint32_t firstSeed, int seeds,
                                  Share share) {
    std::vector<std::pair<int, int>> pairings;
    for (int a = 0; a < participants; ++a) {
        for (int b = a + 1; b < participants; ++b) {
            pairings.emplace_back(a, b);
        }
    }
    return bothWays(pairings, firstSeed, seeds, share);
}

std::vector<ArenaGame> gauntlet(int challenger, int participants, std::uint32_t firstSeed,
                                int seeds, Share share) {
    std::vector<std::pair<int, int>> pairings;
    for (int other = 0; other < participants; ++other) {
        if (other != challenger) {
            pairings.emplace_back(challenger, other);
        }
    }
    return bothWays(pairings, firstSeed, seeds, share);
}

}  // namespace brv
