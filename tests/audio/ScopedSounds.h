#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/SoundSet.h"
#include "config/PackFile.h"
#include "platform/Platform.h"

namespace brv::test {

// The game's sound set loaded from the built data set onto `platform` for a
// scope, then released, unmuted and at its default volume again.
struct ScopedSounds {
    explicit ScopedSounds(Platform& platform) {
        archive.open(std::string(BREVORA_BUILD_DIR) + "/game/data/data.pk");
        soundSet().loadAll(archive, platform);
    }
    ~ScopedSounds() {
        soundSet().release();
        soundSet().setMuted(false);
        soundSet().setVolume(SoundSet::kDefaultVolume);
    }
    PackFile archive{"/nonexistent"};  // the archive alone, no loose files
};

inline bool lastPlayed(const std::vector<std::shared_ptr<const SoundClip>>& played, Sound sound) {
    return !played.empty() && played.back() == soundSet().clip(sound);
}

}  // namespace brv::test
