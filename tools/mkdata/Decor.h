#pragma once

#include <cstdint>
#include <string>

#include "tools/mkdata/Canvas.h"
#include "tools/mkdata/Lettering.h"
#include "tools/mkdata/Noise.h"

namespace brv::art {

// Shared motifs of the pictures. Coordinates are canvas pixels unless a
// parameter says logical units (multiplied by `scale`).

// Dark dish: radial falloff from `centre` colour to `edge`, with a faint nebula.
void paintBackdrop(Canvas& c, const Noise& noise, const Rgba& centre, const Rgba& edge,
                   float nebula);
// Soft, out-of-focus cells floating in the dish.
void paintBokeh(Canvas& c, const Noise& noise, int count, float scale, const Rgba& tint);
// A colony as the game shows it: 4-unit points on the 4-unit grid around a
// centre (logical units), with a faint glow of its colour.
void paintSwarm(Canvas& c, float scale, float cx, float cy, float spread, const Rgba& colour,
                int count, std::uint32_t seed);
// A living cell: glow, translucent body, membrane and bright nucleus. `pulse`
// (0..1) swells the body and brightens the glow.
void paintCell(Canvas& c, float cx, float cy, float radius, const Rgba& tint, float pulse);
// Large lettering, centred on cx, with glow, shadow and a light gradient.
void paintTitle(Canvas& c, Lettering& face, const std::string& text, float cx, float baseline,
                float sizeX, float sizeY, const Rgba& glow);
// Plain lettering in one colour, left-aligned at x.
void paintText(Canvas& c, Lettering& face, const std::string& text, float x, float baseline,
               float sizeX, float sizeY, const Rgba& colour);

}  // namespace brv::art
