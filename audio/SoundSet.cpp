#include "audio/SoundSet.h"

#include <algorithm>

#include "audio/WavDecoder.h"
#include "config/PackFile.h"
#include "config/Preferences.h"
#include "platform/Platform.h"

namespace brv {

namespace {

constexpr const char* kPaths[kSoundCount] = {
    "snd/flag_set.wav",    "snd/flag_removed.wav", "snd/source_appears.wav", "snd/colony_wiped.wav",
    "snd/player_lost.wav", "snd/game_won.wav",     "snd/button.wav",         "snd/refused.wav",
};

std::size_t indexOf(Sound sound) {
    return static_cast<std::size_t>(sound);
}

}  // namespace

const char* SoundSet::path(Sound sound) {
    return kPaths[indexOf(sound)];
}

void SoundSet::loadAll(const PackFile& archive, Platform& platform) {
    release();
    problems_.clear();
    for (int i = 0; i < kSoundCount; ++i) {
        const std::string name = kPaths[i];
        clips_[static_cast<std::size_t>(i)].reset();
        const DataBlob file = archive.readEntry(name);
        if (file.empty()) {
            problems_.push_back(name + ": missing or empty");
            continue;
        }
        auto clip = std::make_shared<SoundClip>();
        std::string problem;
        if (!decodeWav(file.bytes(), file.size, *clip, &problem)) {
            problems_.push_back(name + ": " + problem);
            continue;
        }
        clips_[static_cast<std::size_t>(i)] = std::move(clip);
    }
    platform_ = &platform;
    platform_->openAudio();
    applyVolume();
}

void SoundSet::release() {
    if (platform_ != nullptr) {
        platform_->closeAudio();
        platform_ = nullptr;
    }
}

void SoundSet::play(Sound sound) {
    const auto& chosen = clips_[indexOf(sound)];
    if (platform_ == nullptr || muted_ || volume_ == 0 || !chosen) {
        return;
    }
    platform_->playSound(chosen);
}

void SoundSet::setMuted(bool muted) {
    muted_ = muted;
    applyVolume();
}

void SoundSet::setVolume(int percent) {
    volume_ = std::clamp(percent, 0, 100);
    applyVolume();
}

void SoundSet::applyVolume() {
    if (platform_ != nullptr) {
        platform_->setSoundVolume(muted_ ? 0 : volume_);
    }
}

const std::shared_ptr<const SoundClip>& SoundSet::clip(Sound sound) const {
    return clips_[indexOf(sound)];
}

void SoundSet::applyPreferences(const Preferences& prefs) {
    setMuted(prefs.muted);
    setVolume(prefs.volume);
}

void SoundSet::toggleMuted(Preferences& prefs, SaveFolder& folder) {
    prefs.muted = !prefs.muted;
    setMuted(prefs.muted);
    prefs.save(folder);
}

}  // namespace brv
