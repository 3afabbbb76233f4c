#pragma once

#include <cstddef>

#include "gfx/Image.h"

namespace brv {

// Uncompressed true-colour TGA (type 2, no identification field, no colour
// map, origin 0, 24 or 32 bits). Rows are taken in file order as bottom-up;
// pixels come out as RGB or RGBA. A buffer shorter than the pixels its header
// announces is refused. On failure `out` is left untouched.
bool decodeTga(const void* data, std::size_t size, Image& out);

}  // namespace brv
