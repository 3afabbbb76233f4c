#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/OffscreenGl.h"

namespace brv::test {

// A real GL context whose drawing space maps one unit to one pixel, with the
// game's orientation: origin top left, y down, depth -50 to 50.
class GlProbe {
public:
    GlProbe(int width = 128, int height = 128);

    bool ok() const { return gl_.ok(); }
    const std::string& error() const { return gl_.error(); }

    // Clears to opaque black.
    void clear();
    // RGBA of the pixel at drawing position (x, y).
    std::array<std::uint8_t, 4> pixel(int x, int y);
    // The whole frame, for comparing two drawings.
    std::vector<std::uint8_t> frame();
    // "" when equal, else the first differing pixel in drawing coordinates.
    std::string firstDifference(const std::vector<std::uint8_t>& a,
                                const std::vector<std::uint8_t>& b) const;
    // Pixels of the frame that are not black.
    int inkedPixels(const std::vector<std::uint8_t>& frame) const;

private:
    OffscreenGl gl_;
};

// How many GL texture objects exist among the names a test could have made.
int liveTextureCount();

}  // namespace brv::test
