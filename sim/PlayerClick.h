#pragma once

namespace brv {

class Colony;

enum class ClickResult { FlagRemoved, FlagSet, Nothing };

// The player's left press at a logical position: it takes away a flag near
// the place, or else sets one there while the colony's limit allows (at the
// limit it sets nothing). The game screen and the runner's reference players
// click by this one rule.
ClickResult playerClick(Colony& colony, int x, int y);

}  // namespace brv
