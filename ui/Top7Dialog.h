#pragma once

#include <memory>

#include "ui/Button.h"
#include "ui/Dialog.h"

namespace brv {

// The seven best results over the whole screen, with one close button. It
// lies at (0, 0), so its positions are screen positions.
class Top7Dialog : public Dialog {
public:
    Top7Dialog();

    void draw() override;
    void onWidgetEvent(Widget* widget) override;

    Button& closeButton() { return *closeButton_; }

private:
    std::unique_ptr<Button> closeButton_;
};

}  // namespace brv
