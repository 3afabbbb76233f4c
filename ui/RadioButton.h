#pragma once

#include "app/window/Widget.h"

namespace brv {

class Texture;
class View;

// An option button drawn from four bands: unchecked, unchecked under the
// pointer, checked, checked under the pointer. A release while it is
// unchecked and hovered checks it and tells the owner; the owner unchecks the
// other options of its group (RadioGroup). Checking it from code never
// notifies.
class RadioButton : public Widget {
public:
    static constexpr int kUnchecked = 1;
    static constexpr int kUncheckedHover = 2;
    static constexpr int kChecked = 3;
    static constexpr int kCheckedHover = 4;

    // `image` belongs to the resource set and must outlive the button.
    RadioButton(View* owner, const Texture* image) : owner_(owner), image_(image) {}
    virtual void setChecked(bool checked) { state = checked ? kChecked : kUnchecked; }
    bool checked() const { return state > kUncheckedHover; }

    bool onMouseMove(int x, int y, int flags) override;
    bool onLButtonDown(int x, int y, int flags) override;
    bool onLButtonUp(int x, int y, int flags) override;
    void draw() override;

    // Until the first draw the hit box is 50 by 50.
    float width = 50;
    float height = 50;
    int state = kUnchecked;
    float x = 200;
    float y = 40;
    float z = 0;

private:
    View* owner_;
    const Texture* image_;
};

}  // namespace brv
