#include "app/MenuDialogs.h"

#include <string>
#include <utility>
#include <vector>

#include "app/window/GameContext.h"
#include "app/window/GlWindow.h"
#include "config/GameParams.h"
#include "ui/GameOverDialog.h"
#include "ui/HelpDialog.h"
#include "ui/Layout.h"
#include "ui/NewGameDialog.h"
#include "ui/QuestionDialog.h"
#include "ui/QuitDialog.h"
#include "ui/Top7Dialog.h"

namespace brv {

namespace {

// A dialog's box as the layout file gives it: m_<key>_x, _y, _width, _height.
void placeByLayout(Dialog& dialog, const KeyValueFile& layout, const std::string& key) {
    const auto read = [&](const char* side) {
        return layoutInt(layout, ("m_" + key + "_" + side).c_str());
    };
    dialog.x = static_cast<float>(read("x"));
    dialog.y = static_cast<float>(read("y"));
    dialog.width = read("width");
    dialog.height = read("height");
}

}  // namespace

MenuDialogs::MenuDialogs(GameContext& context)
    : context_(context),
      newGameWidth_(layoutInt(context.params.m_layout, "m_nd_width")),
      newGameHeight_(layoutInt(context.params.m_layout, "m_nd_height")) {}

template <class D>
void MenuDialogs::open(D*& slot, std::unique_ptr<D> dialog, bool shade, bool frame) {
    GlWindow* window = context_.window;
    if (window == nullptr || slot != nullptr) {
        return;
    }
    const GameParams& params = context_.params;
    dialog->setLogicalSize(params.m_screen_width, params.m_screen_height);
    dialog->shadeVisible = shade;
    dialog->frameVisible = frame;
    slot = dialog.get();
    window->pushDialog(std::move(dialog));
}

// The opening calls check first, so that a dialog still open is never built
// a second time.
void MenuDialogs::openNewGame() {
    if (newGame_ != nullptr) {
        return;
    }
    const GameParams& params = context_.params;
    auto dialog = std::make_unique<NewGameDialog>(context_);
    dialog->x = static_cast<float>((params.m_screen_width - newGameWidth_) / 2);
    dialog->y = static_cast<float>((params.m_screen_height - newGameHeight_) / 2);
    dialog->width = newGameWidth_;
    dialog->height = newGameHeight_;
    open(newGame_, std::move(dialog), false, true);
}

// An abandoned game enters no score; the question says what is lost.
void MenuDialogs::openAbandon(int kills) {
    if (abandon_ != nullptr) {
        return;
    }
    std::vector<std::string> lines = {"Abandon this game?", "No kills to lose yet."};
    if (kills > 0) {
        lines = {"Abandon this game?",
                 "Your " + std::to_string(kills) + (kills == 1 ? " kill" : " kills"),
                 "will not count."};
    }
    open(abandon_, QuestionDialog::inQuitBox(context_, std::move(lines)), false, true);
}

void MenuDialogs::openQuit() {
    if (quit_ != nullptr) {
        return;
    }
    auto dialog = std::make_unique<QuitDialog>(context_);
    placeByLayout(*dialog, context_.params.m_layout, "qd");
    open(quit_, std::move(dialog), false, true);
}

void MenuDialogs::openHelp() {
    if (help_ != nullptr) {
        return;
    }
    auto dialog = std::make_unique<HelpDialog>(context_);
    placeByLayout(*dialog, context_.params.m_layout, "hd");
    open(help_, std::move(dialog), false, true);
}

// The table covers the whole screen; its box keeps the default place.
void MenuDialogs::openTop7() {
    if (top7_ != nullptr) {
        return;
    }
    open(top7_, std::make_unique<Top7Dialog>(context_), true, false);
}

void MenuDialogs::openGameOver(std::unique_ptr<GameOverDialog> dialog) {
    open(gameOver_, std::move(dialog), true, false);
}

MenuDialogs::Kind MenuDialogs::kindOf(const View* closed) const {
    if (closed == nullptr) {
        return Kind::None;
    }
    const std::pair<const View*, Kind> open[] = {
        {newGame_, Kind::NewGame}, {abandon_, Kind::Abandon},   {quit_, Kind::Quit},
        {help_, Kind::Help},       {gameOver_, Kind::GameOver}, {top7_, Kind::Top7}};
    for (const auto& [dialog, kind] : open) {
        if (closed == dialog) {
            return kind;
        }
    }
    return Kind::None;
}

void MenuDialogs::forget(Kind kind) {
    switch (kind) {
        case Kind::NewGame:
            newGame_ = nullptr;
            break;
        case Kind::Abandon:
            abandon_ = nullptr;
            break;
        case Kind::Quit:
            quit_ = nullptr;
            break;
        case Kind::Help:
            help_ = nullptr;
            break;
        case Kind::GameOver:
            gameOver_ = nullptr;
            break;
        case Kind::Top7:
            top7_ = nullptr;
            break;
        case Kind::None:
            break;
    }
}

void MenuDialogs::forgetAll() {
    newGame_ = nullptr;
    quit_ = nullptr;
    abandon_ = nullptr;
    help_ = nullptr;
    gameOver_ = nullptr;
    top7_ = nullptr;
}

}  // namespace brv
