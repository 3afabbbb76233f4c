#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/window/GameContext.h"
#include "audio/SoundSet.h"
#include "gfx/ResourceSet.h"

namespace brv {

class GameParams;
class GlWindow;
class MainScreen;
class Platform;
class PlayScreens;

// The program's life in its fixed order. start(): window settings and score
// table, the window centred on the desktop, the intro drawn while the art and
// the sound effects load, the main menu as the only screen, a leftover saved
// game discarded. run(): the message loop. stop(): every view (the menu, its
// dialogs and games) deleted, settings and score table written, the art
// released while its context still exists, the sound output closed, the
// window destroyed. The program owns the art, the sound effects and the
// window, and hands every view one context over them and the parameters.
class Program {
public:
    static constexpr const char* kTitle = "Brevora";
    // In the save folder, beside the settings.
    static constexpr const char* kSavedGameFile = "save.sav";
    static constexpr const char* kSavedGameKey = "kw#81p";
    static constexpr const char* kIconPath = "mui/icon.tga";
    static constexpr const char* kHelpPath = "mui/help.txt";

    Program(Platform& platform, GameParams& params, PlayScreens& screens);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // False when the window could not be created; nothing is left open then.
    // The generator is seeded as the intro is built (startSeed).
    bool start();
    // The exit code the message loop ended with.
    int run();
    // Safe to call twice; does nothing before a successful start.
    void stop();

    GlWindow* window() const { return window_.get(); }
    // The window in it is null before start() and after stop().
    GameContext& context() { return context_; }
    MainScreen* mainScreen() const { return mainScreen_; }

private:
    void setIcon();
    void showIntroWhileLoading();
    void reportDamagedData() const;

    Platform& platform_;
    GameParams& params_;
    PlayScreens& screens_;
    ResourceSet art_;
    SoundSet sounds_;
    GameContext context_;
    std::unique_ptr<GlWindow> window_;
    // Owned by the window's screen stack.
    MainScreen* mainScreen_ = nullptr;
};

// Reads a leftover saved game as its scrambled file and deletes it, whatever
// it holds: games are never restored. True when a file was there and removed.
bool discardSavedGame(const std::string& path);

}  // namespace brv
