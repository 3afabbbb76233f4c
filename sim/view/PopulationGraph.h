#pragma once

#include "gfx/LineGraph.h"

namespace brv {

class BitmapFont;
class GameParams;
class World;

// The course of a game as a graph: one line per colony with its virus count
// over time, in the colour the colony is drawn in, labelled with its kills.
GraphData populationGraph(const World& world, const GameParams& params);

// The graph over the middle of the field, below the status lines.
void drawPopulationGraph(const BitmapFont& font, const GraphData& graph, int fieldWidth,
                         int fieldHeight);

}  // namespace brv
