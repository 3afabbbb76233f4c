// The interface layout: every number is read as the controls read it, and
// every picture name is looked up in an archive and on disk.
#include <cstdint>

#include "config/GameParams.h"
#include "config/KeyValueFile.h"
#include "ui/Layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static brv::GameParams params("/nonexistent");
    params.m_layout = brv::KeyValueFile();
    params.m_layout.loadFromMemory(data, size, true);
    for (const auto& [key, value] : params.m_layout.entries()) {
        const int whole = brv::layoutInt(params.m_layout, key.c_str());
        const float part = brv::layoutFloat(params.m_layout, key.c_str());
        if (whole < -brv::kLayoutLimit || whole > brv::kLayoutLimit ||
            !(part >= -brv::kLayoutLimit && part <= brv::kLayoutLimit)) {
            __builtin_trap();
        }
        (void)params.m_archive.contains(value);
    }
    return 0;
}
