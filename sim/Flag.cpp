#include "sim/Flag.h"

#include "platform/Random.h"
#include "sim/AnimationStart.h"

namespace brv {

Flag::Flag(int column, int row, const Sprite& spriteTemplate)
    : column_(column), row_(row), sprite_(spriteTemplate) {
    startAnimationAt(sprite_, brv::rand() % sprite_.frames());
}

}  // namespace brv
