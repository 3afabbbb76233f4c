#pragma once

namespace brv {

class BitmapFont;
class ScoreTable;

// Draws the table on the logical screen with the game's font: one line every
// 60 units from y 150, names at x 100 and scores at x 560, yellow over a black
// shadow; an empty table says "No scores yet" on the first line, centred.
void drawScoreTable(const ScoreTable& table, const BitmapFont& font);

}  // namespace brv
