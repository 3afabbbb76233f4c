#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <set>

#include "platform/Platform.h"

namespace brv {

class OffscreenGl;

// The platform without a screen, for tests: the test posts the messages, moves
// the cursor, holds keys and advances the clock; the frame timer fires as the
// clock passes each period, on the caller's thread. Every window operation is
// recorded so a test can check what the game asked for. With `withGl` each
// window gets a real GL context from the offscreen driver.
class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(bool withGl = false);
    ~HeadlessPlatform() override;

    void post(const Message& message) override;
    // Blocks like the real queue; tests normally use takeMessage() instead.
    bool getMessage(Message& out) override;
    // The next queued message without waiting; false when the queue is empty.
    bool takeMessage(Message& out);
    std::size_t pendingCount() const;
    std::size_t pendingCount(MessageKind kind) const;

    void startTimer(int periodMs) override;
    void stopTimer() override;
    bool timerRunning() const { return timerPeriod_ > 0; }
    // Moves the clock on by `ms`, firing the frame timer at every period passed.
    void advanceClock(std::uint32_t ms);

    bool createWindow(const std::string& title, int x, int y, int width, int height) override;
    void destroyWindow() override;
    bool hasWindow() const override { return hasWindow_; }
    void showWindow(bool visible) override { visible_ = visible; }
    // Posts the Minimized message a window manager sends, unless the test
    // has the request refused (as with no window manager at all).
    void minimizeWindow() override;
    WindowRect windowRect() const override { return rect_; }
    void moveWindow(int x, int y, int width, int height) override;
    void swapBuffers() override;
    ScreenPoint drawableSize() const override;
    void setWindowIcon(int width, int height, const std::vector<std::uint8_t>& rgba) override;

    ScreenPoint desktopSize() const override { return desktop_; }
    // The whole desktop: no panels take a part of it.
    ScreenPoint usableDesktopSize() const override { return desktop_; }
    bool setFullScreen(bool fullScreen) override;
    std::vector<DisplayMode> displayModes() const override { return modes_; }

    bool isKeyHeld(int virtualKey) const override { return heldKeys_.count(virtualKey) != 0; }
    ScreenPoint cursorPosition() const override { return cursor_; }
    std::uint32_t milliseconds() const override { return now_; }

    // Sound is recorded, never heard: an open output keeps every clip asked
    // for, in order, and the last volume set.
    bool openAudio() override;
    void closeAudio() override { audioOpen_ = false; }
    bool audioOpen() const override { return audioOpen_; }
    void playSound(std::shared_ptr<const SoundClip> clip) override;
    void setSoundVolume(int percent) override { soundVolume_ = percent; }

    // What the test controls.
    void setDesktop(int width, int height);
    void setDisplayModes(std::vector<DisplayMode> modes) { modes_ = std::move(modes); }
    // A desktop that refuses full screen (or allows it again).
    void setFullScreenRefused(bool refused) { fullScreenRefused_ = refused; }
    void setKeyHeld(int virtualKey, bool held);
    void setCursor(int x, int y) { cursor_ = {x, y}; }
    void setMinimizeHonoured(bool honoured) { minimizeHonoured_ = honoured; }
    // A machine without a sound device: openAudio() fails.
    void setAudioMissing(bool missing) { audioMissing_ = missing; }
    // With lagging moves the window rectangle keeps its old place after a
    // move until settleMoves(), as when the window manager is slow to answer.
    void setMovesLag(bool lag) { movesLag_ = lag; }
    void settleMoves() { rect_ = movedTo_; }

    // What the game did.
    const std::string& title() const { return title_; }
    bool visible() const { return visible_; }
    bool fullScreen() const { return hasWindow_ && windowFullScreen_; }
    int createCount() const { return createCount_; }
    int destroyCount() const { return destroyCount_; }
    int minimizeCount() const { return minimizeCount_; }
    int swapCount() const { return swapCount_; }
    int moveCount() const { return moveCount_; }
    int iconWidth() const { return iconWidth_; }
    bool glReady() const;
    const std::vector<std::shared_ptr<const SoundClip>>& soundsPlayed() const {
        return soundsPlayed_;
    }
    int soundVolume() const { return soundVolume_; }

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Message> queue_;

    std::uint32_t now_ = 0;
    int timerPeriod_ = 0;
    std::uint32_t timerDue_ = 0;

    bool withGl_;
    std::unique_ptr<OffscreenGl> gl_;
    bool hasWindow_ = false;
    bool visible_ = false;
    bool windowFullScreen_ = false;
    std::string title_;
    WindowRect rect_;
    WindowRect movedTo_;
    bool movesLag_ = false;
    bool minimizeHonoured_ = true;
    ScreenPoint desktop_{1024, 768};
    std::vector<DisplayMode> modes_{{1024, 768, 60}};
    bool fullScreenRefused_ = false;
    // Where the window stood before it covered the desktop.
    WindowRect windowedRect_;
    std::set<int> heldKeys_;
    ScreenPoint cursor_;
    int createCount_ = 0;
    int destroyCount_ = 0;
    int minimizeCount_ = 0;
    int swapCount_ = 0;
    int moveCount_ = 0;
    int iconWidth_ = 0;
    bool audioMissing_ = false;
    bool audioOpen_ = false;
    int soundVolume_ = 100;
    std::vector<std::shared_ptr<const SoundClip>> soundsPlayed_;
};

}  // namespace brv
