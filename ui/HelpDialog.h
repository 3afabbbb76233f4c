#pragma once

#include <memory>

#include "app/window/GameContext.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/TextPanel.h"

namespace brv {

// The help text ("mui/help.txt"), wrapped into a column of 13 lines that the
// up and down buttons scroll two lines at a time, as does each notch of the
// mouse wheel over the dialog; the Up and Down keys scroll one line, Page Up
// and Page Down one page.
class HelpDialog : public Dialog {
public:
    static constexpr const char* kTextPath = "mui/help.txt";

    explicit HelpDialog(GameContext& context);

    void draw() override;
    void onWidgetEvent(Widget* widget) override;
    void onKeyDown(int virtualKey) override;
    void onMouseWheel(int x, int y, int steps) override;

    const TextPanel& panel() const { return panel_; }
    Button& closeButton() { return *closeButton_; }
    Button& upButton() { return *upButton_; }
    Button& downButton() { return *downButton_; }

private:
    GameContext& context_;
    std::unique_ptr<Button> closeButton_;
    std::unique_ptr<Button> upButton_;
    std::unique_ptr<Button> downButton_;
    TextPanel panel_;
};

}  // namespace brv
