// Any bytes given as a replay are refused or read whole, and a record read
// is written back as the same text, which reads back as the same record.
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/Replay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string why;
    const auto replay =
        brv::Replay::parse(std::string_view(reinterpret_cast<const char*>(data), size), why);
    if (!replay) {
        if (why.empty()) {
            __builtin_trap();  // a refusal always says why
        }
        return 0;
    }
    const std::string text = replay->toText();
    const auto back = brv::Replay::parse(text, why);
    if (!back || back->toText() != text) {
        __builtin_trap();
    }
    return 0;
}
