#include "gfx/ScoreTableDraw.h"

#include <algorithm>
#include <cstddef>

#include "config/ScoreTable.h"
#include "gfx/BitmapFont.h"

namespace brv {

void drawScoreTable(const ScoreTable& table, const BitmapFont& font) {
    const std::vector<ScoreTable::Entry>& entries = table.entries();
    constexpr float kTextSize = 40;
    constexpr float kDepth = 10;
    // A loaded file may hold more than seven entries; lines past the seventh
    // would fall below the screen.
    const std::size_t count = std::min(entries.size(), static_cast<std::size_t>(ScoreTable::kSize));
    if (count == 0) {
        // Centred on the 800-unit screen, where the first line would stand.
        constexpr const char* kEmpty = "No scores yet";
        const float x = (800 - font.textWidth(kEmpty, kTextSize)) / 2;
        font.drawText(kEmpty, x + 1, 151,
                      {.size = kTextSize, .colour = {0, 0, 0}, .depth = kDepth});
        font.drawText(kEmpty, x, 150, {.size = kTextSize, .colour = {1, 1, 0}, .depth = kDepth});
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const ScoreTable::Entry& entry = entries[i];
        const float y = 150.0f + 60.0f * static_cast<float>(i);
        font.drawText(entry.name.c_str(), 101, y + 1,
                      {.size = kTextSize, .colour = {0, 0, 0}, .depth = kDepth});
        font.drawNumber(entry.score, 561, y + 1,
                        {.size = kTextSize, .colour = {0, 0, 0}, .depth = kDepth});
        font.drawText(entry.name.c_str(), 100, y,
                      {.size = kTextSize, .colour = {1, 1, 0}, .depth = kDepth});
        font.drawNumber(entry.score, 560, y,
                        {.size = kTextSize, .colour = {1, 1, 0}, .depth = kDepth});
    }
}

}  // namespace brv
