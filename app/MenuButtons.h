#pragma once

#include <memory>

namespace brv {

class Button;
class View;
struct GameContext;

// The buttons of the main menu, in creation order (also the order they
// receive input and are drawn).
enum class MenuControl {
    NewGame,
    Continue,
    Quit,
    Help,
    Top7,
    FullScreen,
    Minimize,
    SmallHelp,
    SmallQuit,
    Count
};

// The main menu's buttons, each with its picture of the art and its place
// from the layout file. The menu adds them to itself as its widgets.
class MenuButtons {
public:
    MenuButtons(View& owner, GameContext& context);
    ~MenuButtons();
    MenuButtons(const MenuButtons&) = delete;
    MenuButtons& operator=(const MenuButtons&) = delete;

    Button& button(MenuControl which) const { return *buttons_[static_cast<int>(which)]; }

private:
    std::unique_ptr<Button> buttons_[static_cast<int>(MenuControl::Count)];
};

}  // namespace brv
