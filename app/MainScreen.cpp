#include "app/MainScreen.h"

#include <GL/gl.h>

#include "app/PlayScreens.h"
#include "app/window/GlWindow.h"
#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "gfx/StretchedPicture.h"
#include "ui/Button.h"
#include "ui/GameOverDialog.h"
#include "ui/HelpDialog.h"
#include "ui/Layout.h"
#include "ui/NewGameDialog.h"
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

// The demonstration waits for this much menu time per tick, whatever the
// tick's length.
constexpr int kIdleStepMs = 30;

}  // namespace

MainScreen::MainScreen(PlayScreens& screens) : screens_(screens) {
    draggable = true;
    createButtons();
    // Shown only while a game is kept; draw() keeps it up to date.
    button(Control::Continue).visible = false;
    newGameWidth_ = layoutInt("m_nd_width");
    newGameHeight_ = layoutInt("m_nd_height");
    resetIdle();
}

MainScreen::~MainScreen() {
    closeAllDialogs();
}

void MainScreen::createButtons() {
    ResourceSet& art = resourceSet();
    for (int i = 0; i < static_cast<int>(Control::Count); ++i) {
        const ButtonPlace& place = kButtonPlaces[i];
        buttons_[i] = std::make_unique<Button>(this, &(art.*place.image));
        buttons_[i]->setPosition(static_cast<float>(layoutInt(place.keyX)),
                                 static_cast<float>(layoutInt(place.keyY)));
        addWidget(buttons_[i].get());
    }
}

void MainScreen::setProjection(int logicalW, int logicalH, int viewportW, int viewportH) {
    glClearColor(1, 1, 1, 1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    logicalWidth_ = logicalW;
    logicalHeight_ = logicalH;
    glViewport(0, 0, viewportW, viewportH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, logicalW, logicalH, 0, -50, 50);
    glMatrixMode(GL_MODELVIEW);
}

void MainScreen::activate() {
    const GameParams& params = gameParams();
    GlWindow* window = glWindow();
    setProjection(params.m_screen_width, params.m_screen_height,
                  window != nullptr ? window->width() : params.m_screen_width,
                  window != nullptr ? window->height() : params.m_screen_height);
    draggable = window == nullptr || !window->fullScreen();
    View::activate();
    if (game_ != nullptr) {
        takeBackGame();
    }
}

// The game or demonstration has left the screen stack and the menu is on top
// again: a finished game becomes the game-over dialog, a game that asks for
// the program to end ends it, an interrupted game is kept for Continue.
void MainScreen::takeBackGame() {
    if (demoRunning_) {
        if (game_->result == kResultQuit) {
            onCloseRequest();
        }
        game_.reset();
        resetIdle();
        return;
    }
    if (screens_.isOver(*game_)) {
        gameOverDialog_ = std::make_unique<GameOverDialog>(screens_.score(*game_));
        game_.reset();
        placeDialog(*gameOverDialog_, true, false);
        if (GlWindow* window = glWindow(); window != nullptr) {
            window->pushDialog(gameOverDialog_.get());
        }
    } else if (game_->result == kResultQuit) {
        onCloseRequest();
    }
}

void MainScreen::onTick(int elapsedMs) {
    checkDemo();
    View::onTick(elapsedMs);
}

void MainScreen::checkDemo() {
    // A kept game blocks the demonstration.
    if (demoRunning_ || game_ != nullptr) {
        return;
    }
    idleMs_ += kIdleStepMs;
    if (idleMs_ <= gameParams().m_time_before_demo) {
        return;
    }
    idleMs_ = 0;
    game_ = screens_.newDemo();
    GlWindow* window = glWindow();
    if (game_ == nullptr || window == nullptr) {
        game_.reset();
        return;
    }
    demoRunning_ = true;
    window->pushScreen(game_.get());
}

void MainScreen::resetIdle() {
    idleMs_ = 0;
    demoRunning_ = false;
}

void MainScreen::draw() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBackground();
    View::draw();
    const BitmapFont& font = resourceSet().font;
    font.drawText(kCaption, 50, 32, 62, -10, 0, 0, 0, 1);
    font.drawText(kCaption, 50, 30, 60, -10, 1, 1, 0, 1);
    font.drawText(kVersion, 30, 602, 472, -10, 0, 0, 0, 1);
    // Set after the buttons were drawn: a change shows from the next frame.
    button(Control::Continue).visible = game_ != nullptr;
    glPopMatrix();
}

void MainScreen::drawBackground() const {
    const GameParams& params = gameParams();
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    drawStretchedPicture(resourceSet().mainBackground, w, h);
}

void MainScreen::onMouseMove(int x, int y, int flags) {
    const GlWindow* window = glWindow();
    View::onMouseMove(toLogical(x, window != nullptr ? window->width() : 0, logicalWidth_),
                      toLogical(y, window != nullptr ? window->height() : 0, logicalHeight_),
                      flags);
}

void MainScreen::onLButtonUp(int x, int y, int flags) {
    const GlWindow* window = glWindow();
    View::onLButtonUp(toLogical(x, window != nullptr ? window->width() : 0, logicalWidth_),
                      toLogical(y, window != nullptr ? window->height() : 0, logicalHeight_),
                      flags);
}

void MainScreen::onLButtonDown(int x, int y, int flags) {
    const GlWindow* window = glWindow();
    View::onLButtonDown(toLogical(x, window != nullptr ? window->width() : 0, logicalWidth_),
                        toLogical(y, window != nullptr ? window->height() : 0, logicalHeight_),
                        flags);
}

