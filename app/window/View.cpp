#include "app/window/View.h"

#include "app/window/GlWindow.h"

namespace brv {

namespace {

// The platform of the view's window, or none before the view is on one (a
// view built in a test without a window simply never drags).
Platform* windowPlatform(const GlWindow* window) {
    return window != nullptr ? &window->platform() : nullptr;
}

bool outside(const WindowRect& r, const ScreenPoint& p) {
    return p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom;
}

}  // namespace

void View::onTick(int elapsedMs) {
    // A drag whose release happened outside the window never sends a button-up
    // here; once the cursor has left the window the drag is over. The window
    // counts where the drag put it: its own rectangle may still lag behind.
    if (dragging_) {
        if (Platform* platform = windowPlatform(window_);
            platform == nullptr || outside(dragPlaced_, platform->cursorPosition())) {
            dragging_ = false;
        }
    }
    for (Widget* widget : widgets_) {
        widget->onTick(static_cast<unsigned>(elapsedMs));
    }
}

void View::draw() {
    for (Widget* widget : widgets_) {
        widget->draw();
    }
}

void View::activate() {
    dragging_ = false;
    for (Widget* widget : widgets_) {
        widget->reset();
    }
}

void View::onKeyDown(int virtualKey) {
    for (Widget* widget : widgets_) {
        widget->onKeyDown(virtualKey);
    }
}

void View::onChar(int character, int repeat) {
    for (Widget* widget : widgets_) {
        widget->onChar(character, repeat);
    }
}

// The window goes where it stood at the press, moved by as much as the cursor
// has moved since, in desktop pixels: the grabbed point stays under the
// cursor whatever the message's coordinates say, and a move the window
// manager has not reported yet is not lost.
void View::followCursor(Platform& platform) {
    const ScreenPoint p = platform.cursorPosition();
    const int width = dragPlaced_.right - dragPlaced_.left;
    const int height = dragPlaced_.bottom - dragPlaced_.top;
    const int left = dragOrigin_.x + p.x - dragAnchor_.x;
    const int top = dragOrigin_.y + p.y - dragAnchor_.y;
    if (left != dragPlaced_.left || top != dragPlaced_.top) {
        platform.moveWindow(left, top, width, height);
        dragPlaced_ = {left, top, left + width, top + height};
    }
}

void View::onMouseMove(int x, int y, int flags) {
    if (dragging_ && draggable) {
        if (Platform* platform = windowPlatform(window_); platform != nullptr) {
            followCursor(*platform);
        }
    }
    for (Widget* widget : widgets_) {
        if (widget->onMouseMove(x, y, flags)) {
            dragging_ = false;
            break;
        }
    }
}

void View::onLButtonUp(int x, int y, int flags) {
    dragging_ = false;
    for (Widget* widget : widgets_) {
        widget->onLButtonUp(x, y, flags);
    }
}

void View::onLButtonDown(int x, int y, int flags) {
    dragging_ = true;
    if (Platform* platform = windowPlatform(window_); platform != nullptr) {
        dragAnchor_ = platform->cursorPosition();
        dragPlaced_ = platform->windowRect();
        dragOrigin_ = {dragPlaced_.left, dragPlaced_.top};
    }
    bool claimed = false;
    for (Widget* widget : widgets_) {
        claimed = widget->onLButtonDown(x, y, flags) || claimed;
    }
    // A press on a control is the control's, not the start of a window move.
    if (claimed) {
        dragging_ = false;
    }
}

void View::onRButtonUp(int x, int y, int flags) {
    dragging_ = false;
    for (Widget* widget : widgets_) {
        widget->onRButtonUp(x, y, flags);
    }
}

void View::onMouseWheel(int /*x*/, int /*y*/, int /*steps*/) {}

void View::onWidgetEvent(Widget* /*widget*/) {
    dragging_ = false;
}

void View::onDialogClosed(int /*result*/, std::unique_ptr<View> /*dialog*/) {}

void View::onScreenClosed(std::unique_ptr<View> /*screen*/) {}

void View::onCloseRequest() {}

}  // namespace brv
