#pragma once

namespace brv {

class Colony;
class World;

enum class VirusState { Idle = 0, Moving = 1, Dead = 2 };

// The unit of the simulation: one cell of the grid, one colony, a life that
// runs down by one point per update. It fights neighbours of other colonies,
// wanders towards its colony's nearest flag, multiplies when a life source has
// fed it well above its maximum and shares half its maximum life on death.
class Virus {
public:
    // Draws the maximum life and counts itself into the colony. The caller
    // places the virus into the empty slot (column, row) of `world`, the grid
    // whose rules it follows for the rest of its life.
    Virus(World& world, int column, int row, Colony* colony);
    ~Virus();
    Virus(const Virus&) = delete;
    Virus& operator=(const Virus&) = delete;

    // One update (every second tick): decay, then the move in progress or, for
    // an idle virus, a fight and the choice of a new move.
    void update(int elapsedMs);
    // Life handed out by a life source; may spawn one child.
    void feed(int amount);
    // Life sums saturate at ±kLifeLimit: a virus that keeps winning fights
    // doubles its life with every kill and would otherwise wrap around.
    static constexpr int kLifeLimit = 1000000000;
    void addLife(int delta) { life_ = saturated(static_cast<long long>(life_) + delta); }

    void decay();
    void fight();
    void chooseMove();
    void step();

    Colony* colony() const { return colony_; }
    float x() const { return x_; }
    float y() const { return y_; }
    int column() const { return column_; }
    int row() const { return row_; }
    VirusState state() const { return state_; }
    int stepsLeft() const { return stepsLeft_; }
    int maxLife() const { return maxLife_; }
    int life() const { return life_; }
    float movementX() const { return movement_[0]; }
    float movementY() const { return movement_[1]; }

private:
    static int saturated(long long life) {
        return static_cast<int>(life < -kLifeLimit ? -kLifeLimit
                                                   : (life > kLifeLimit ? kLifeLimit : life));
    }
    // Life won in a fight, fed or shared, up to the rules' bound on a
    // virus's life (none when the rules set none). A gain never lowers a
    // life that already stands above the bound.
    void gainLife(int delta);
    int hitStrength(const Virus& enemy) const;
    void spawnChild();
    void wobble();

    World& world_;
    Colony* colony_;
    float x_ = 0;
    float y_ = 0;
    float movement_[3] = {0, 0, 0};
    int column_;
    int row_;
    VirusState state_ = VirusState::Idle;
    int stepsLeft_ = 0;
    int maxLife_ = 0;
    int life_ = 0;
};

}  // namespace brv
