#pragma once

namespace brv {

class Colony;
class GameParams;
class ResourceSet;
class World;

// The field picture: the backdrop, one point per virus in its colony's
// colour, and the life sources, each inside a ring showing the reserve it has
// left (a nearly spent one blinks its ring and fades). Needs a current GL
// context with the logical projection (origin top left, y down, depth -50 to
// 50); reads the world and changes nothing. The logical screen comes from
// `params`, whose rules the world plays by.
void drawWorld(const World& world, const GameParams& params, ResourceSet& art);

// The player sees its own flags, above the viruses; a computer colony's flags
// stay hidden from the player, so it draws none.
void drawFlags(const Colony& colony, const GameParams& params, const ResourceSet& art);

}  // namespace brv
