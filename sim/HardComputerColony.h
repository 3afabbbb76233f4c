#pragma once

#include "sim/ComputerColony.h"

namespace brv {

struct InfluenceRecord;

// The Hard opponent: reads the world's influence table and flags the sources
// it can take, leaving those it already dominates by far or has lost.
class HardComputerColony : public ComputerColony {
public:
    HardComputerColony(float red, float green, float blue, const GameRules& params, World* world);

    // Thinks once more than a second has passed, then starts counting again.
    void update(int elapsedMs, int index) override;

private:
    void think(int index);
    void flagBestByMargin(int index);
};

}  // namespace brv
