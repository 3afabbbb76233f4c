#pragma once

#include "gfx/Sprite.h"

namespace brv {

class GameParams;
class World;

// An animated object on a grid cell that hands out life to the viruses around
// it until its reserve is spent. It does not occupy its cell: a virus may
// stand on it. The sprite is the source's own copy of the resource set's
// life-source template.
class LifeSource {
public:
    // Starts the animation on a random frame, then draws the reserve.
    LifeSource(int column, int row, GameParams& params, World* world);
    LifeSource(const LifeSource&) = delete;
    LifeSource& operator=(const LifeSource&) = delete;

    // Feeds every virus within reach with probability 1 / m_life_src_add_prob,
    // each feed costing m_life_distribute; animates. True once spent (reserve
    // below zero).
    bool update(int elapsedMs);
    // Its sprite on its cell, in opaque white (the world draws it raised).
    void draw();

    int column() const { return column_; }
    int row() const { return row_; }
    int reserve() const { return reserve_; }
    Sprite& sprite() { return sprite_; }
    const Sprite& sprite() const { return sprite_; }

private:
    void chooseViruses(int radius);

    Sprite sprite_;
    GameParams& params_;
    int column_;
    int row_;
    World* world_;
    int reserve_ = 0;
};

}  // namespace brv
