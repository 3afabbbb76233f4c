// TGA pictures as they come from the archive.
#include <cstdint>

#include "gfx/Image.h"
#include "gfx/TgaDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brv::Image image;
    if (brv::decodeTga(data, size, image) &&
        image.pixels.size() != static_cast<std::size_t>(image.width) *
                                   static_cast<std::size_t>(image.height) *
                                   static_cast<std::size_t>(image.components)) {
        __builtin_trap();
    }
    return 0;
}
