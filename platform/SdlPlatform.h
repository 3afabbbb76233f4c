#pragma once

#include <memory>

#include "platform/Platform.h"

namespace brv {

// The platform on a real desktop, through SDL2. The video part starts with the
// first window or desktop query, so the message queue and the timer also work
// where there is no display.
class SdlPlatform : public Platform {
public:
    // The message loop's exit code when SDL's event queue itself failed.
    static constexpr int kQueueFailedExitCode = 1;

    SdlPlatform();
    ~SdlPlatform() override;

    // False when SDL itself could not start; error() says why, as it does
    // after a window could not be made or the message loop failed.
    bool ok() const;
    const std::string& error() const;
    // Whether windows go to a display someone sees: false when the video layer
    // cannot start, or starts only on a driver that draws nowhere (the
    // offscreen and dummy drivers), as it does when the display named in the
    // environment cannot be reached. A driver chosen on purpose with
    // SDL_VIDEODRIVER counts as seen.
    bool displayReachable();

    void post(const Message& message) override;
    // Also false, with kQueueFailedExitCode, when SDL's event queue fails.
    bool getMessage(Message& out) override;
    // The next message without waiting; false when none is queued. A Quit
    // message is returned like any other.
    bool takeMessage(Message& out);

    void startTimer(int periodMs) override;
    void stopTimer() override;

    bool createWindow(const std::string& title, int x, int y, int width, int height) override;
    void destroyWindow() override;
    bool hasWindow() const override;
    void showWindow(bool visible) override;
    void minimizeWindow() override;
    WindowRect windowRect() const override;
    void moveWindow(int x, int y, int width, int height) override;
    void swapBuffers() override;
    ScreenPoint drawableSize() const override;
    void setWindowIcon(int width, int height, const std::vector<std::uint8_t>& rgba) override;

    ScreenPoint desktopSize() const override;
    ScreenPoint usableDesktopSize() const override;
    bool setFullScreen(bool fullScreen) override;
    std::vector<DisplayMode> displayModes() const override;

    // Held as of the last message taken, not as the keyboard is by now.
    bool isKeyHeld(int virtualKey) const override;
    ScreenPoint cursorPosition() const override;
    std::uint32_t milliseconds() const override;

    // Mono 16-bit output at kAudioRate; SDL converts for the device. Without a
    // device (no sound server or card, or a driver named in SDL_AUDIODRIVER
    // that does not exist) openAudio() fails without a word and the game
    // stays silent.
    static constexpr int kAudioRate = 22050;
    bool openAudio() override;
    void closeAudio() override;
    bool audioOpen() const override;
    void playSound(std::shared_ptr<const SoundClip> clip) override;
    void setSoundVolume(int percent) override;

    // The virtual-key number a key press of the key SDL calls `keyName`
    // ("Escape", "Return", "Keypad Enter", "F4", "A", "7") arrives as; 0 for
    // keys the game does not know.
    static int virtualKeyForKeyName(const std::string& keyName);
    // Puts a key press (down and up), or typed text, into the queue as the
    // keyboard would, for tests and for tools that drive the game.
    void injectKeyPress(const std::string& keyName, bool altHeld);
    void injectText(const std::string& utf8);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace brv
