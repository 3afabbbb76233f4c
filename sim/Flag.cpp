#include "sim/Flag.h"

#include "sim/AnimationStart.h"
#include "sim/RulesState.h"

namespace brv {

Flag::Flag(int column, int row, const SpriteAnimation& animationTemplate, RulesState& rules)
    : column_(column), row_(row), animation_(animationTemplate) {
    startAnimationAt(animation_, rules.rand() % animation_.frames());
}

}  // namespace brv
