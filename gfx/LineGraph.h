#pragma once

#include <string>
#include <vector>

#include "gfx/TextStyle.h"

namespace brv {

class BitmapFont;

// A panel with one line per series over time, drawn over whatever is below:
// the population of each colony through a game, say. Values are spaced
// evenly from the left edge (time 0) to the right one; the highest value of
// all sets the top. Each series is named in its colour under the graph.
struct GraphSeries {
    Colour colour;
    std::vector<int> values;
    // Written under the graph in the series' colour.
    std::string label;
};

// The series of one graph and the time between two of their values, for the
// time written at the right end.
struct GraphData {
    std::vector<GraphSeries> series;
    int spacingMs = 1000;
};

struct GraphPanel {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    float depth = 0;
    std::string title;
};

// "m:ss", or "h:mm:ss" from an hour on.
std::string gameTimeText(long long ms);

// Draws the panel; needs a current GL context with the logical projection.
// Leaves 2D texturing enabled, as the text drawing wants it.
void drawLineGraph(const BitmapFont& font, const GraphPanel& panel, const GraphData& graph);

}  // namespace brv
