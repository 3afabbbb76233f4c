#pragma once

#include "gfx/LineGraph.h"

namespace brv {

class BitmapFont;
class GameParams;
class World;

// The course of a game as a graph: one line per colony with its virus count
// over time, in the colour the colony is drawn in, labelled with its kills.
// With `endMs`, only up to that game time: a finished game's course ends
// where the game did, not with the end delay the world plays on through.
GraphData populationGraph(const World& world, const GameParams& params, long long endMs = -1);

// The graph over the middle of the field, below the status lines.
void drawPopulationGraph(const BitmapFont& font, const GraphData& graph, int fieldWidth,
                         int fieldHeight);

}  // namespace brv
