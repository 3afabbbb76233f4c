#include "app/window/WindowProcedure.h"

#include <chrono>
#include <cstdio>

#include "app/window/GlWindow.h"
#include "app/window/View.h"
#include "platform/Clock.h"
#include "platform/FileIo.h"
#include "platform/LaunchHooks.h"
#include "platform/VirtualKeys.h"

namespace brv {

namespace {

// For the figures: when BREVORA_TICK_LOG names a file, every tick writes a
// line "<start> <cost> <update> <drawing> <swap> <world updates>" there, the
// first five in µs, the cost being the sum of the three, and the last the
// world updates the tick played (the speed in a running game, 0 on the menu
// or under a dialog); gaps between the starts show the ticks the timer
// dropped. A software renderer does most of the drawing's work in the swap.
std::FILE* tickLog() {
    static std::FILE* log = openLineLog(readLaunchHooks().tickLogPath);
    return log;
}

long long microseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void onTickMessage(GlWindow& window) {
    Platform& platform = window.platform();
    // Ticks falling due while this one runs are dropped by the timer, so a
    // slow frame slows the game down instead of queuing work.
    TickInProgress busy(platform);
    std::FILE* log = tickLog();
    const long long start = log != nullptr ? microseconds() : 0;
    window.tick(kTickMs);
    const long long updated = log != nullptr ? microseconds() : 0;
    long long drawn = updated;
    if (window.hasWindow()) {
        window.drawAll();
        drawn = log != nullptr ? microseconds() : 0;
        platform.swapBuffers();
    }
    if (log != nullptr) {
        const long long end = microseconds();
        std::fprintf(log, "%lld %lld %lld %lld %lld %d\n", start, end - start, updated - start,
                     drawn - updated, end - drawn, window.lastTickUpdates());
    }
}

void onCloseMessage(GlWindow& window) {
    Platform& platform = window.platform();
    // With F4 held this is Alt+F4: the top screen gets to close first (a
    // running game ends, then the menu closes the program once F4 is let go).
    // A window manager takes Alt+F4 itself and sends a plain close, so a
    // close with Alt held is Alt+F4 too. Any other close ends the program at
    // once.
    if (platform.isKeyHeld(kVkF4) || platform.isKeyHeld(kVkAlt)) {
        window.closeRequest();
        return;
    }
    platform.showWindow(false);
    platform.postQuit(0);
}

// Pointer positions reach the views in logical units, converted here once.
void routeInput(const GlWindow& window, View& view, const Message& m) {
    const int x = window.toLogicalX(m.x);
    const int y = window.toLogicalY(m.y);
    switch (m.kind) {
        case MessageKind::KeyDown:
            view.onKeyDown(m.key);
            break;
        case MessageKind::Char:
            view.onChar(m.key, m.repeat);
            break;
        case MessageKind::MouseMove:
            view.onMouseMove(x, y, m.flags);
            break;
        case MessageKind::LButtonDown:
            view.onLButtonDown(x, y, m.flags);
            break;
        case MessageKind::LButtonUp:
            view.onLButtonUp(x, y, m.flags);
            break;
        case MessageKind::RButtonUp:
            view.onRButtonUp(x, y, m.flags);
            break;
        case MessageKind::MouseWheel:
            view.onMouseWheel(x, y, m.wheel);
            break;
        default:
            break;
    }
}

}  // namespace

void windowProcedure(GlWindow& window, const Message& message) {
    switch (message.kind) {
        case MessageKind::Tick:
            onTickMessage(window);
            break;
        case MessageKind::Close:
            onCloseMessage(window);
            break;
        case MessageKind::Minimized:
            window.onMinimized();
            break;
        case MessageKind::Restored:
            window.onRestored();
            break;
        case MessageKind::Quit:
            break;
        case MessageKind::KeyDown:
            // F12 is the window's own key on every screen: no view sees it.
            if (message.key == kVkF12) {
                window.requestScreenshot();
                break;
            }
            [[fallthrough]];
        default:
            if (View* view = window.currentView(); view != nullptr) {
                routeInput(window, *view, message);
            }
            break;
    }
}

int runMessageLoop(GlWindow& window) {
    Platform& platform = window.platform();
    Message message;
    while (platform.getMessage(message)) {
        windowProcedure(window, message);
    }
    return platform.exitCode();
}

}  // namespace brv
