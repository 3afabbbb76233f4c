#pragma once

namespace brv {

// A window-pixel coordinate in logical units: pixel / (windowSize /
// logicalSize) in floating point, truncated towards zero. Before the window or
// the logical area has a size there is no scale, and the pixel is returned
// unchanged rather than divided by zero.
int toLogical(int windowPixel, int windowSize, int logicalSize);
// The largest logical coordinate toLogical hands out, either way.
inline constexpr int kLogicalLimit = 1 << 30;

}  // namespace brv
