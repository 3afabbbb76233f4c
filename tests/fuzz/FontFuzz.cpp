// The glyph scan of the font picture.
#include <cstdint>

#include "gfx/BitmapFont.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brv::BitmapFont font;
    font.build(data, size, nullptr);
    (void)font.textWidth("Brevora 123 ~!", 15.0f);
    return 0;
}
