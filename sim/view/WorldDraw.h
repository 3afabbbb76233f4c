#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "sim/World.h"

namespace brv {

class Colony;
class GameParams;
class ResourceSet;

// The points of each colony, fed ones and starving ones apart, gathered in
// one pass over the grid and handed to GL as one vertex array per colony and
// shade rather than one call per virus. Its screen keeps it between frames,
// so drawing allocates nothing once the field has grown.
class WorldPoints {
public:
    std::vector<float>& of(std::size_t colony, bool starving) {
        return points_[2 * colony + (starving ? 1 : 0)];
    }

private:
    std::array<std::vector<float>, 2 * World::kMaxColonies> points_;
};

// The field picture: the backdrop, one point per virus in its colony's
// colour, and the life sources, each inside a ring showing the reserve it has
// left (a nearly spent one blinks its ring and fades). Needs a current GL
// context with the logical projection (origin top left, y down, depth -50 to
// 50); reads the world and changes nothing. The logical screen comes from
// `params`, whose rules the world plays by.
void drawWorld(const World& world, const GameParams& params, ResourceSet& art, WorldPoints& points);

// The player sees its own flags, above the viruses; a computer colony's flags
// stay hidden from the player, so it draws none.
void drawFlags(const Colony& colony, const GameParams& params, const ResourceSet& art);

}  // namespace brv
