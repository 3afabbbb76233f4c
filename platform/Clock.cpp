#include "platform/Clock.h"

#include <time.h>

#include <chrono>

namespace brv {

std::uint32_t clockMilliseconds() {
    // The boot clock keeps counting through suspend, like the OS tick count.
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) {
        clock_gettime(CLOCK_MONOTONIC, &now);
    }
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

std::uint32_t clockSeconds() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}

}  // namespace brv
