#include "platform/HeadlessPlatform.h"

#include <algorithm>

#include "platform/OffscreenGl.h"

namespace brv {

HeadlessPlatform::HeadlessPlatform(bool withGl) : withGl_(withGl) {}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::post(const Message& message) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(message);
    }
    arrived_.notify_one();
}

bool HeadlessPlatform::getMessage(Message& out) {
    std::unique_lock<std::mutex> lock(mutex_);
    arrived_.wait(lock, [this] { return !queue_.empty(); });
    out = queue_.front();
    queue_.pop_front();
    if (out.kind == MessageKind::Quit) {
        setExitCode(out.key);
        return false;
    }
    return true;
}

bool HeadlessPlatform::takeMessage(Message& out) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.empty()) {
        return false;
    }
    out = queue_.front();
    queue_.pop_front();
    if (out.kind == MessageKind::Quit) {
        setExitCode(out.key);
    }
    return true;
}

std::size_t HeadlessPlatform::pendingCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

std::size_t HeadlessPlatform::pendingCount(MessageKind kind) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<std::size_t>(std::count_if(
        queue_.begin(), queue_.end(), [kind](const Message& m) { return m.kind == kind; }));
}

void HeadlessPlatform::startTimer(int periodMs) {
    timerPeriod_ = std::max(1, periodMs);
    timerDue_ = now_ + static_cast<std::uint32_t>(timerPeriod_);
}

void HeadlessPlatform::stopTimer() {
    timerPeriod_ = 0;
}

void HeadlessPlatform::advanceClock(std::uint32_t ms) {
    // One millisecond at a time, so a timer started or stopped by a message
    // handler in between takes effect at the right moment.
    for (std::uint32_t i = 0; i < ms; ++i) {
        ++now_;
        if (timerPeriod_ > 0 && now_ == timerDue_) {
            timerDue_ += static_cast<std::uint32_t>(timerPeriod_);
            timerFired();
        }
    }
}

bool HeadlessPlatform::createWindow(const std::string& title, int x, int y, int width, int height) {
    if (hasWindow_ || width <= 0 || height <= 0) {
        return false;
    }
    if (withGl_) {
        gl_ = std::make_unique<OffscreenGl>(width, height);
        if (!gl_->ok()) {
            gl_.reset();
            return false;
        }
    }
    title_ = title;
    rect_ = {x, y, x + width, y + height};
    movedTo_ = rect_;
    windowFullScreen_ = false;
    hasWindow_ = true;
    visible_ = true;
    ++createCount_;
    return true;
}

void HeadlessPlatform::destroyWindow() {
    if (!hasWindow_) {
        return;
    }
    gl_.reset();
    hasWindow_ = false;
    visible_ = false;
    ++destroyCount_;
}

void HeadlessPlatform::minimizeWindow() {
    ++minimizeCount_;
    if (minimizeHonoured_) {
        Message minimized;
        minimized.kind = MessageKind::Minimized;
        post(minimized);
    }
}

void HeadlessPlatform::moveWindow(int x, int y, int width, int height) {
    movedTo_ = {x, y, x + width, y + height};
    if (!movesLag_) {
        rect_ = movedTo_;
    }
    ++moveCount_;
}

void HeadlessPlatform::swapBuffers() {
    ++swapCount_;
    if (gl_) {
        gl_->swap();
    }
}

ScreenPoint HeadlessPlatform::drawableSize() const {
    return {rect_.right - rect_.left, rect_.bottom - rect_.top};
}

void HeadlessPlatform::setWindowIcon(int width, int height, const std::vector<std::uint8_t>& rgba) {
    const bool complete =
        width > 0 && height > 0 && rgba.size() >= static_cast<std::size_t>(width) * height * 4;
    iconWidth_ = complete ? width : 0;
}

bool HeadlessPlatform::setFullScreen(bool fullScreen) {
    if (!hasWindow_ || fullScreenRefused_) {
        return false;
    }
    if (fullScreen && !windowFullScreen_) {
        windowedRect_ = rect_;
        rect_ = {0, 0, desktop_.x, desktop_.y};
    } else if (!fullScreen && windowFullScreen_) {
        rect_ = windowedRect_;
    }
    windowFullScreen_ = fullScreen;
    return true;
}

void HeadlessPlatform::setDesktop(int width, int height) {
    desktop_ = {width, height};
}

void HeadlessPlatform::setKeyHeld(int virtualKey, bool held) {
    if (held) {
        heldKeys_.insert(virtualKey);
    } else {
        heldKeys_.erase(virtualKey);
    }
}

bool HeadlessPlatform::openAudio() {
    audioOpen_ = !audioMissing_;
    return audioOpen_;
}

void HeadlessPlatform::playSound(std::shared_ptr<const SoundClip> clip) {
    if (audioOpen_ && clip) {
        soundsPlayed_.push_back(std::move(clip));
    }
}

bool HeadlessPlatform::glReady() const {
    return gl_ != nullptr;
}

}  // namespace brv
