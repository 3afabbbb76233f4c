#pragma once

#include <cstdint>
#include <vector>

namespace brv {

// A decoded picture: tightly packed 8-bit rows, row 0 the bottom of the
// picture, which is the row order OpenGL uploads without flipping.
struct Image {
    int width = 0;
    int height = 0;
    int components = 0;  // 1 grey, 3 RGB, 4 RGBA
    std::vector<std::uint8_t> pixels;
};

}  // namespace brv
