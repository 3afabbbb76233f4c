#pragma once

namespace brv {

class Colony;

enum class ClickResult { FlagRemoved, FlagSet, Nothing };

// The player's left press at a logical position: it takes away a flag near
// the place, or else sets one there while the colony's limit allows (at the
// limit it sets nothing). Whoever steers a colony (sim/Steering.h: the
// mouse, a reference player, a bot program) clicks by this one rule.
ClickResult playerClick(Colony& colony, int x, int y);

}  // namespace brv
