#include "platform/SdlPlatform.h"

#include <SDL.h>

#include <cstring>
#include <deque>
#include <set>

#include "platform/Clock.h"
#include "platform/PeriodicTimer.h"
#include "platform/SignalClose.h"
#include "platform/SoundMixer.h"
#include "platform/VirtualKeys.h"

namespace brv {

namespace {

struct KeyPair {
    SDL_Keycode sdl;
    int vk;
};

// Keys whose virtual-key number is not their character. Letters and digits
// are mapped arithmetically in virtualKeyFor().
constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, kVkBackspace},
    {SDLK_TAB, kVkTab},
    {SDLK_RETURN, kVkEnter},
    {SDLK_KP_ENTER, kVkEnter},
    {SDLK_RETURN2, kVkEnter},
    {SDLK_LSHIFT, kVkShift},
    {SDLK_RSHIFT, kVkShift},
    {SDLK_LCTRL, kVkControl},
    {SDLK_RCTRL, kVkControl},
    {SDLK_LALT, kVkAlt},
    {SDLK_RALT, kVkAlt},
    {SDLK_PAUSE, kVkPause},
    {SDLK_CAPSLOCK, kVkCapsLock},
    {SDLK_ESCAPE, kVkEscape},
    {SDLK_SPACE, kVkSpace},
    {SDLK_PAGEUP, kVkPageUp},
    {SDLK_PAGEDOWN, kVkPageDown},
    {SDLK_END, kVkEnd},
    {SDLK_HOME, kVkHome},
    {SDLK_LEFT, kVkLeft},
    {SDLK_UP, kVkUp},
    {SDLK_RIGHT, kVkRight},
    {SDLK_DOWN, kVkDown},
    {SDLK_INSERT, kVkInsert},
    {SDLK_DELETE, kVkDelete},
    {SDLK_KP_0, kVkNumpad0},
    {SDLK_KP_1, kVkNumpad0 + 1},
    {SDLK_KP_2, kVkNumpad0 + 2},
    {SDLK_KP_3, kVkNumpad0 + 3},
    {SDLK_KP_4, kVkNumpad0 + 4},
    {SDLK_KP_5, kVkNumpad0 + 5},
    {SDLK_KP_6, kVkNumpad0 + 6},
    {SDLK_KP_7, kVkNumpad0 + 7},
    {SDLK_KP_8, kVkNumpad0 + 8},
    {SDLK_KP_9, kVkNumpad0 + 9},
    {SDLK_KP_MULTIPLY, kVkMultiply},
    {SDLK_KP_PLUS, kVkAdd},
    {SDLK_KP_MINUS, kVkSubtract},
    {SDLK_KP_PERIOD, kVkDecimal},
    {SDLK_KP_DIVIDE, kVkDivide},
    {SDLK_EQUALS, kVkOemPlus},
    {SDLK_PLUS, kVkOemPlus},
    {SDLK_MINUS, kVkOemMinus},
};

int virtualKeyFor(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return kVkF1 + (key - SDLK_F1);
    }
    for (const KeyPair& pair : kNamedKeys) {
        if (pair.sdl == key) {
            return pair.vk;
        }
    }
    return 0;
}

// The character a key press also types, as the Windows message loop produces
// it for the keys that have no text of their own.
int controlCharacterFor(int vk) {
    switch (vk) {
        case kVkBackspace:
        case kVkTab:
        case kVkEnter:
        case kVkEscape:
            return vk;
        default:
            return 0;
    }
}

// Decodes UTF-8 text into the byte codes of the game's 8-bit texts; characters
// beyond that range cannot be shown by the game's font and are skipped.
template <typename OnChar>
void forEachByteCharacter(const char* text, OnChar&& onChar) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        if (*p < 0x80) {
            onChar(*p++);
            continue;
        }
        int extra = (*p >= 0xF0) ? 3 : (*p >= 0xE0) ? 2 : 1;
        unsigned code = *p++ & (0x3Fu >> extra);
        for (; extra > 0 && (*p & 0xC0) == 0x80; --extra) {
            code = (code << 6) | (*p++ & 0x3Fu);
        }
        if (extra == 0 && code <= 0xFF) {
            onChar(static_cast<int>(code));
        }
    }
}

}  // namespace

