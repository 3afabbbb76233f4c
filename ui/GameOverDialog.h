#pragma once

#include <memory>
#include <string>

#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/EditBox.h"

namespace brv {

// Shown over the whole screen after a finished game: the score and, when it
// earns a place among the seven best, a box for the player's name. Closing it
// in any way (close button, Enter, Escape) enters a qualifying score into the
// table, under "Anonymous" when no name was typed. A dialog the window drops
// unanswered (the program is closing) enters it as it goes, the same way.
class GameOverDialog : public Dialog {
public:
    static constexpr int kNameLength = 15;

    explicit GameOverDialog(int score);
    ~GameOverDialog() override;

    // Enters `score` under `name` ("Anonymous" when empty) when it earns a
    // place in the table.
    static void enterScore(const std::string& name, int score);

    void draw() override;
    void onKeyDown(int virtualKey) override;
    void onWidgetEvent(Widget* widget) override;

    int score() const { return score_; }
    bool qualifies() const { return qualifies_; }
    const std::string& name() const { return name_; }
    Button& closeButton() { return *closeButton_; }
    EditBox& nameBox() { return *nameBox_; }

private:
    void finish();
    void enterOnce();

    std::unique_ptr<Button> closeButton_;
    std::unique_ptr<EditBox> nameBox_;
    int score_;
    bool qualifies_ = false;
    std::string name_;
    // Enter and a click on the close button can both arrive before the tick
    // that removes the dialog; the score enters the table only once.
    bool finished_ = false;
};

}  // namespace brv
