#pragma once

#include "config/SpriteAnimation.h"

namespace brv {

class RulesState;

// A colony's marker on a grid cell; the nearest one draws the colony's idle
// viruses towards it. Flags are not grid occupants and may share a cell. The
// animation is the flag's own copy of the flag template's clock.
class Flag {
public:
    // Copies the template and starts it on a random frame (one draw of `rules`).
    Flag(int column, int row, const SpriteAnimation& animationTemplate, RulesState& rules);

    int column() const { return column_; }
    int row() const { return row_; }
    SpriteAnimation& animation() { return animation_; }
    const SpriteAnimation& animation() const { return animation_; }

private:
    int column_;
    int row_;
    SpriteAnimation animation_;
};

}  // namespace brv
