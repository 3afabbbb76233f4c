#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "platform/SoundClip.h"

namespace brv {

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct DisplayMode {
    int width = 0;
    int height = 0;
    int refreshRate = 0;
};

// The operating system as the game sees it: one borderless window with an
// OpenGL context, a message queue, a periodic frame timer, the desktop and its
// display modes, the keyboard and the cursor, a millisecond clock, a sound
// output. Only plain data crosses this interface. One backend drives a real
// desktop, another serves tests without a screen.
class Platform {
public:
    Platform() = default;
    virtual ~Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    // Message queue. post() may be called from any thread; getMessage() blocks
    // until a message arrives and returns false once a Quit message is taken.
    virtual void post(const Message& message) = 0;
    virtual bool getMessage(Message& out) = 0;
    void postQuit(int exitCode);
    int exitCode() const { return exitCode_; }

    // The frame timer: every `periodMs` it posts one Tick, but only while no
    // tick is being processed, so ticks that fall due during a slow frame are
    // dropped instead of piling up.
    virtual void startTimer(int periodMs) = 0;
    virtual void stopTimer() = 0;
    void setTickInProgress(bool inProgress) { tickInProgress_.store(inProgress); }
    bool tickInProgress() const { return tickInProgress_.load(); }

    // The window: created borderless and visible at (x, y) with its GL context
    // current (double-buffered, 16-bit depth).
    virtual bool createWindow(const std::string& title, int x, int y, int width, int height) = 0;
    virtual void destroyWindow() = 0;
    virtual bool hasWindow() const = 0;
    virtual void showWindow(bool visible) = 0;
    virtual void minimizeWindow() = 0;
    virtual WindowRect windowRect() const = 0;
    virtual void moveWindow(int x, int y, int width, int height) = 0;
    virtual void swapBuffers() = 0;
    // The size of the GL drawing surface in pixels; may differ from the window
    // for a frame after a resize.
    virtual ScreenPoint drawableSize() const = 0;
    // The window icon from RGBA pixels, kept for windows created later too.
    virtual void setWindowIcon(int width, int height, const std::vector<std::uint8_t>& rgba) = 0;

    // Makes the window cover its whole display at the desktop's own resolution
    // (no display mode changes, the GL context stays), or returns it to a
    // window; windowRect() then reports the area it covers. False when the
    // desktop refused: the window stays as it was.
    virtual bool setFullScreen(bool fullScreen) = 0;

    // Desktop and display modes.
    virtual ScreenPoint desktopSize() const = 0;
    // The part of the desktop a window may take: the desktop less its panels
    // and docks. {0, 0} when the desktop cannot tell.
    virtual ScreenPoint usableDesktopSize() const = 0;
    virtual std::vector<DisplayMode> displayModes() const = 0;

    // Input state and time. Keys count as held as of the message being
    // handled; the clock is the machine's (clockMilliseconds on a desktop).
    virtual bool isKeyHeld(int virtualKey) const = 0;
    virtual ScreenPoint cursorPosition() const = 0;
    virtual std::uint32_t milliseconds() const = 0;

    // Sound: one output mixing a few clips at once, on its own thread.
    // openAudio() is false where the machine has no sound device; the game
    // then plays silently and playSound() does nothing. playSound() only
    // hands the clip to a voice, so it is cheap from any view's handler.
    virtual bool openAudio() = 0;
    virtual void closeAudio() = 0;
    virtual bool audioOpen() const = 0;
    virtual void playSound(std::shared_ptr<const SoundClip> clip) = 0;
    // The loudness of the whole output, 0..100 percent, for the voices
    // already playing too; 0 silences them.
    virtual void setSoundVolume(int percent) = 0;

protected:
    // Called by a backend's timer on the timer thread: posts one Tick unless a
    // tick is being processed. Returns whether it posted.
    bool timerFired();
    void setExitCode(int code) { exitCode_ = code; }

private:
    std::atomic<bool> tickInProgress_{false};
    int exitCode_ = 0;
};

// Marks a tick as being processed for the lifetime of a scope, so the timer
// thread posts nothing meanwhile.
class TickInProgress {
public:
    explicit TickInProgress(Platform& platform) : platform_(platform) {
        platform_.setTickInProgress(true);
    }
    ~TickInProgress() { platform_.setTickInProgress(false); }
    TickInProgress(const TickInProgress&) = delete;
    TickInProgress& operator=(const TickInProgress&) = delete;

private:
    Platform& platform_;
};

}  // namespace brv
