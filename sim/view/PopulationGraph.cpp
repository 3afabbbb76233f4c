#include "sim/view/PopulationGraph.h"

#include <algorithm>

#include "sim/World.h"
#include "sim/view/ColonyPalette.h"

namespace brv {

GraphData populationGraph(const World& world, const GameParams& params, long long endMs) {
    const Timeline& timeline = world.timeline();
    GraphData graph;
    graph.spacingMs = timeline.spacingMs();
    std::size_t samples = timeline.samples().size();
    if (endMs >= 0 && graph.spacingMs > 0) {
        samples =
            std::min<std::size_t>(samples, static_cast<std::size_t>(endMs / graph.spacingMs) + 1);
    }
    const auto& colonies = world.colonies();
    const std::size_t count = std::min<std::size_t>(colonies.size(), Timeline::kColonies);
    for (std::size_t k = 0; k < count; ++k) {
        const ColonyColour c = drawnColour(*colonies[k], k, params);
        GraphSeries series;
        series.colour = {c.red, c.green, c.blue, 1};
        series.values.reserve(samples);
        for (std::size_t i = 0; i < samples; ++i) {
            series.values.push_back(timeline.samples()[i].viruses[k]);
        }
        series.label = "kills " + std::to_string(colonies[k]->killCounter());
        graph.series.push_back(std::move(series));
    }
    return graph;
}

void drawPopulationGraph(const BitmapFont& font, const GraphData& graph, int fieldWidth,
                         int fieldHeight) {
    constexpr float kSide = 60;
    constexpr float kTop = 70;
    constexpr float kBottom = 60;
    const GraphPanel panel{.x = kSide,
                           .y = kTop,
                           .width = static_cast<float>(fieldWidth) - 2 * kSide,
                           .height = static_cast<float>(fieldHeight) - kTop - kBottom,
                           .depth = 25,
                           .title = "Viruses per colony"};
    drawLineGraph(font, panel, graph);
}

}  // namespace brv
