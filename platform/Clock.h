#pragma once

#include <cstdint>

namespace brv {

// The game's one beat: the frame timer fires every kTickMs milliseconds, and
// every timer in the game (animation, think time, delays, the idle count)
// advances by exactly this much game time per tick.
inline constexpr int kTickMs = 30;

// Milliseconds since an arbitrary start, monotonic; wraps like a 32-bit OS tick count.
std::uint32_t clockMilliseconds();

// Seconds since the epoch; seeds the rotation of scrambled files.
std::uint32_t clockSeconds();

}  // namespace brv
