#pragma once

namespace brv {

// What one frame is drawn onto: the window's drawable in pixels and the
// logical area stretched over it.
struct FrameSize {
    int drawableWidth = 0;
    int drawableHeight = 0;
    int logicalWidth = 0;
    int logicalHeight = 0;
};

// Sets the whole GL state a frame starts from, so that no screen relies on
// what another screen or an earlier frame left behind: the viewport over the
// whole drawable, the logical projection (origin top left, y down, depth -50
// to 50) with an identity model view, 2D texturing on, blending, alpha test
// and depth test off, white as the current colour, and the buffers cleared to
// black. Drawing routines switch on what they need (blending for pictures
// with alpha) and leave the rest as they found it.
void beginFrame(const FrameSize& size);

}  // namespace brv
