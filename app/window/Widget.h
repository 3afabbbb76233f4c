#pragma once

namespace brv {

// Base of the controls placed on a view (buttons, edit boxes, option buttons).
// Every operation defaults to doing nothing, so a control replaces only what
// it needs. Coordinates are the owning view's own (logical for every screen
// and dialog); flags are the mouse message's key-state flags. The pointer
// operations return true when the control claimed the event.
class Widget {
public:
    Widget() = default;
    virtual ~Widget() = default;
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    virtual bool onMouseMove(int /*x*/, int /*y*/, int /*flags*/) { return false; }
    virtual bool onLButtonUp(int /*x*/, int /*y*/, int /*flags*/) { return false; }
    virtual bool onRButtonUp(int /*x*/, int /*y*/, int /*flags*/) { return false; }
    virtual bool onLButtonDown(int /*x*/, int /*y*/, int /*flags*/) { return false; }
    virtual void onKeyDown(int /*virtualKey*/) {}
    virtual void onChar(int /*character*/, int /*repeat*/) {}
    virtual void onTick(unsigned /*elapsedMs*/) {}
    virtual void draw() {}
    // Back to the resting look when the owning view becomes current again.
    virtual void reset() {}
};

}  // namespace brv
