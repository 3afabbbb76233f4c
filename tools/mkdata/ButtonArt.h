#pragma once

#include <string>

#include "tools/mkdata/Canvas.h"
#include "tools/mkdata/Lettering.h"

namespace brv::art {

// Pictures of the controls. Each holds its states as equal horizontal bands;
// the game maps band 1 to texture v = 0, which is the bottom of the picture
// once its rows are stored bottom-up, so state s lies at canvas rows
// (n - s) * band ... (n - s + 1) * band.
//
// Bands are kept just under a power of two in total (3 x 43 = 129, 3 x 21 =
// 63): the game builds mipmaps for these pictures and rescales other sizes,
// so these come through almost untouched.
enum class Symbol { Minimise, Help, Quit, Up, Down };

// Three bands: normal, hover, pressed, with a centred label.
Canvas drawLabelButton(Lettering& face, const std::string& label, int width, int band);
// Three bands with a drawn symbol instead of lettering.
Canvas drawSymbolButton(Lettering& face, Symbol symbol, int width, int band);
// Four bands: unchecked, unchecked hover, checked, checked hover.
Canvas drawRadioButton(int size);
// Two bands: idle, focused (typed text is yellow, so the field is dark).
Canvas drawNameBox(int width, int band);
// The dialog box, stretched by the game to each dialog's size.
Canvas drawDialogBox(int size);

// Canvas row of the top of band `state` (1-based) of `bands`.
inline int bandTop(int state, int bands, int band) {
    return (bands - state) * band;
}

}  // namespace brv::art
