#pragma once

namespace brv {

// The ring's outer radius in drawing units, just outside the 32-pixel
// life-source art: what a player sees as the source's extent.
inline constexpr float kReserveRingOuter = 21;

// The ring around a life source that shows how much of its reserve is left:
// a white arc from twelve o'clock clockwise over `left` (0 to 1) of the turn,
// on a dark track that marks what is already handed out. White is no colony's
// colour in either palette, and the dark track keeps it readable on any field.
// `arcShows` false leaves only the track (the off beat of a nearly spent
// source's blinking). Centred on (x, y) at depth 0 in drawing units; leaves
// texturing and blending off and the colour opaque white.
void drawReserveRing(float x, float y, float left, bool arcShows);

}  // namespace brv
