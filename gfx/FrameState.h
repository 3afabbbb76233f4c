#pragma once

#include <cstdint>
#include <vector>

namespace brv {

// What one frame is drawn onto: the window's drawable in pixels and the
// logical area laid over it, stretched over all of it, or with its aspect
// kept (full screen) and black bars beside it.
struct FrameSize {
    int drawableWidth = 0;
    int drawableHeight = 0;
    int logicalWidth = 0;
    int logicalHeight = 0;
    bool keepAspect = false;
};

// A rectangle of a surface in its pixels, from its top left corner.
struct Viewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Where the logical area lies on a surface of the given size: all of it when
// stretched; with the aspect kept, the largest rectangle of the logical
// area's shape, centred. Without a logical size, the whole surface.
Viewport logicalViewport(const FrameSize& size);

// Sets the whole GL state a frame starts from, so that no screen relies on
// what another screen or an earlier frame left behind: the viewport over the
// whole drawable, the logical projection (origin top left, y down, depth -50
// to 50) on the logical viewport, with an identity model view, 2D texturing on, blending, alpha
// test and depth test off, white as the current colour, and the buffers cleared to black. Drawing
// routines switch on what they need (blending for pictures with alpha) and leave the rest as they
// found it. Outside the logical viewport the frame stays black.
void beginFrame(const FrameSize& size);

// Drops the errors earlier GL calls left (GL keeps at most one per kind), so
// that a check after the next call sees only what that call did.
void discardGlErrors();

// The frame drawn so far, `width` by `height` pixels of the drawable from its
// corner, as RGBA rows with the top row first and every pixel opaque: the
// picture the player sees once the frame is shown. Empty when the size is not
// positive or GL cannot hand the pixels over.
std::vector<std::uint8_t> readFrame(int width, int height);

}  // namespace brv
