#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/SoundClip.h"

namespace brv {

class PackFile;
class Platform;
class SaveFolder;
struct Preferences;

// The effects the game plays, one clip each in the archive's "snd/" folder.
enum class Sound {
    FlagSet,
    FlagRemoved,
    SourceAppears,
    ColonyWiped,
    PlayerLost,
    GameWon,
    Button,
    // A click that sets nothing: the player's flags are all set.
    Refused,
};
inline constexpr int kSoundCount = 8;

// Every sound effect, decoded once at start-up, and the loudness they play
// at. Views call play() from their handlers; it only hands a shared clip to
// the platform's output. A missing or damaged clip leaves its effect silent
// and is named in problems(); without a sound device the whole set is
// silent. Nothing here touches the rules: a game plays the same with sound
// or without.
class SoundSet {
public:
    // Quiet unless the player turns it up.
    static constexpr int kDefaultVolume = 30;

    // The archive path of an effect ("snd/flag_set.wav").
    static const char* path(Sound sound);

    SoundSet() = default;
    SoundSet(const SoundSet&) = delete;
    SoundSet& operator=(const SoundSet&) = delete;

    // Decodes every clip from `archive` and opens the output of `platform`,
    // which must outlive the set until release().
    void loadAll(const PackFile& archive, Platform& platform);
    // Closes the output and forgets the platform; the clips stay decoded.
    void release();

    void play(Sound sound);
    // Muting silences the effects already playing too.
    void setMuted(bool muted);
    bool muted() const { return muted_; }
    // 0..100 percent, clamped.
    void setVolume(int percent);
    int volume() const { return volume_; }
    // The player's stored choice of muting and volume.
    void applyPreferences(const Preferences& prefs);
    // M: sound off or on again, the choice kept in the preferences file.
    void toggleMuted(Preferences& prefs, SaveFolder& folder);

    // Null for an effect that could not be loaded.
    const std::shared_ptr<const SoundClip>& clip(Sound sound) const;
    // One line per clip the last loadAll could not use ("snd/button.wav: no
    // data chunk"); empty when every clip loaded.
    const std::vector<std::string>& problems() const { return problems_; }

private:
    void applyVolume();

    Platform* platform_ = nullptr;
    std::array<std::shared_ptr<const SoundClip>, kSoundCount> clips_;
    bool muted_ = false;
    int volume_ = kDefaultVolume;
    std::vector<std::string> problems_;
};

}  // namespace brv
