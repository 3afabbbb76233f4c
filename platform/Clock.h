#pragma once

#include <cstdint>

namespace brv {

// The game's one beat: the frame timer fires every kTickMs milliseconds, and
// every timer in the game (animation, think time, delays, the idle count)
// advances by exactly this much game time per tick.
inline constexpr int kTickMs = 30;

// The machine's millisecond clock: milliseconds since it started, monotonic,
// wrapping like a 32-bit OS tick count. It seeds each launch differently, so
// it must not count from the program's own start.
std::uint32_t clockMilliseconds();

// Seconds since the epoch; seeds the rotation of scrambled files.
std::uint32_t clockSeconds();

}  // namespace brv
