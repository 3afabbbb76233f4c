#pragma once

#include <vector>

#include "app/window/View.h"
#include "config/GameParams.h"

namespace brv::test {

// A view that only remembers which controls reported to it.
class EventView : public View {
public:
    void onWidgetEvent(Widget* widget) override { events.push_back(widget); }
    std::vector<Widget*> events;
};

// The shipped rules and layout, read as loose files from the sources and
// installed as the game's parameters for the lifetime of the object.
class ShippedParams {
public:
    ShippedParams() : params(BREVORA_SOURCE_DIR "/assets"), scope_(params) {}
    GameParams params;

private:
    ScopedGameParams scope_;
};

}  // namespace brv::test
