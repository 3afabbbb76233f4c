#pragma once

namespace brv {

// Reading the interface layout ("mui/menu.txt") of the current game
// parameters. A missing key reads as "0": the control lands at 0 or gets size
// 0, and the game goes on. A damaged value is held within kLayoutLimit, far
// off the 800 x 600 screen either way, so the sums that place and hit-test
// controls stay inside the int range.
inline constexpr int kLayoutLimit = 1000000;
int layoutInt(const char* key);
float layoutFloat(const char* key);

// A window-pixel coordinate in logical units: pixel / (windowSize /
// logicalSize) in floating point, truncated towards zero. Before the window or
// the logical area has a size there is no scale, and the pixel is returned
// unchanged rather than divided by zero.
int toLogical(int windowPixel, int windowSize, int logicalSize);
// The largest logical coordinate toLogical hands out, either way.
inline constexpr int kLogicalLimit = 1 << 30;

}  // namespace brv
