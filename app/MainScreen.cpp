#include "app/MainScreen.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/PlayScreens.h"
#include "app/window/GlWindow.h"
#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/MuteMark.h"
#include "gfx/ResourceSet.h"
#include "platform/Clock.h"
#include "platform/LaunchHooks.h"
#include "records/ReplayFiles.h"
#include "sim/Replay.h"
#include "ui/Button.h"
#include "ui/GameOverDialog.h"
#include "ui/HelpDialog.h"
#include "ui/Layout.h"
#include "ui/NewGameDialog.h"
#include "ui/QuestionDialog.h"
#include "ui/QuitDialog.h"
#include "ui/Top7Dialog.h"

namespace brv {

namespace {

// Where each button of the menu stands and what it shows, in creation order
// (also the order the buttons receive input and are drawn).
struct ButtonPlace {
    const char* keyX;
    const char* keyY;
    TgaTexture ResourceSet::*image;
};

constexpr ButtonPlace kButtonPlaces[] = {
    {"m_single_game_btnx", "m_single_game_btny", &ResourceSet::singleGameButton},
    {"m_continue_single_game_btnx", "m_continue_single_game_btny", &ResourceSet::continueButton},
    {"m_quit_game_btnx", "m_quit_game_btny", &ResourceSet::quitGameButton},
    {"m_help_btnx", "m_help_btny", &ResourceSet::helpButton},
    {"m_mm_top7_btnx", "m_mm_top7_btny", &ResourceSet::top7Button},
    {"m_mm_fullscreen_btnx", "m_mm_fullscreen_btny", &ResourceSet::fullScreenButton},
    {"m_min_sml_btnx", "m_min_sml_btny", &ResourceSet::minimizeButton},
    {"m_help_sml_btnx", "m_help_sml_btny", &ResourceSet::smallHelpButton},
    {"m_quit_sml_btnx", "m_quit_sml_btny", &ResourceSet::smallQuitButton},
};
static_assert(std::size(kButtonPlaces) == static_cast<std::size_t>(MainScreen::Control::Count));

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

MainScreen::MainScreen(GameContext& context, PlayScreens& screens)
    : context_(context), screens_(screens) {
    draggable = true;
    createButtons();
    // Shown only while a game is kept; draw() keeps it up to date.
    button(Control::Continue).visible = false;
    newGameWidth_ = layoutInt(context_.params.m_layout, "m_nd_width");
    newGameHeight_ = layoutInt(context_.params.m_layout, "m_nd_height");
    resetIdle();
}

MainScreen::~MainScreen() = default;

void MainScreen::createButtons() {
    ResourceSet& art = context_.art;
    const KeyValueFile& layout = context_.params.m_layout;
    for (int i = 0; i < static_cast<int>(Control::Count); ++i) {
        const ButtonPlace& place = kButtonPlaces[i];
        buttons_[i] = std::make_unique<Button>(this, &(art.*place.image), &context_.sounds);
        buttons_[i]->setPosition(static_cast<float>(layoutInt(layout, place.keyX)),
                                 static_cast<float>(layoutInt(layout, place.keyY)));
        addWidget(buttons_[i].get());
    }
}

void MainScreen::activate() {
    GlWindow* window = context_.window;
    draggable = window == nullptr || !window->fullScreen();
    View::activate();
    if (keptGame_ != nullptr) {
        takeBackGame();
    }
}

void MainScreen::onScreenClosed(std::unique_ptr<View> screen) {
    if (screen != nullptr && screen.get() == game_) {
        keptGame_ = std::move(screen);
    } else if (screen != nullptr && screen.get() == replay_) {
        replay_ = nullptr;
        idleMs_ = 0;
        if (screen->result == kResultQuit) {
            onCloseRequest();
        }
    }
}

// The game or demonstration has left the screen stack and the menu is on top
// again: a finished game becomes the game-over dialog, a game that asks for
// the program to end ends it, an interrupted game is kept for Continue.
void MainScreen::takeBackGame() {
    if (demoRunning_) {
        const bool quit = keptGame_->result == kResultQuit;
        keptGame_.reset();
        game_ = nullptr;
        if (quit) {
            onCloseRequest();
        }
        resetIdle();
        return;
    }
    if (screens_.isOver(*keptGame_)) {
        auto gameOver = std::make_unique<GameOverDialog>(context_, screens_.score(*keptGame_));
        gameOver->setGraph(screens_.graph(*keptGame_));
        gameOver->setResult(screens_.result(*keptGame_));
        keptGame_.reset();
        game_ = nullptr;
        openDialog(gameOverDialog_, std::move(gameOver), true, false);
    } else if (keptGame_->result == kResultQuit) {
        onCloseRequest();
    }
}

void MainScreen::onTick(int elapsedMs) {
    if (noticeMs_ > 0) {
        noticeMs_ -= elapsedMs;
    }
    checkDemo();
    View::onTick(elapsedMs);
}

void MainScreen::checkDemo() {
    // A kept game blocks the demonstration.
    if (demoRunning_ || game_ != nullptr) {
        return;
    }
    // One tick's worth of menu time per tick, whatever the tick's length.
    idleMs_ += kTickMs;
    if (idleMs_ <= context_.params.m_time_before_demo) {
        return;
    }
    idleMs_ = 0;
    GlWindow* window = context_.window;
    std::unique_ptr<View> demo = screens_.newDemo(context_, difficulty_);
    if (demo == nullptr || window == nullptr) {
        return;
    }
    demoRunning_ = true;
    game_ = demo.get();
    window->pushScreen(std::move(demo));
}

void MainScreen::resetIdle() {
    idleMs_ = 0;
    demoRunning_ = false;
}

void MainScreen::draw() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBackground();
    View::draw();
    const BitmapFont& font = context_.art.font;
    font.drawText(kCaption, 32, 62, {.size = 50, .colour = {0, 0, 0}, .depth = -10});
    font.drawText(kCaption, 30, 60, {.size = 50, .colour = {1, 1, 0}, .depth = -10});
    font.drawText(kVersion, 602, 472, {.size = 30, .colour = {0, 0, 0}, .depth = -10});
    drawSaveProblem();
    drawNotice();
    drawMuteMark(font, context_.params);
    // Set after the buttons were drawn: a change shows from the next frame.
    button(Control::Continue).visible = game_ != nullptr;
    glPopMatrix();
    noteFirstFrame();
}

// For the start-up figure: when BREVORA_LAUNCHED_AT holds the wall-clock
// time the program was launched (nanoseconds since 1970), the first menu
// frame says how long after that it was drawn.
void MainScreen::noteFirstFrame() {
    if (firstFrameNoted_) {
        return;
    }
    firstFrameNoted_ = true;
    const std::optional<long long> at = readLaunchHooks().launchedAtNs;
    if (!at) {
        return;
    }
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    std::fprintf(stderr, "brevora: first menu frame %.1f ms after launch\n",
                 static_cast<double>(now - *at) / 1e6);
}

void MainScreen::drawBackground() const {
    const GameParams& params = context_.params;
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    ResourceSet& art = context_.art;
    art.backdrop.draw(art.mainBackground, w, h);
}

void MainScreen::drawSaveProblem() const {
    if (context_.params.m_save_folder.problem().empty()) {
        return;
    }
    const BitmapFont& font = context_.art.font;
    font.drawText(kCannotSave, 11, 591, {.size = 20, .colour = {0, 0, 0}, .depth = -10});
    font.drawText(kCannotSave, 10, 590, {.size = 20, .colour = {1, 0.6f, 0.2f}, .depth = -10});
}

void MainScreen::drawNotice() const {
    if (noticeMs_ <= 0) {
        return;
    }
    const BitmapFont& font = context_.art.font;
    font.drawText(notice_.c_str(), 11, 566, {.size = 18, .colour = {0, 0, 0}, .depth = -10});
    font.drawText(notice_.c_str(), 10, 565, {.size = 18, .colour = {1, 1, 1}, .depth = -10});
}

void MainScreen::showNotice(std::string text) {
    std::fprintf(stderr, "brevora: %s\n", text.c_str());
    // The menu's lettering is wide: a long reason is cut to fit the window.
    constexpr std::size_t kLongest = 70;
    if (text.size() > kLongest) {
        text = text.substr(0, kLongest - 3) + "...";
    }
    notice_ = std::move(text);
    noticeMs_ = kNoticeMs;
}

void MainScreen::playLastReplay() {
    GameParams& params = context_.params;
    const std::string path = ReplayFiles::newestIn(params.m_save_folder);
    if (path.empty()) {
        showNotice("No game has been recorded yet");
        return;
    }
    std::string why;
    const std::optional<Replay> replay = ReplayFiles::readPlayable(path, params, why);
    if (!replay) {
        showNotice("The last replay cannot be played: " + why);
        return;
    }
    watchReplay(screens_.newReplay(context_, *replay));
}

void MainScreen::watchReplay(std::unique_ptr<View> replay) {
    GlWindow* window = context_.window;
    if (replay == nullptr || window == nullptr || replay_ != nullptr) {
        return;
    }
    idleMs_ = 0;
    replay_ = replay.get();
    window->pushScreen(std::move(replay));
}

void MainScreen::onKeyDown(int virtualKey) {
    GameParams& params = context_.params;
    if (virtualKey == 'M') {
        context_.sounds.toggleMuted(params.m_preferences, params.m_save_folder);
    }
    if (virtualKey == 'R') {
        playLastReplay();
    }
    if (virtualKey == params.m_key_cancel) {
        // Escape is the quit button, idle reset included.
        onWidgetEvent(&button(Control::Quit));
    }
    if (virtualKey == params.m_key_confirm) {
        if (GlWindow* window = context_.window; window != nullptr) {
            if (window->fullScreen()) {
                leaveFullScreen();
            }
            window->minimize();
        }
    }
    View::onKeyDown(virtualKey);
}

void MainScreen::onWidgetEvent(Widget* widget) {
    View::onWidgetEvent(widget);
    idleMs_ = 0;
    GlWindow* window = context_.window;
    if (widget == &button(Control::NewGame)) {
        if (keptGame_ != nullptr) {
            openAbandonDialog();
        } else {
            openNewGameDialog();
        }
    } else if (widget == &button(Control::Continue)) {
        if (keptGame_ != nullptr && window != nullptr) {
            window->pushScreen(std::move(keptGame_));
        }
    } else if (widget == &button(Control::Minimize)) {
        if (window != nullptr) {
            window->minimize();
        }
    } else if (widget == &button(Control::Quit) || widget == &button(Control::SmallQuit)) {
        openQuitDialog();
    } else if (widget == &button(Control::Help) || widget == &button(Control::SmallHelp)) {
        openHelpDialog();
    } else if (widget == &button(Control::Top7)) {
        openTop7Dialog();
    } else if (widget == &button(Control::FullScreen)) {
        if (window != nullptr && !window->fullScreen()) {
            enterFullScreen();
        } else {
            leaveFullScreen();
        }
    }
}

template <class D>
void MainScreen::openDialog(D*& slot, std::unique_ptr<D> dialog, bool shade, bool frame) {
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

// The opening buttons check first, so that a dialog still open is never built
// a second time.
void MainScreen::openNewGameDialog() {
    if (newGameDialog_ != nullptr) {
        return;
    }
    const GameParams& params = context_.params;
    auto dialog = std::make_unique<NewGameDialog>(context_);
    dialog->x = static_cast<float>((params.m_screen_width - newGameWidth_) / 2);
    dialog->y = static_cast<float>((params.m_screen_height - newGameHeight_) / 2);
    dialog->width = newGameWidth_;
    dialog->height = newGameHeight_;
    openDialog(newGameDialog_, std::move(dialog), false, true);
}

// A kept game is thrown away only when the player says so, told what goes
// with it: an abandoned game enters no score. The new-game dialog follows the
// yes.
void MainScreen::openAbandonDialog() {
    if (abandonDialog_ != nullptr || keptGame_ == nullptr) {
        return;
    }
    const int kills = screens_.kills(*keptGame_);
    std::vector<std::string> lines = {"Abandon this game?", "No kills to lose yet."};
    if (kills > 0) {
        lines = {"Abandon this game?",
                 "Your " + std::to_string(kills) + (kills == 1 ? " kill" : " kills"),
                 "will not count."};
    }
    openDialog(abandonDialog_, QuestionDialog::inQuitBox(context_, std::move(lines)), false, true);
}

void MainScreen::openQuitDialog() {
    if (quitDialog_ != nullptr) {
        return;
    }
    auto dialog = std::make_unique<QuitDialog>(context_);
    placeByLayout(*dialog, context_.params.m_layout, "qd");
    openDialog(quitDialog_, std::move(dialog), false, true);
}

void MainScreen::openHelpDialog() {
    if (helpDialog_ != nullptr) {
        return;
    }
    auto dialog = std::make_unique<HelpDialog>(context_);
    placeByLayout(*dialog, context_.params.m_layout, "hd");
    openDialog(helpDialog_, std::move(dialog), false, true);
}

// The table covers the whole screen; its box keeps the default place.
void MainScreen::openTop7Dialog() {
    if (top7Dialog_ != nullptr) {
        return;
    }
    openDialog(top7Dialog_, std::make_unique<Top7Dialog>(context_), true, false);
}

void MainScreen::onDialogClosed(int result, std::unique_ptr<View> dialog) {
    View* closed = dialog.get();
    if (closed == nullptr) {
        return;
    }
    if (closed == newGameDialog_) {
        if (result == kResultConfirmed) {
            startNewGame(*newGameDialog_);
        }
        newGameDialog_ = nullptr;
    } else if (closed == abandonDialog_) {
        abandonDialog_ = nullptr;
        if (result == kResultConfirmed) {
            openNewGameDialog();
        }
    } else if (closed == quitDialog_) {
        quitDialog_ = nullptr;
        if (result == kResultConfirmed) {
            postClose();
        }
    } else if (closed == helpDialog_) {
        helpDialog_ = nullptr;
    } else if (closed == gameOverDialog_) {
        gameOverDialog_ = nullptr;
    } else if (closed == top7Dialog_) {
        top7Dialog_ = nullptr;
    }
}

// The chosen difficulty is the game's and, from now on, the demonstration's.
void MainScreen::startNewGame(const NewGameDialog& choice) {
    keptGame_.reset();
    GameParams& params = context_.params;
    const int difficulty = std::max(choice.difficultyGroup().checkedIndex(), 0);
    const int colonyChoice = std::max(choice.colonyGroup().checkedIndex(), 0);
    difficulty_ = difficulty;
    keptGame_ = screens_.newGame(context_, colonyChoice + 2, difficulty);
    game_ = keptGame_.get();
    params.m_last_difficult = difficulty;
    params.m_last_players_count = colonyChoice;
    GlWindow* window = context_.window;
    if (keptGame_ != nullptr && window != nullptr) {
        window->pushScreen(std::move(keptGame_));
    }
}

void MainScreen::onProgramEnd() {
    if (game_ == nullptr || demoRunning_ || !screens_.isOver(*game_)) {
        return;
    }
    // A game takes its final score as it is asked to close.
    game_->onCloseRequest();
    GameOverDialog::enterScore(context_.params, ScoreTable::kAnonymous, screens_.score(*game_));
    game_ = nullptr;
}

void MainScreen::onCloseRequest() {
    closeAllDialogs();
    postClose();
}

void MainScreen::postClose() const {
    if (GlWindow* window = context_.window; window != nullptr) {
        Message close;
        close.kind = MessageKind::Close;
        window->platform().post(close);
    }
}

// The window has dropped every dialog unanswered (a close request); the menu
// forgets them and the game it kept.
void MainScreen::closeAllDialogs() {
    keptGame_.reset();
    game_ = nullptr;
    newGameDialog_ = nullptr;
    quitDialog_ = nullptr;
    abandonDialog_ = nullptr;
    helpDialog_ = nullptr;
    gameOverDialog_ = nullptr;
    top7Dialog_ = nullptr;
}

void MainScreen::enterFullScreen() {
    GlWindow* window = context_.window;
    if (window == nullptr || !window->enterFullScreen()) {
        return;
    }
    draggable = false;
}

void MainScreen::leaveFullScreen() {
    GlWindow* window = context_.window;
    if (window == nullptr) {
        return;
    }
    if (window->leaveFullScreen()) {
        draggable = true;
    }
}

}  // namespace brv
