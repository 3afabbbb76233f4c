#include "platform/Platform.h"

namespace brv {

void Platform::postQuit(int exitCode) {
    Message quit;
    quit.kind = MessageKind::Quit;
    quit.key = exitCode;
    post(quit);
}

bool Platform::timerFired() {
    if (tickInProgress_.load()) {
        return false;
    }
    Message tick;
    tick.kind = MessageKind::Tick;
    post(tick);
    return true;
}

}  // namespace brv