struct SdlPlatform::State {
    bool ok = false;
    bool videoReady = false;
    std::string error;
    Uint32 postedType = 0;
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int iconWidth = 0;
    int iconHeight = 0;
    std::vector<std::uint8_t> iconPixels;
    PeriodicTimer timer;
    // SIGINT and SIGTERM close the window as the desktop would.
    std::unique_ptr<SignalClose> signals;
    // One SDL event may yield two messages (a key and its character).
    std::deque<Message> translated;
    // Keys and mouse buttons held as of the last event translated, so that
    // every message is read with the input state it came with; SDL's own
    // state runs ahead to the last event it has fetched.
    std::set<SDL_Keycode> heldKeys;
    Uint32 heldButtons = 0;
    // The pointer on the desktop as it was when the last move was handed on,
    // and whether it was over the window then.
    ScreenPoint pointer;
    bool pointerInside = false;
    // The sound output: the device, and the voices its thread mixes under
    // the device's lock.
    SDL_AudioDeviceID audioDevice = 0;
    SoundMixer mixer{kAudioRate};
    int soundVolume = 100;

    bool ensureVideo() {
        if (!videoReady) {
            videoReady = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
            if (!videoReady) {
                error = SDL_GetError();
            }
        }
        return videoReady;
    }
    void translate(const SDL_Event& event);
    void translateKey(const SDL_KeyboardEvent& key);
    void translateWindowEvent(const SDL_WindowEvent& window);
    void translateMouse(const SDL_Event& event);
    void translateWheel(const SDL_MouseWheelEvent& wheel);
    void pushMove(int x, int y, Uint32 buttons);
    void catchUpPointer();
    bool isHeld(int vk) const;
    int mouseFlags(Uint32 buttons) const;
    void applyIcon();
    void push(MessageKind kind, int key = 0) {
        Message message;
        message.kind = kind;
        message.key = key;
        translated.push_back(message);
    }
};

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

void SdlPlatform::State::translate(const SDL_Event& event) {
    if (event.type == postedType) {
        auto* record = static_cast<Message*>(event.user.data1);
        if (record->kind == MessageKind::Tick) {
            catchUpPointer();
        }
        translated.push_back(*record);
        delete record;
        return;
    }
    switch (event.type) {
        case SDL_QUIT:
            push(MessageKind::Close);
            break;
        case SDL_WINDOWEVENT:
            translateWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
            heldKeys.insert(event.key.keysym.sym);
            translateKey(event.key);
            break;
        case SDL_KEYUP:
            heldKeys.erase(event.key.keysym.sym);
            break;
        case SDL_TEXTINPUT:
            forEachByteCharacter(event.text.text, [this](int c) { push(MessageKind::Char, c); });
            break;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            translateMouse(event);
            break;
        case SDL_MOUSEWHEEL:
            translateWheel(event.wheel);
            break;
        default:
            break;
    }
}

void SdlPlatform::State::translateWindowEvent(const SDL_WindowEvent& window) {
    switch (window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            push(MessageKind::Close);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            push(MessageKind::Minimized);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            push(MessageKind::Restored);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // No release reaches a window without the focus.
            heldKeys.clear();
            break;
        case SDL_WINDOWEVENT_LEAVE:
            pointerInside = false;
            break;
        default:
            break;
    }
}

bool SdlPlatform::State::isHeld(int vk) const {
    for (const SDL_Keycode key : heldKeys) {
        if (virtualKeyFor(key) == vk) {
            return true;
        }
    }
    return false;
}

