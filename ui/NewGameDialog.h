#pragma once

#include <array>
#include <memory>

#include "app/window/GameContext.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/RadioButton.h"
#include "ui/RadioGroup.h"

namespace brv {

// The choice of 2, 3 or 4 colonies and of the difficulty before a game. It
// opens with the player's last choices checked. OK or Enter closes it with
// result 0, Cancel or Escape with result 1; no other key does anything, not
// even reach the controls. The opener reads the two groups' checked indices.
class NewGameDialog : public Dialog {
public:
    static constexpr int kOptions = 3;

    explicit NewGameDialog(GameContext& context);

    void draw() override;
    void onKeyDown(int virtualKey) override;
    void onWidgetEvent(Widget* widget) override;

    // 0, 1, 2 for 2, 3, 4 colonies.
    const RadioGroup& colonyGroup() const { return colonyGroup_; }
    // 0 Easy, 1 Medium, 2 Hard.
    const RadioGroup& difficultyGroup() const { return difficultyGroup_; }

    Button& okButton() { return *okButton_; }
    Button& cancelButton() { return *cancelButton_; }
    RadioButton& colonyOption(int index) { return *colonies_.at(index); }
    RadioButton& difficultyOption(int index) { return *difficulties_.at(index); }

private:
    GameContext& context_;
    using Options = std::array<std::unique_ptr<RadioButton>, kOptions>;
    void addOptions(Options& options, RadioGroup& group, const char* const (*keys)[2],
                    int remembered);
    void drawLabels() const;

    RadioGroup colonyGroup_;
    RadioGroup difficultyGroup_;
    std::unique_ptr<Button> okButton_;
    std::unique_ptr<Button> cancelButton_;
    Options colonies_;
    Options difficulties_;
};

}  // namespace brv
