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

}  // namespace brv
