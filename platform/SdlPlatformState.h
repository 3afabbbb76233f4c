// The private state behind SdlPlatform, shared by the files that hold its
// message loop, input, window and sound. Only the platform library's own
// files include this header: SDL stays inside platform/.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/PeriodicTimer.h"
#include "platform/SdlPlatform.h"
#include "platform/SignalClose.h"
#include "platform/SoundMixer.h"

namespace brv {

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

}  // namespace brv
