#pragma once

#include <vector>

#include "app/window/View.h"
#include "config/GameParams.h"
#include "tests/support/SaveFolderIn.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"

namespace brv::test {

// A view that only remembers which controls reported to it.
class EventView : public View {
public:
    void onWidgetEvent(Widget* widget) override { events.push_back(widget); }
    std::vector<Widget*> events;
};

// The shipped rules and layout, read as loose files from the sources, with
// unloaded art and silent sounds: the context of the dialogs a test builds.
// Saved files go to a folder of the test's own, never into the sources.
class ShippedParams {
public:
    ShippedParams() : params(BREVORA_SOURCE_DIR "/assets"), own_(params) {
        params.m_save_folder = saveFolderIn(saves.path());
    }
    GameContext& context() { return own_.context; }
    TempDir saves;
    GameParams params;

private:
    TestContext own_;
};

}  // namespace brv::test
