#pragma once

#include "app/window/GlWindow.h"
#include "app/window/WindowProcedure.h"
#include "platform/Message.h"

namespace brv::test {

// A pointer message at (x, y) in window pixels, dispatched as the window
// does, so the current view sees it in logical units.
inline void sendPointer(GlWindow& window, MessageKind kind, int x, int y) {
    Message m;
    m.kind = kind;
    m.x = x;
    m.y = y;
    windowProcedure(window, m);
}

}  // namespace brv::test
