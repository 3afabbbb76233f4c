#pragma once

#include <memory>
#include <vector>

#include "app/window/Widget.h"
#include "platform/Platform.h"

namespace brv {

class GlWindow;

// Base of every screen and dialog. It hands ticks, drawing and input to the
// view's controls and moves the captionless window when the user drags the
// background of a draggable view. The widget list refers to controls owned by
// the concrete view.
class View {
public:
    // Results read when a view leaves the stacks as a dialog.
    static constexpr int kResultConfirmed = 0;
    static constexpr int kResultCancelled = 1;
    // Set by a game or demonstration screen that asks for the program to end.
    static constexpr int kResultQuit = 2;

    View() = default;
    virtual ~View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    virtual void onTick(int elapsedMs);
    // World updates the last tick played: 0 for a view without a world, the
    // speed (1, 2 or 4) for a running game. Written to the tick log.
    virtual int worldUpdatesInLastTick() const { return 0; }
    virtual void draw();
    virtual void activate();
    virtual void onKeyDown(int virtualKey);
    virtual void onChar(int character, int repeat);
    virtual void onMouseMove(int x, int y, int flags);
    virtual void onLButtonUp(int x, int y, int flags);
    virtual void onLButtonDown(int x, int y, int flags);
    virtual void onRButtonUp(int x, int y, int flags);
    // The wheel turned by `steps` notches (positive away from the player)
    // with the pointer at (x, y); no view but a scrolling one minds it.
    virtual void onMouseWheel(int x, int y, int steps);
    virtual void onWidgetEvent(Widget* widget);
    // A dialog that was on top of this view has closed with `result` and is
    // handed back; whatever the view does not keep is freed on return.
    virtual void onDialogClosed(int result, std::unique_ptr<View> dialog);
    // The screen above this one has closed and is handed back, right before
    // this view is activated again; its result says why it closed.
    virtual void onScreenClosed(std::unique_ptr<View> screen);
    virtual void onCloseRequest();

    void addWidget(Widget* widget) { widgets_.push_back(widget); }
    const std::vector<Widget*>& widgets() const { return widgets_; }
    bool dragging() const { return dragging_; }
    // The window whose stack the view was last pushed on; null before that.
    GlWindow* window() const { return window_; }

    // Whether dragging this view's background moves the window.
    bool draggable = false;
    int result = kResultConfirmed;

private:
    // The window sets itself as the view goes on one of its stacks.
    friend class GlWindow;

    void followCursor(Platform& platform);

    std::vector<Widget*> widgets_;
    GlWindow* window_ = nullptr;
    bool dragging_ = false;
    // The cursor and the window's top left corner, in desktop pixels, at the
    // press that started the drag.
    ScreenPoint dragAnchor_;
    ScreenPoint dragOrigin_;
    // Where the drag last put the window (at first, where it stood at the
    // press). The window manager may take a while to report a move, so the
    // window's own rectangle can still show an older place.
    WindowRect dragPlaced_;
};

}  // namespace brv
