#pragma once

namespace brv {

class KeyValueFile;

// Reading the interface layout ("mui/menu.txt", the game parameters'
// m_layout). A missing key reads as "0": the control lands at 0 or gets size
// 0, and the game goes on. A damaged value is held within kLayoutLimit, far
// off the 800 x 600 screen either way, so the sums that place and hit-test
// controls stay inside the int range.
inline constexpr int kLayoutLimit = 1000000;
int layoutInt(const KeyValueFile& layout, const char* key);
float layoutFloat(const KeyValueFile& layout, const char* key);

}  // namespace brv
