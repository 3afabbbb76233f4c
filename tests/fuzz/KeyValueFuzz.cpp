// Plain and scrambled key-value text, and the conversions applied to values.
#include <cstdint>

#include "config/KeyValueFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brv::KeyValueFile plain;
    plain.loadFromMemory(data, size, true);
    for (const auto& [key, value] : plain.entries()) {
        int slots[3] = {};
        brv::toIntArray(value, slots, 3);
        (void)brv::toInt(value);
        (void)brv::toFloat(value);
    }
    brv::KeyValueFile scrambled;
    if (scrambled.loadFromMemory(data, size, true, "ze#81p", 6) && scrambled.size() > 0) {
        // Whatever reads back must write and read back the same way.
        std::string text = scrambled.toText();
        auto stored = brv::scramble(text, "qz", 2, static_cast<std::uint32_t>(size));
        std::string back;
        if (!brv::unscramble(stored.data(), stored.size(), "qz", 2, back) || back != text) {
            __builtin_trap();
        }
    }
    return 0;
}
