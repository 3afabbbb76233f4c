#include "platform/LaunchHooks.h"

#include <cerrno>
#include <cstdlib>

namespace brv {

namespace {

const char* setVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

void readSeed(LaunchHooks& hooks) {
    const char* text = std::getenv("BREVORA_SEED");
    if (text == nullptr) {
        return;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    const bool digitsOnly = *text >= '0' && *text <= '9' && end != nullptr && *end == '\0';
    if (!digitsOnly || errno == ERANGE || value > 0xFFFFFFFFull) {
        hooks.unusableSeed = text;
        return;
    }
    hooks.seed = static_cast<std::uint32_t>(value);
}

}  // namespace

LaunchHooks readLaunchHooks() {
    LaunchHooks hooks;
    readSeed(hooks);
    hooks.showSeed = setVariable("BREVORA_SHOW_SEED") != nullptr;
    if (const char* launched = setVariable("BREVORA_LAUNCHED_AT")) {
        char* end = nullptr;
        const long long at = std::strtoll(launched, &end, 10);
        if (*end == '\0') {
            hooks.launchedAtNs = at;
        }
    }
    if (const char* path = setVariable("BREVORA_TICK_LOG")) {
        hooks.tickLogPath = path;
    }
    if (const char* path = setVariable("BREVORA_COACH_LOG")) {
        hooks.coachLogPath = path;
    }
    return hooks;
}

}  // namespace brv
