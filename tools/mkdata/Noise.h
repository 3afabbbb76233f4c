#pragma once

#include <cstdint>

namespace brv::art {

// Deterministic noise for organic textures: integer hashing only, so one seed
// gives the same picture on every machine and every run.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : seed_(seed) {}

    // A value in 0..1 for an integer lattice point.
    float hash(int x, int y, int salt = 0) const;
    // Smooth gradient noise, roughly -1..1, one feature per unit.
    float gradient(float x, float y) const;
    // Fractal sum of `octaves` gradient layers, roughly -1..1.
    float fbm(float x, float y, int octaves, float gain = 0.5f) const;
    // Ridged variant: thin bright veins where the noise crosses zero, 0..1.
    float ridged(float x, float y, int octaves) const;

    // Cellular noise: distances to the nearest and second nearest of one
    // jittered point per unit cell.
    struct Cells {
        float nearest = 0;
        float second = 0;
        std::uint32_t id = 0;  // which cell won, for per-cell colour
    };
    Cells cells(float x, float y, float jitter = 0.85f) const;

private:
    std::uint32_t mixBits(int x, int y, int salt) const;
    std::uint32_t seed_;
};

}  // namespace brv::art
