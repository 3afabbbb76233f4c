#include "tests/fuzz/FuzzFile.h"

#include <unistd.h>

#include <cstdio>

namespace brv::fuzz {

std::string writeScratch(const std::uint8_t* data, std::size_t size) {
    const std::string path = "/tmp/brevora-fuzz-" + std::to_string(::getpid()) + ".bin";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        if (size > 0) {
            std::fwrite(data, 1, size, file);
        }
        std::fclose(file);
    }
    return path;
}

}  // namespace brv::fuzz
