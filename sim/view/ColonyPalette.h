#pragma once

#include <array>
#include <cstddef>

#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/ColonyColours.h"

namespace brv {

// Four colours told apart with the commonest red-green colour blindness:
// orange for the player's place, then sky blue, reddish purple and blue,
// bright enough to stand out on the dark field.
inline constexpr std::array<ColonyColour, 4> kColourBlindColours = {{
    {0.90f, 0.60f, 0.00f},
    {0.35f, 0.70f, 0.90f},
    {0.80f, 0.47f, 0.65f},
    {0.15f, 0.50f, 0.95f},
}};

// The colour a colony is drawn in, by its place in the world's list: its own,
// or the colour-blind palette's when the player chose it. The rules keep the
// colony's own colour either way.
inline ColonyColour drawnColour(const Colony& colony, std::size_t place, const GameParams& params) {
    if (params.m_preferences.colourBlindPalette && place < kColourBlindColours.size()) {
        return kColourBlindColours[place];
    }
    return {colony.red(), colony.green(), colony.blue()};
}

// A starving virus keeps its colony's hue, so it is still told apart by
// colony, at well under half the light: a colony going dark is one that will
// die without food.
inline ColonyColour starvingColour(const ColonyColour& fed) {
    constexpr float kShade = 0.45f;
    return {fed.red * kShade, fed.green * kShade, fed.blue * kShade};
}

}  // namespace brv
