#pragma once

#include <memory>

#include "ui/Button.h"
#include "ui/Dialog.h"

namespace brv {

// Asks whether the player really wants to leave: OK (or Enter) closes with
// result 0, after which the main screen ends the program; Cancel (or Escape)
// with result 1.
class QuitDialog : public Dialog {
public:
    QuitDialog();

    void draw() override;
    void onWidgetEvent(Widget* widget) override;

    Button& okButton() { return *okButton_; }
    Button& cancelButton() { return *cancelButton_; }

private:
    std::unique_ptr<Button> okButton_;
    std::unique_ptr<Button> cancelButton_;
};

}  // namespace brv
