#include "tools/mkdata/Noise.h"

#include <cmath>

namespace brv::art {

std::uint32_t Noise::mixBits(int x, int y, int salt) const {
    std::uint32_t h = seed_ * 0x9E3779B1u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
    h ^= static_cast<std::uint32_t>(salt) * 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

float Noise::hash(int x, int y, int salt) const {
    return static_cast<float>(mixBits(x, y, salt) >> 8) / 16777216.0f;
}

float Noise::gradient(float x, float y) const {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = x - fx;
    const float ty = y - fy;
    auto corner = [&](int cx, int cy) {
        const float angle = hash(ix + cx, iy + cy, 7) * 6.2831853f;
        return std::cos(angle) * (tx - static_cast<float>(cx)) +
               std::sin(angle) * (ty - static_cast<float>(cy));
    };
    const float ux = tx * tx * tx * (tx * (tx * 6.0f - 15.0f) + 10.0f);
    const float uy = ty * ty * ty * (ty * (ty * 6.0f - 15.0f) + 10.0f);
    const float top = corner(0, 0) + (corner(1, 0) - corner(0, 0)) * ux;
    const float bottom = corner(0, 1) + (corner(1, 1) - corner(0, 1)) * ux;
    return (top + (bottom - top) * uy) * 1.4f;
}

float Noise::fbm(float x, float y, int octaves, float gain) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        // Offsetting each octave keeps the lattices from lining up.
        sum += amplitude *
               gradient(x + static_cast<float>(o) * 17.31f, y - static_cast<float>(o) * 9.17f);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.03f;
        y *= 2.03f;
    }
    return sum / norm;
}

float Noise::ridged(float x, float y, int octaves) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        const float n = 1.0f - std::abs(gradient(x + static_cast<float>(o) * 5.7f, y));
        sum += amplitude * n * n;
        norm += amplitude;
        amplitude *= 0.5f;
        x *= 2.01f;
        y *= 2.01f;
    }
    return sum / norm;
}

Noise::Cells Noise::cells(float x, float y, float jitter) const {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    Cells out;
    out.nearest = 1e9f;
    out.second = 1e9f;
    for (int cy = iy - 1; cy <= iy + 1; ++cy) {
        for (int cx = ix - 1; cx <= ix + 1; ++cx) {
            const float px = static_cast<float>(cx) + 0.5f + (hash(cx, cy, 1) - 0.5f) * jitter;
            const float py = static_cast<float>(cy) + 0.5f + (hash(cx, cy, 2) - 0.5f) * jitter;
            const float d = std::hypot(x - px, y - py);
            if (d < out.nearest) {
                out.second = out.nearest;
                out.nearest = d;
                out.id = mixBits(cx, cy, 3);
            } else if (d < out.second) {
                out.second = d;
            }
        }
    }
    return out;
}

}  // namespace brv::art
