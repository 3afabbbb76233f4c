#pragma once

#include "config/SpriteAnimation.h"

namespace brv {

class GameRules;
class World;

// An animated object on a grid cell that hands out life to the viruses around
// it until its reserve is spent. It does not occupy its cell: a virus may
// stand on it. The animation is the source's own copy of the life-source
// template's clock.
class LifeSource {
public:
    // Starts the animation on a random frame, then draws the reserve.
    LifeSource(int column, int row, const GameRules& params, World* world);
    LifeSource(const LifeSource&) = delete;
    LifeSource& operator=(const LifeSource&) = delete;

    // Feeds every virus within reach with probability 1 / m_life_src_add_prob,
    // each feed costing m_life_distribute; animates. True once spent (reserve
    // below zero).
    bool update(int elapsedMs);

    int column() const { return column_; }
    int row() const { return row_; }
    int reserve() const { return reserve_; }
    // The share of its starting reserve the source still holds, from 1
    // (untouched) down to 0 (spent, or a source that started with nothing).
    // Only the drawing reads it, to show how long the source will last.
    float reserveLeft() const;
    // The reserve drawn at creation (what a bot sees to judge a source).
    int startingReserve() const { return startingReserve_; }
    SpriteAnimation& animation() { return animation_; }
    const SpriteAnimation& animation() const { return animation_; }

private:
    void chooseViruses(int radius);

    SpriteAnimation animation_;
    const GameRules& params_;
    int column_;
    int row_;
    World* world_;
    int reserve_ = 0;
    // The reserve drawn at creation; the rules never read it.
    int startingReserve_ = 0;
};

}  // namespace brv
