#pragma once

namespace brv {

class BitmapFont;
class GameParams;

// While the player has the sound off, a small "muted" in the bottom-right
// corner of the logical screen, so silence is not taken for a fault. It keeps
// below the menu's buttons and clear of the game's lines along the bottom.
void drawMuteMark(const BitmapFont& font, const GameParams& params);

}  // namespace brv
