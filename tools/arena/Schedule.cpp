#include "tools/arena/Schedule.h"

#include <utility>

namespace brv {

namespace {

std::vector<ArenaGame> bothWays(const std::vector<std::pair<int, int>>& pairings,
                                std::uint32_t firstSeed, int seeds) {
    std::vector<ArenaGame> games;
    for (int s = 0; s < seeds; ++s) {
        const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(s);
        for (const auto& [a, b] : pairings) {
            games.push_back({static_cast<int>(games.size()), seed, {a, b}});
            games.push_back({static_cast<int>(games.size()), seed, {b, a}});
        }
    }
    return games;
}

}  // namespace

std::vector<ArenaGame> roundRobin(int participants, std::uint32_t firstSeed, int seeds) {
    std::vector<std::pair<int, int>> pairings;
    for (int a = 0; a < participants; ++a) {
        for (int b = a + 1; b < participants; ++b) {
            pairings.emplace_back(a, b);
        }
    }
    return bothWays(pairings, firstSeed, seeds);
}

std::vector<ArenaGame> gauntlet(int challenger, int participants, std::uint32_t firstSeed,
                                int seeds) {
    std::vector<std::pair<int, int>> pairings;
    for (int other = 0; other < participants; ++other) {
        if (other != challenger) {
            pairings.emplace_back(challenger, other);
        }
    }
    return bothWays(pairings, firstSeed, seeds);
}

std::vector<ArenaGame> shareOf(const std::vector<ArenaGame>& games, int index, int count) {
    std::vector<ArenaGame> share;
    for (const ArenaGame& game : games) {
        if (count > 0 && game.id % count == index - 1) {
            share.push_back(game);
        }
    }
    return share;
}

}  // namespace brv
