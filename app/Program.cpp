#include "app/Program.h"

#include <cstdio>
#include <cstring>

#include "app/IntroScreen.h"
#include "app/MainScreen.h"
#include "app/PlayScreens.h"
#include "app/window/GlWindow.h"
#include "app/window/WindowProcedure.h"
#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "config/KeyValueFile.h"
#include "config/WindowSettings.h"
#include "gfx/Image.h"
#include "gfx/ResourceSet.h"
#include "gfx/TgaDecoder.h"
#include "platform/FileIo.h"
#include "platform/Platform.h"

namespace brv {

Program::Program(Platform& platform, GameParams& params, PlayScreens& screens)
    : platform_(platform),
      params_(params),
      screens_(screens),
      art_(&params.m_archive),
      context_{params, art_, sounds_, nullptr} {}

Program::~Program() {
    stop();
}

bool Program::start() {
    const bool settingsRead = WindowSettings::load(params_);
    params_.m_preferences.load(params_.m_save_folder);
    window_ = std::make_unique<GlWindow>(platform_);
    window_->setLogicalSize(params_.m_screen_width, params_.m_screen_height);
    window_->useForScreenshots(params_.m_save_folder, art_.font);
    context_.window = window_.get();
    const ScreenPoint usable = platform_.usableDesktopSize();
    WindowSettings::fitOnDesktop(
        params_, usable.x, usable.y,
        settingsRead ? params_.m_save_folder.readPath(WindowSettings::kFileName) : "");
    const ScreenPoint desktop = platform_.desktopSize();
    WindowSettings::keepCentreOnDesktop(params_, desktop.x, desktop.y);
    setIcon();
    if (!window_->create(kTitle, params_.m_window_x, params_.m_window_y, params_.m_window_width,
                         params_.m_window_height)) {
        window_->destroy();
        context_.window = nullptr;
        window_.reset();
        return false;
    }
    showIntroWhileLoading();
    discardSavedGame(params_.m_save_folder.writePath(kSavedGameFile));
    return true;
}

void Program::setIcon() {
    DataBlob file = params_.m_archive.readEntry(kIconPath);
    Image icon;
    if (!decodeTga(file.bytes(), file.size, icon) || icon.components != 4) {
        return;
    }
    // The window wants rows from the top; the picture is stored bottom-up.
    const std::size_t row = static_cast<std::size_t>(icon.width) * 4;
    std::vector<std::uint8_t> rgba(icon.pixels.size());
    for (int y = 0; y < icon.height; ++y) {
        std::memcpy(rgba.data() + row * y, icon.pixels.data() + row * (icon.height - 1 - y), row);
    }
    platform_.setWindowIcon(icon.width, icon.height, rgba);
}

// The intro stays on screen through the long art load; ticks posted meanwhile
// wait in the queue and reach the menu once the loop runs.
void Program::showIntroWhileLoading() {
    screens_.seed(startSeed(platform_.milliseconds()));
    auto intro = std::make_unique<IntroScreen>(context_);
    View* introView = intro.get();
    window_->pushScreen(std::move(intro));
    window_->drawAll();
    platform_.swapBuffers();
    art_.loadAll();
    sounds_.loadAll(params_.m_archive, platform_);
    sounds_.applyPreferences(params_.m_preferences);
    reportDamagedData();
    auto menu = std::make_unique<MainScreen>(context_, screens_);
    mainScreen_ = menu.get();
    window_->pushScreen(std::move(menu));
    // The intro's picture goes while its context is current.
    window_->removeScreen(introView);
}

// The game plays on with what it has (a missing picture draws nothing, a
// missing sound is silent), but every damaged piece of its data is named
// once, so a broken install is found without guessing.
void Program::reportDamagedData() const {
    if (!params_.m_archive.damage().empty()) {
        std::fprintf(stderr, "brevora: the archive %s is damaged: %s\n",
                     params_.m_archive.archivePath().c_str(), params_.m_archive.damage().c_str());
    }
    for (const std::string& problem : params_.dataDamage()) {
        std::fprintf(stderr, "brevora: %s\n", problem.c_str());
    }
    for (const std::string& problem : art_.problems()) {
        std::fprintf(stderr, "brevora: %s\n", problem.c_str());
    }
    for (const std::string& problem : sounds_.problems()) {
        std::fprintf(stderr, "brevora: %s\n", problem.c_str());
    }
    if (params_.m_archive.readEntry(kHelpPath).empty()) {
        std::fprintf(stderr, "brevora: %s: missing or empty, so the help shows no text\n",
                     kHelpPath);
    }
}

int Program::run() {
    return window_ != nullptr ? runMessageLoop(*window_) : 1;
}

void Program::stop() {
    if (window_ == nullptr) {
        return;
    }
    // No score is lost to the way the program ended: a finished game or an
    // unanswered game-over dialog enters its score before the table is saved.
    if (mainScreen_ != nullptr) {
        mainScreen_->onProgramEnd();
    }
    window_->clearViews();
    mainScreen_ = nullptr;
    // A game ended in full screen opens in its window next time.
    const WindowRect rect = window_->windowedRect();
    WindowSettings::save(params_, rect.left, rect.top);
    params_.m_preferences.save(params_.m_save_folder);
    platform_.showWindow(false);
    // Textures go while their context still exists.
    art_.releaseAll();
    sounds_.release();
    window_->destroy();
    context_.window = nullptr;
    window_.reset();
}

bool discardSavedGame(const std::string& path) {
    // Only a regular file that can be read is read and deleted; anything else
    // in its place (a FIFO, a folder) is left alone and never waited on.
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        return false;
    }
    KeyValueFile saved;
    saved.loadFromMemory(bytes->data(), bytes->size(), true, Program::kSavedGameKey,
                         std::strlen(Program::kSavedGameKey));
    return std::remove(path.c_str()) == 0;
}

}  // namespace brv
