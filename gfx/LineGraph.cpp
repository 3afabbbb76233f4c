#include "gfx/LineGraph.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

#include "gfx/BitmapFont.h"
#include "gfx/StretchedPicture.h"

namespace brv {

namespace {

constexpr float kMargin = 14;
constexpr float kTitleSize = 22;
constexpr float kLabelSize = 15;

// One series as a strip of line segments inside the plot rectangle.
void drawSeries(const GraphSeries& s, float x, float y, float w, float h, float depth, int top,
                std::size_t points) {
    if (s.values.empty()) {
        return;
    }
    const float step = points > 1 ? w / static_cast<float>(points - 1) : 0;
    glColor4f(s.colour.red, s.colour.green, s.colour.blue, 1);
    glBegin(GL_LINE_STRIP);
    for (std::size_t i = 0; i < s.values.size(); ++i) {
        const float share = static_cast<float>(std::max(s.values[i], 0)) / static_cast<float>(top);
        glVertex3f(x + step * static_cast<float>(i), y + h - h * share, depth);
    }
    glEnd();
}

}  // namespace

std::string gameTimeText(long long ms) {
    const long long seconds = std::max(ms, 0LL) / 1000;
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    }
    return text;
}

void drawLineGraph(const BitmapFont& font, const GraphPanel& panel, const GraphData& graph) {
    const std::vector<GraphSeries>& series = graph.series;
    std::size_t points = 0;
    int top = 1;
    for (const GraphSeries& s : series) {
        points = std::max(points, s.values.size());
        for (int v : s.values) {
            top = std::max(top, v);
        }
    }
    const float d = panel.depth;
    // The plot leaves room for the title above and the labels below.
    const float px = panel.x + kMargin;
    const float py = panel.y + kMargin + kTitleSize + 6;
    const float pw = panel.width - 2 * kMargin;
    const float ph = panel.height - 2 * kMargin - kTitleSize - kLabelSize - 14;

    drawShade(panel.x, panel.y, panel.width, panel.height, d, {0, 0, 0, 0.88f});
    drawShade(px, py, pw, ph, d, {1, 1, 1, 0.08f});
    glDisable(GL_TEXTURE_2D);
    glLineWidth(2);
    for (const GraphSeries& s : series) {
        drawSeries(s, px, py, pw, ph, d, top, points);
    }
    glLineWidth(1);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);

    const TextStyle white{.size = kLabelSize, .colour = {1, 1, 1, 1}, .depth = d};
    font.drawText(panel.title.c_str(), px, panel.y + kMargin + kTitleSize,
                  {.size = kTitleSize, .colour = {1, 1, 1, 1}, .depth = d});
    const std::string highest = std::to_string(top);
    font.drawText(highest.c_str(), px + pw - font.textWidth(highest.c_str(), kLabelSize),
                  panel.y + kMargin + kTitleSize, white);
    const long long span = points > 1 ? static_cast<long long>(points - 1) * graph.spacingMs : 0;
    const std::string end = gameTimeText(span);
    const float labelsY = py + ph + kLabelSize + 8;
    font.drawText(end.c_str(), px + pw - font.textWidth(end.c_str(), kLabelSize), labelsY, white);
    float labelX = px;
    for (const GraphSeries& s : series) {
        font.drawText(s.label.c_str(), labelX, labelsY,
                      {.size = kLabelSize, .colour = s.colour, .depth = d});
        labelX += font.textWidth(s.label.c_str(), kLabelSize) + 24;
    }
}

}  // namespace brv
