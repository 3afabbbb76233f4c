#include "sim/MouseSteering.h"

namespace brv {

ClickResult MouseSteering::press(World& world, int update, int x, int y) {
    Colony* colony = steered(world);
    return colony == nullptr ? ClickResult::Nothing : click(*colony, update, x, y);
}

bool MouseSteering::release(World& world, int update, int x, int y) {
    Colony* colony = steered(world);
    return colony != nullptr && remove(*colony, update, x, y);
}

}  // namespace brv
