#include "sim/Flag.h"

#include "platform/Random.h"
#include "sim/AnimationStart.h"

namespace brv {

Flag::Flag(int column, int row, const SpriteAnimation& animationTemplate)
    : column_(column), row_(row), animation_(animationTemplate) {
    startAnimationAt(animation_, brv::rand() % animation_.frames());
}

}  // namespace brv
