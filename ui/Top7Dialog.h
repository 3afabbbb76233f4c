#pragma once

#include <memory>

#include "app/window/GameContext.h"
#include "ui/Button.h"
#include "ui/Dialog.h"

namespace brv {

// The seven best results over the whole screen, with one close button. It
// lies at (0, 0), so its positions are screen positions.
class Top7Dialog : public Dialog {
public:
    explicit Top7Dialog(GameContext& context);

    void draw() override;
    void onWidgetEvent(Widget* widget) override;

    Button& closeButton() { return *closeButton_; }

private:
    GameContext& context_;
    std::unique_ptr<Button> closeButton_;
};

}  // namespace brv
