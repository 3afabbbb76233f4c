// The settings file with its own key: whatever it holds, the window it asks
// for is one the game can open.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "config/GameParams.h"
#include "config/WindowSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = "/tmp/brevora-fuzz-settings-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder + "/data");
    if (std::FILE* file = std::fopen((folder + "/data/dx.cfg").c_str(), "wb")) {
        if (size > 0) {
            std::fwrite(data, 1, size, file);
        }
        std::fclose(file);
    }
    brv::GameParams params(folder);
    brv::WindowSettings::load(params);
    if (params.m_window_width <= 0 || params.m_window_height <= 0 ||
        params.m_window_width > brv::WindowSettings::kMaxSide ||
        params.m_window_height > brv::WindowSettings::kMaxSide) {
        __builtin_trap();
    }
    brv::WindowSettings::keepCentreOnDesktop(params, 1024, 768);
    return 0;
}
