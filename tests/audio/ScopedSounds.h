#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/SoundSet.h"
#include "config/PackFile.h"
#include "platform/Platform.h"

namespace brv::test {

// `set` loaded with the built data set's effects onto `platform` for a scope,
// then released.
struct ScopedSounds {
    ScopedSounds(Platform& platform, SoundSet& set) : set(set) {
        archive.open(std::string(BREVORA_BUILD_DIR) + "/game/data/data.pk");
        set.loadAll(archive, platform);
    }
    ~ScopedSounds() { set.release(); }
    ScopedSounds(const ScopedSounds&) = delete;
    ScopedSounds& operator=(const ScopedSounds&) = delete;

    SoundSet& set;
    PackFile archive{"/nonexistent"};  // the archive alone, no loose files
};

inline bool lastPlayed(const std::vector<std::shared_ptr<const SoundClip>>& played,
                       const SoundSet& set, Sound sound) {
    return !played.empty() && played.back() == set.clip(sound);
}

}  // namespace brv::test
