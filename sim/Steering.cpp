#include "sim/Steering.h"

#include "sim/Colony.h"
#include "sim/World.h"

namespace brv {

ClickResult Steering::click(Colony& colony, int update, int x, int y) const {
    const ClickResult result = playerClick(colony, x, y);
    if (result != ClickResult::Nothing || reportsRefused()) {
        report({colony_, update, result, x, y});
    }
    return result;
}

bool Steering::remove(Colony& colony, int update, int x, int y) const {
    if (!colony.removeFlagNear(x, y)) {
        return false;
    }
    report({colony_, update, ClickResult::FlagRemoved, x, y});
    return true;
}

void Steering::report(const SteeringClick& click) const {
    if (sink_) {
        sink_(click);
    }
}

Colony* Steering::steered(World& world) const {
    const auto& colonies = world.colonies();
    return colony_ >= 0 && colony_ < static_cast<int>(colonies.size())
               ? colonies[static_cast<std::size_t>(colony_)].get()
               : nullptr;
}

}  // namespace brv
