#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/window/GameContext.h"
#include "ui/Button.h"
#include "ui/Dialog.h"

namespace brv {

// A yes/no question in the quit dialog's box, art and buttons: OK (or Enter)
// closes with result 0, Cancel (or Escape) with result 1. Its lines stand
// centred in the box in the title lettering, made smaller where a line would
// not fit between the box's edges.
class QuestionDialog : public Dialog {
public:
    QuestionDialog(GameContext& context, std::vector<std::string> lines);

    // Built where the quit dialog stands (its layout keys) over the whole
    // logical screen, ready to be pushed.
    static std::unique_ptr<QuestionDialog> inQuitBox(GameContext& context,
                                                     std::vector<std::string> lines);

    void draw() override;
    void onWidgetEvent(Widget* widget) override;

    const std::vector<std::string>& lines() const { return lines_; }
    Button& okButton() { return *okButton_; }
    Button& cancelButton() { return *cancelButton_; }

protected:
    GameContext& context_;

private:
    std::vector<std::string> lines_;
    std::unique_ptr<Button> okButton_;
    std::unique_ptr<Button> cancelButton_;
};

}  // namespace brv
