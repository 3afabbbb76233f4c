#include "platform/SdlPlatform.h"

#include <SDL.h>

#include <cstring>

#include "platform/Clock.h"
#include "platform/SdlPlatformState.h"

namespace brv {

SdlPlatform::SdlPlatform() : state_(std::make_unique<State>()) {
    // The game decides itself what closing its window means.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // SDL's own handlers turn the signals into a quit event only while its
    // queue is pumped, never let a second signal end a game that hangs, and
    // leave an inherited "ignore" alone; the game's own do all three.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
        state_->error = SDL_GetError();
        return;
    }
    state_->postedType = SDL_RegisterEvents(1);
    state_->ok = state_->postedType != static_cast<Uint32>(-1);
    if (state_->ok) {
        state_->signals = std::make_unique<SignalClose>([this] {
            Message close;
            close.kind = MessageKind::Close;
            post(close);
        });
    }
}

SdlPlatform::~SdlPlatform() {
    // No signal posts into a queue that is going.
    state_->signals.reset();
    closeAudio();
    stopTimer();
    destroyWindow();
    // Messages still queued own their records.
    Message out;
    while (takeMessage(out)) {
    }
    if (state_->videoReady) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    if (state_->ok) {
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
    }
}

bool SdlPlatform::ok() const {
    return state_->ok;
}

bool SdlPlatform::displayReachable() {
    if (!state_->ensureVideo()) {
        return false;
    }
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    if (chosen != nullptr && *chosen != '\0') {
        return true;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool nowhere = driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
                         std::strcmp(driver, "dummy") == 0;
    if (nowhere) {
        state_->error = "no reachable display";
    }
    return !nowhere;
}

const std::string& SdlPlatform::error() const {
    return state_->error;
}

void SdlPlatform::post(const Message& message) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = state_->postedType;
    auto* record = new Message(message);
    event.user.data1 = record;
    if (SDL_PushEvent(&event) != 1) {
        delete record;
    }
}

bool SdlPlatform::getMessage(Message& out) {
    while (state_->translated.empty()) {
        SDL_Event event;
        if (SDL_WaitEvent(&event) != 1) {
            // The queue itself failed: the loop ends instead of spinning, and
            // the exit code says the program did not end as asked.
            state_->error = std::string("the event queue failed: ") + SDL_GetError();
            setExitCode(kQueueFailedExitCode);
            return false;
        }
        state_->translate(event);
    }
    out = state_->translated.front();
    state_->translated.pop_front();
    if (out.kind == MessageKind::Quit) {
        setExitCode(out.key);
        return false;
    }
    return true;
}

bool SdlPlatform::takeMessage(Message& out) {
    // Not SDL_PollEvent: it answers "none" at the end of each of its polling
    // rounds, even with events queued behind that point.
    SDL_PumpEvents();
    SDL_Event event;
    while (state_->translated.empty() &&
           SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        state_->translate(event);
    }
    if (state_->translated.empty()) {
        return false;
    }
    out = state_->translated.front();
    state_->translated.pop_front();
    return true;
}

void SdlPlatform::startTimer(int periodMs) {
    state_->timer.start(periodMs, [this] { timerFired(); });
}

void SdlPlatform::stopTimer() {
    state_->timer.stop();
}

std::uint32_t SdlPlatform::milliseconds() const {
    return clockMilliseconds();
}

}  // namespace brv