int SdlPlatform::State::mouseFlags(Uint32 buttons) const {
    int flags = 0;
    if (buttons & SDL_BUTTON_LMASK) {
        flags |= kMouseLeftHeld;
    }
    if (buttons & SDL_BUTTON_RMASK) {
        flags |= kMouseRightHeld;
    }
    if (buttons & SDL_BUTTON_MMASK) {
        flags |= kMouseMiddleHeld;
    }
    if (isHeld(kVkShift)) {
        flags |= kMouseShiftHeld;
    }
    if (isHeld(kVkControl)) {
        flags |= kMouseControlHeld;
    }
    return flags;
}

void SdlPlatform::State::translateKey(const SDL_KeyboardEvent& key) {
    const int vk = virtualKeyFor(key.keysym.sym);
    // Keys pressed with Alt, Alt itself and F10 are system keys: they never
    // reach the views. Alt+F4 asks the window to close, as the desktop does
    // when no window manager takes the keys first.
    if ((key.keysym.mod & KMOD_ALT) != 0 || vk == kVkAlt || vk == kVkF10) {
        if (vk == kVkF4) {
            push(MessageKind::Close);
        }
        return;
    }
    if (vk == 0) {
        return;
    }
    push(MessageKind::KeyDown, vk);
    if (const int c = controlCharacterFor(vk); c != 0) {
        push(MessageKind::Char, c);
    }
}

void SdlPlatform::State::pushMove(int x, int y, Uint32 buttons) {
    Message message;
    message.kind = MessageKind::MouseMove;
    message.x = x;
    message.y = y;
    message.flags = mouseFlags(buttons);
    translated.push_back(message);
    SDL_GetGlobalMouseState(&pointer.x, &pointer.y);
    pointerInside = true;
}

// SDL drops a motion that leaves the pointer where it was inside the window,
// and while the player drags the window every motion does: the window moved
// with the pointer since the last one. Before each tick, a pointer that has
// moved on the desktop since the last move handed on makes one more move, at
// the place in the window SDL holds for it.
void SdlPlatform::State::catchUpPointer() {
    if (window == nullptr || (!pointerInside && heldButtons == 0) ||
        SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION) > 0) {
        return;  // not the window's pointer, or its move is still queued
    }
    ScreenPoint now;
    SDL_GetGlobalMouseState(&now.x, &now.y);
    if (now.x == pointer.x && now.y == pointer.y) {
        return;
    }
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    pushMove(x, y, heldButtons);
}

void SdlPlatform::State::translateMouse(const SDL_Event& event) {
    if (event.type == SDL_MOUSEMOTION) {
        pushMove(event.motion.x, event.motion.y, event.motion.state);
        return;
    }
    const SDL_MouseButtonEvent& button = event.button;
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    if (down) {
        heldButtons |= SDL_BUTTON(button.button);
    } else {
        heldButtons &= ~SDL_BUTTON(button.button);
    }
    Message message;
    if (button.button == SDL_BUTTON_LEFT) {
        message.kind = down ? MessageKind::LButtonDown : MessageKind::LButtonUp;
    } else if (button.button == SDL_BUTTON_RIGHT && !down) {
        message.kind = MessageKind::RButtonUp;
    } else {
        return;  // middle button and right press are not the game's
    }
    message.x = button.x;
    message.y = button.y;
    message.flags = mouseFlags(heldButtons);
    translated.push_back(message);
}

