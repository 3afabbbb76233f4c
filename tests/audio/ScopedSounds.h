#pragma once

#include <string>

#include "audio/SoundSet.h"
#include "config/PackFile.h"
#include "platform/Platform.h"

namespace brv::test {

// The game's sound set loaded from the built data set onto `platform` for a
// scope, and afterwards released, unmuted and at its default volume again.
class ScopedSounds {
public:
    explicit ScopedSounds(Platform& platform) : archive_("/nonexistent") {
        archive_.open(std::string(BREVORA_BUILD_DIR) + "/game/data/data.pk");
        soundSet().loadAll(archive_, platform);
    }
    ~ScopedSounds() {
        soundSet().release();
        soundSet().setMuted(false);
        soundSet().setVolume(SoundSet::kDefaultVolume);
    }
    ScopedSounds(const ScopedSounds&) = delete;
    ScopedSounds& operator=(const ScopedSounds&) = delete;

private:
    PackFile archive_;
};

// Whether the last clip the platform was asked to play is the one of `sound`.
inline bool lastPlayed(const std::vector<std::shared_ptr<const SoundClip>>& played, Sound sound) {
    return !played.empty() && played.back() == soundSet().clip(sound);
}

}  // namespace brv::test
