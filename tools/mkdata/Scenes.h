#pragma once

#include "tools/mkdata/Canvas.h"
#include "tools/mkdata/Lettering.h"

namespace brv::art {

// The four colony colours, as the game draws its viruses.
extern const Rgba kColonyColours[4];

// Full-screen pictures, painted in logical 800 x 600 proportions at `scale`
// pixels per logical unit; the caller squeezes them into power-of-two sides.
struct SceneFonts {
    Lettering* bold = nullptr;
    Lettering* regular = nullptr;
};

// The intro: the game's name over a living dish, shown while the art loads.
Canvas paintIntro(const SceneFonts& fonts, int scale);
// The main menu: room for the button column, a calm top-left corner for the
// caption and a pale slide label under the version text (drawn in black).
Canvas paintMainMenu(const SceneFonts& fonts, int scale);
// Behind the top-7 table and the game-over dialog: red and yellow text on it.
Canvas paintTableBackground(int scale);

// Field texture `index` (0..9): dark and organic, so 4-pixel points in the
// colony colours and the flags stand out on every one of them.
Canvas paintField(int index, int scale);

// Sprite sheets: frames side by side, one group.
Canvas paintLifeSource(int frames, int cell);
Canvas paintFlag(int frames, int cell);
// The window icon.
Canvas paintIcon(int size);

}  // namespace brv::art