// Only the vertical wheel is the game's. A desktop set to "natural" scrolling
// flips the numbers; the game counts the notches as the wheel turned.
void SdlPlatform::State::translateWheel(const SDL_MouseWheelEvent& wheel) {
    const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    if (notches == 0) {
        return;
    }
    Message message;
    message.kind = MessageKind::MouseWheel;
    message.x = wheel.mouseX;
    message.y = wheel.mouseY;
    message.flags = mouseFlags(heldButtons);
    message.wheel = notches;
    translated.push_back(message);
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

bool SdlPlatform::createWindow(const std::string& title, int x, int y, int width, int height) {
    State& s = *state_;
    if (s.window != nullptr || width <= 0 || height <= 0 || !s.ensureVideo()) {
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    s.window = SDL_CreateWindow(title.c_str(), x, y, width, height,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
    if (s.window == nullptr) {
        s.error = SDL_GetError();
        return false;
    }
    s.context = SDL_GL_CreateContext(s.window);
    if (s.context == nullptr) {
        s.error = SDL_GetError();
        SDL_DestroyWindow(s.window);
        s.window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(s.window, s.context);
    // The frame timer paces drawing; waiting for the display would stall ticks.
    SDL_GL_SetSwapInterval(0);
    s.applyIcon();
    return true;
}

void SdlPlatform::destroyWindow() {
    State& s = *state_;
    if (s.context != nullptr) {
        SDL_GL_MakeCurrent(s.window, nullptr);
        SDL_GL_DeleteContext(s.context);
        s.context = nullptr;
    }
    if (s.window != nullptr) {
        SDL_DestroyWindow(s.window);
        s.window = nullptr;
    }
}

bool SdlPlatform::hasWindow() const {
    return state_->window != nullptr;
}

void SdlPlatform::showWindow(bool visible) {
    if (state_->window == nullptr) {
        return;
    }
    if (visible) {
        SDL_ShowWindow(state_->window);
    } else {
        SDL_HideWindow(state_->window);
    }
}

void SdlPlatform::minimizeWindow() {
    if (state_->window != nullptr) {
        SDL_MinimizeWindow(state_->window);
    }
}

bool SdlPlatform::setFullScreen(bool fullScreen) {
    State& s = *state_;
    if (s.window == nullptr) {
        return false;
    }
    // The desktop keeps its resolution: the window only covers the display, so
    // the context and every texture in it stay. Going back, SDL puts the window
    // where and as large as it was.
    if (SDL_SetWindowFullscreen(s.window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        s.error = SDL_GetError();
        return false;
    }
    return true;
}

WindowRect SdlPlatform::windowRect() const {
    if (state_->window == nullptr) {
        return {};
    }
    // A full-screen window covers its display, whatever size the window
    // manager has confirmed so far.
    if ((SDL_GetWindowFlags(state_->window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
        SDL_WINDOW_FULLSCREEN_DESKTOP) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(state_->window), &bounds) == 0) {
            return {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
        }
    }
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    SDL_GetWindowPosition(state_->window, &x, &y);
    SDL_GetWindowSize(state_->window, &w, &h);
    return {x, y, x + w, y + h};
}

void SdlPlatform::moveWindow(int x, int y, int width, int height) {
    if (state_->window == nullptr) {
        return;
    }
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(state_->window, &w, &h);
    if ((w != width || h != height) && width > 0 && height > 0) {
        SDL_SetWindowSize(state_->window, width, height);
    }
    SDL_SetWindowPosition(state_->window, x, y);
}

void SdlPlatform::swapBuffers() {
    if (state_->window != nullptr) {
        SDL_GL_SwapWindow(state_->window);
    }
}

ScreenPoint SdlPlatform::drawableSize() const {
    ScreenPoint size;
    if (state_->window != nullptr) {
        SDL_GL_GetDrawableSize(state_->window, &size.x, &size.y);
    }
    return size;
}

void SdlPlatform::setWindowIcon(int width, int height, const std::vector<std::uint8_t>& rgba) {
    State& s = *state_;
    if (width <= 0 || height <= 0 ||
        rgba.size() / 4 / static_cast<std::size_t>(width) < static_cast<std::size_t>(height)) {
        return;  // too few pixels for the size claimed
    }
    s.iconWidth = width;
    s.iconHeight = height;
    s.iconPixels = rgba;
    s.applyIcon();
}

void SdlPlatform::State::applyIcon() {
    if (window == nullptr || iconPixels.empty()) {
        return;
    }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        iconPixels.data(), iconWidth, iconHeight, 32, iconWidth * 4, SDL_PIXELFORMAT_ABGR8888);
    if (icon != nullptr) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
}

ScreenPoint SdlPlatform::desktopSize() const {
    SDL_DisplayMode mode;
    if (!state_->ensureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return {};
    }
    return {mode.w, mode.h};
}

ScreenPoint SdlPlatform::usableDesktopSize() const {
    SDL_Rect usable;
    if (!state_->ensureVideo() || SDL_GetDisplayUsableBounds(0, &usable) != 0) {
        return {};
    }
    return {usable.w, usable.h};
}

std::vector<DisplayMode> SdlPlatform::displayModes() const {
    std::vector<DisplayMode> modes;
    if (!state_->ensureVideo()) {
        return modes;
    }
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0) {
            modes.push_back({mode.w, mode.h, mode.refresh_rate});
        }
    }
    return modes;
}

bool SdlPlatform::isKeyHeld(int virtualKey) const {
    return state_->isHeld(virtualKey);
}

ScreenPoint SdlPlatform::cursorPosition() const {
    ScreenPoint p;
    SDL_GetGlobalMouseState(&p.x, &p.y);
    return p;
}

std::uint32_t SdlPlatform::milliseconds() const {
    return clockMilliseconds();
}

namespace {

// Runs on SDL's audio thread with the device locked.
void mixVoices(void* mixer, Uint8* stream, int bytes) {
    static_cast<SoundMixer*>(mixer)->mix(reinterpret_cast<std::int16_t*>(stream),
                                         bytes / static_cast<int>(sizeof(std::int16_t)));
}

}  // namespace

bool SdlPlatform::openAudio() {
    State& s = *state_;
    if (s.audioDevice != 0) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    // No output listed at all: opening the default one anyway would only
    // have the sound library complain on stderr (ALSA does without a card).
    // A count SDL cannot tell (-1) still tries the default output.
    if (SDL_GetNumAudioDevices(0) == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_AudioSpec want;
    std::memset(&want, 0, sizeof want);
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    // About 23 ms: an effect follows its click without a noticeable lag.
    want.samples = 512;
    want.callback = mixVoices;
    want.userdata = &s.mixer;
    SDL_AudioSpec have;
    s.audioDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (s.audioDevice == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    s.mixer.stopAll();
    s.mixer.setVolume(s.soundVolume);
    SDL_PauseAudioDevice(s.audioDevice, 0);
    return true;
}

void SdlPlatform::closeAudio() {
    State& s = *state_;
    if (s.audioDevice == 0) {
        return;
    }
    // Closing waits for the audio thread, so the voices are ours afterwards.
    SDL_CloseAudioDevice(s.audioDevice);
    s.audioDevice = 0;
    s.mixer.stopAll();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlPlatform::audioOpen() const {
    return state_->audioDevice != 0;
}

void SdlPlatform::playSound(std::shared_ptr<const SoundClip> clip) {
    State& s = *state_;
    if (s.audioDevice == 0 || !clip) {
        return;
    }
    SDL_LockAudioDevice(s.audioDevice);
    s.mixer.start(std::move(clip));
    SDL_UnlockAudioDevice(s.audioDevice);
}

void SdlPlatform::setSoundVolume(int percent) {
    State& s = *state_;
    s.soundVolume = percent;
    if (s.audioDevice == 0) {
        return;
    }
    SDL_LockAudioDevice(s.audioDevice);
    s.mixer.setVolume(percent);
    SDL_UnlockAudioDevice(s.audioDevice);
}

int SdlPlatform::virtualKeyForKeyName(const std::string& keyName) {
    return virtualKeyFor(SDL_GetKeyFromName(keyName.c_str()));
}

void SdlPlatform::injectKeyPress(const std::string& keyName, bool altHeld) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDL_GetKeyFromName(keyName.c_str());
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    event.key.keysym.mod = altHeld ? KMOD_LALT : KMOD_NONE;
    SDL_PushEvent(&event);
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    SDL_PushEvent(&event);
}

void SdlPlatform::injectText(const std::string& utf8) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8.c_str(), sizeof event.text.text - 1);
    SDL_PushEvent(&event);
}

}  // namespace brv
