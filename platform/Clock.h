#pragma once

#include <cstdint>

namespace brv {

// Milliseconds since an arbitrary start, monotonic; wraps like a 32-bit OS tick count.
std::uint32_t clockMilliseconds();

// Seconds since the epoch; seeds the rotation of scrambled files.
std::uint32_t clockSeconds();

}  // namespace brv
