#include "platform/SdlPlatform.h"

#include <SDL.h>

#include <cstring>

#include "platform/SdlPlatformState.h"

namespace brv {

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

}  // namespace brv
