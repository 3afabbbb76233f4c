#pragma once

#include <cstddef>
#include <string>

#include "gfx/Image.h"

namespace brv {

// Uncompressed true-colour TGA (type 2, no identification field, no colour
// map, origin 0, 24 or 32 bits). Rows are taken in file order as bottom-up;
// pixels come out as RGB or RGBA. A buffer shorter than the pixels its header
// announces is refused. On failure `out` is left untouched and `problem`, when
// given, says in a few words what is wrong.
bool decodeTga(const void* data, std::size_t size, Image& out, std::string* problem = nullptr);

}  // namespace brv