void MainScreen::onKeyDown(int virtualKey) {
    const GameParams& params = gameParams();
    if (virtualKey == params.m_key_cancel) {
        // Escape is the quit button, idle reset included.
        onWidgetEvent(&button(Control::Quit));
    }
    if (virtualKey == params.m_key_confirm) {
        if (GlWindow* window = glWindow(); window != nullptr) {
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
    GlWindow* window = glWindow();
    if (widget == &button(Control::NewGame)) {
        openNewGameDialog();
    } else if (widget == &button(Control::Continue)) {
        if (game_ != nullptr && window != nullptr) {
            window->pushScreen(game_.get());
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

void MainScreen::placeDialog(Dialog& dialog, bool shade, bool frame) const {
    dialog.setLogicalSize(logicalWidth_, logicalHeight_);
    dialog.shadeVisible = shade;
    dialog.frameVisible = frame;
}

void MainScreen::openNewGameDialog() {
    GlWindow* window = glWindow();
    if (window == nullptr || newGameDialog_ != nullptr) {
        return;
    }
    newGameDialog_ = std::make_unique<NewGameDialog>();
    placeDialog(*newGameDialog_, false, true);
    newGameDialog_->x = static_cast<float>((logicalWidth_ - newGameWidth_) / 2);
    newGameDialog_->y = static_cast<float>((logicalHeight_ - newGameHeight_) / 2);
    newGameDialog_->width = newGameWidth_;
    newGameDialog_->height = newGameHeight_;
    window->pushDialog(newGameDialog_.get());
}

void MainScreen::openQuitDialog() {
    GlWindow* window = glWindow();
    if (window == nullptr || quitDialog_ != nullptr) {
        return;
    }
    quitDialog_ = std::make_unique<QuitDialog>();
    placeDialog(*quitDialog_, false, true);
    quitDialog_->x = static_cast<float>(layoutInt("m_qd_x"));
    quitDialog_->y = static_cast<float>(layoutInt("m_qd_y"));
    quitDialog_->width = layoutInt("m_qd_width");
    quitDialog_->height = layoutInt("m_qd_height");
    window->pushDialog(quitDialog_.get());
}

void MainScreen::openHelpDialog() {
    GlWindow* window = glWindow();
    if (window == nullptr || helpDialog_ != nullptr) {
        return;
    }
    helpDialog_ = std::make_unique<HelpDialog>();
    placeDialog(*helpDialog_, false, true);
    helpDialog_->x = static_cast<float>(layoutInt("m_hd_x"));
    helpDialog_->y = static_cast<float>(layoutInt("m_hd_y"));
    helpDialog_->width = layoutInt("m_hd_width");
    helpDialog_->height = layoutInt("m_hd_height");
    window->pushDialog(helpDialog_.get());
}

// The table covers the whole screen; its box keeps the default place.
void MainScreen::openTop7Dialog() {
    GlWindow* window = glWindow();
    if (window == nullptr || top7Dialog_ != nullptr) {
        return;
    }
    top7Dialog_ = std::make_unique<Top7Dialog>();
    placeDialog(*top7Dialog_, true, false);
    window->pushDialog(top7Dialog_.get());
}

void MainScreen::onDialogClosed(int result, View* dialog) {
    if (dialog == nullptr) {
        return;
    }
    if (dialog == newGameDialog_.get()) {
        if (result == kResultConfirmed) {
            startNewGame(*newGameDialog_);
        }
        newGameDialog_.reset();
    } else if (dialog == quitDialog_.get()) {
        quitDialog_.reset();
        if (result == kResultConfirmed) {
            postClose();
        }
    } else if (dialog == helpDialog_.get()) {
        helpDialog_.reset();
    } else if (dialog == gameOverDialog_.get()) {
        gameOverDialog_.reset();
    } else if (dialog == top7Dialog_.get()) {
        top7Dialog_.reset();
    }
}

// The difficulty is set before the game is built, because building the world
// reads the per-difficulty rules through it.
void MainScreen::startNewGame(const NewGameDialog& choice) {
    game_.reset();
    GameParams& params = gameParams();
    const int difficulty = std::max(choice.difficultyGroup().checkedIndex(), 0);
    const int colonyChoice = std::max(choice.colonyGroup().checkedIndex(), 0);
    params.m_difficult = difficulty;
    game_ = screens_.newGame(colonyChoice + 2);
    params.m_last_difficult = difficulty;
    params.m_last_players_count = colonyChoice;
    GlWindow* window = glWindow();
    if (game_ != nullptr && window != nullptr) {
        window->pushScreen(game_.get());
    }
}

void MainScreen::onCloseRequest() {
    closeAllDialogs();
    postClose();
}

void MainScreen::postClose() const {
    if (GlWindow* window = glWindow(); window != nullptr) {
        Message close;
        close.kind = MessageKind::Close;
        window->platform().post(close);
    }
}

void MainScreen::closeAllDialogs() {
    game_.reset();
    newGameDialog_.reset();
    quitDialog_.reset();
    helpDialog_.reset();
    gameOverDialog_.reset();
    top7Dialog_.reset();
}

void MainScreen::enterFullScreen() {
    GlWindow* window = glWindow();
    if (window == nullptr || !window->enterFullScreen(logicalWidth_, logicalHeight_)) {
        return;
    }
    draggable = false;
    setProjection(logicalWidth_, logicalHeight_, window->width(), window->height());
}

void MainScreen::leaveFullScreen() {
    GlWindow* window = glWindow();
    if (window == nullptr) {
        return;
    }
    window->leaveFullScreen();
    draggable = true;
    setProjection(logicalWidth_, logicalHeight_, window->width(), window->height());
}

}  // namespace brv
