#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx/Image.h"

namespace brv {

// Largest picture the decoder accepts. The shipped backgrounds are a megapixel;
// the cap only stops a damaged or hostile header from asking for gigabytes.
inline constexpr std::uint64_t kMaxJpegPixels = 16ull * 1024 * 1024;

// Decodes a JPEG held in memory. Colour pictures come out as RGB (3
// components), greyscale ones as one channel; row 0 is the bottom row. A
// damaged picture returns false with `out` untouched; a truncated one still
// decodes, the missing part filled in by the library, and returns true.
// `problem`, when given, receives the library's words for what was wrong
// (for a truncated picture too) and stays empty for a sound one.
bool decodeJpeg(const void* data, std::size_t size, Image& out, std::string* problem = nullptr);

}  // namespace brv
