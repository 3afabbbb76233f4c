#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace brv {

// The environment variables that the end-to-end scenarios and the figures
// steer a run with, all read here. Each call reads them anew, so a test that
// sets one sees it at once.
struct LaunchHooks {
    // BREVORA_SEED: the seed of the games, when it holds a decimal number from
    // 0 to 4294967295.
    std::optional<std::uint32_t> seed;
    // Its text when it is set but not such a number, so that it can be named.
    std::optional<std::string> unusableSeed;
    // BREVORA_SHOW_SEED set and not empty: the seed chosen is printed.
    bool showSeed = false;
    // BREVORA_LAUNCHED_AT: when the program was launched, in nanoseconds
    // since 1970, for the start-up figure.
    std::optional<long long> launchedAtNs;
    // BREVORA_TICK_LOG: the file every tick's costs are written to; empty for
    // none.
    std::string tickLogPath;
    // BREVORA_COACH_LOG: the file the game screen writes each change of the
    // coaching line on screen to; empty for none.
    std::string coachLogPath;
};

LaunchHooks readLaunchHooks();

}  // namespace brv
