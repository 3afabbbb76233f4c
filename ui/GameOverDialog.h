#pragma once

#include <memory>
#include <string>

#include <optional>

#include "app/window/GameContext.h"
#include "gfx/LineGraph.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/EditBox.h"
#include "ui/GameResult.h"

namespace brv {

class BitmapFont;
class GameParams;

// Shown over the whole screen after a finished game: who won and how, after
// how long (when the game said so), the score and, when it
// earns a place among the seven best, a box for the player's name, which has
// the focus as the dialog opens. Closing it
// in any way (close button, Enter, Escape) enters a qualifying score into the
// table, under "Anonymous" when no name was typed, and saves the table at
// once. A dialog the window drops unanswered (the program is closing) enters
// it as it goes, the same way. When the table cannot be saved the dialog
// stays open and says so, with the folder and the reason, until the next
// Enter, Escape or click on the close button. Tab shows the graph of the
// game over the dialog, and hides it again.
class GameOverDialog : public Dialog {
public:
    static constexpr int kNameLength = 15;
    // The name's text size, and the gap between the box's edge and the name.
    static constexpr float kNameSize = 35;
    static constexpr float kNameInset = 12;

    GameOverDialog(GameContext& context, int score);
    ~GameOverDialog() override;

    // Enters `score` under `name` ("Anonymous" when empty) when it earns a
    // place in the table, and saves the table. False only when a new entry
    // could not be saved.
    static bool enterScore(GameParams& params, const std::string& name, int score,
                           std::string* why = nullptr);

    // The course of the game just played, shown on Tab.
    void setGraph(GraphData graph) { graph_ = std::move(graph); }
    // How the game ended, said in one line between the title and the score.
    void setResult(GameResult result) { result_ = result; }
    // That line, e.g. "You lost: you resigned after 4:32"; empty while no
    // result was set.
    std::string resultLine() const;
    bool graphShown() const { return graphShown_; }

    void draw() override;
    void onKeyDown(int virtualKey) override;
    void onWidgetEvent(Widget* widget) override;

    int score() const { return score_; }
    bool qualifies() const { return qualifies_; }
    const std::string& name() const { return name_; }
    // The folder and the reason when the new entry could not be saved.
    const std::string& unsavedFolder() const { return unsavedFolder_; }
    const std::string& unsavedReason() const { return unsavedReason_; }
    Button& closeButton() { return *closeButton_; }
    EditBox& nameBox() { return *nameBox_; }

private:
    GameContext& context_;
    void finish();
    void enterOnce();
    void drawUnsaved(const BitmapFont& font) const;
    void drawResult(const BitmapFont& font) const;

    std::unique_ptr<Button> closeButton_;
    std::unique_ptr<EditBox> nameBox_;
    int score_;
    bool qualifies_ = false;
    std::string name_;
    std::string unsavedFolder_;
    std::string unsavedReason_;
    GraphData graph_;
    std::optional<GameResult> result_;
    bool graphShown_ = false;
    // Enter and a click on the close button can both arrive before the tick
    // that removes the dialog; the score enters the table only once.
    bool finished_ = false;
};

}  // namespace brv
