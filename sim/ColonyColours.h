#pragma once

#include <array>

namespace brv {

struct ColonyColour {
    float red;
    float green;
    float blue;
};

// The colour of each colony by its place in the world's list: the player (or
// the first computer side of a demonstration) red, then green, yellow and a
// pale green. Viruses, flags and the status line of a colony share it.
inline constexpr std::array<ColonyColour, 4> kColonyColours = {{
    {1.0f, 0.0f, 0.0f},
    {0.0f, 1.0f, 0.0f},
    {1.0f, 1.0f, 0.3f},
    {0.7f, 1.0f, 0.6f},
}};

}  // namespace brv
