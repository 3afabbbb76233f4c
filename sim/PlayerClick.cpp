#include "sim/PlayerClick.h"

#include "sim/Colony.h"

namespace brv {

ClickResult playerClick(Colony& colony, int x, int y) {
    if (colony.removeFlagNear(x, y)) {
        return ClickResult::FlagRemoved;
    }
    const std::size_t before = colony.flags().size();
    colony.addFlagAt(x, y);
    return colony.flags().size() > before ? ClickResult::FlagSet : ClickResult::Nothing;
}

}  // namespace brv
