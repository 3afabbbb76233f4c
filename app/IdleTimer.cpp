#include "app/IdleTimer.h"

#include "platform/Clock.h"

namespace brv {

bool IdleTimer::onTick(int waitMs) {
    idleMs_ += kTickMs;
    if (idleMs_ <= waitMs) {
        return false;
    }
    idleMs_ = 0;
    return true;
}

}  // namespace brv
