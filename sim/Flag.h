#pragma once

#include "gfx/Sprite.h"

namespace brv {

// A colony's marker on a grid cell; the nearest one draws the colony's idle
// viruses towards it. Flags are not grid occupants and may share a cell. The
// sprite is the flag's own copy of the resource set's flag template.
class Flag {
public:
    // Copies the template and starts it on a random frame (one draw).
    Flag(int column, int row, const Sprite& spriteTemplate);

    // Its sprite on its cell, `pitch` logical pixels per cell, above the viruses.
    void draw(float pitch);

    int column() const { return column_; }
    int row() const { return row_; }
    Sprite& sprite() { return sprite_; }
    const Sprite& sprite() const { return sprite_; }

private:
    int column_;
    int row_;
    Sprite sprite_;
};

}  // namespace brv
