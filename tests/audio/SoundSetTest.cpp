#include "audio/SoundSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "audio/WavDecoder.h"
#include "config/PackFile.h"
#include "platform/HeadlessPlatform.h"
#include "tests/audio/ScopedSounds.h"
#include "tests/audio/WavBytes.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

constexpr Sound kAll[] = {Sound::FlagSet,     Sound::FlagRemoved, Sound::SourceAppears,
                          Sound::ColonyWiped, Sound::PlayerLost,  Sound::GameWon,
                          Sound::Button};

TEST(ShippedSounds, EveryEffectDecodesShortSoftDistinctAndWithoutClicks) {
    PackFile pack("/nonexistent");  // no loose files: only the archive counts
    ASSERT_TRUE(pack.open(std::string(BREVORA_BUILD_DIR) + "/game/data/data.pk"));
    std::set<std::vector<std::int16_t>> distinct;
    for (const Sound sound : kAll) {
        const std::string path = SoundSet::path(sound);
        ASSERT_TRUE(pack.contains(path)) << path;
        const DataBlob file = pack.readEntry(path);
        SoundClip clip;
        std::string problem;
        ASSERT_TRUE(decodeWav(file.bytes(), file.size, clip, &problem)) << path << ": " << problem;
        const double seconds = static_cast<double>(clip.samples.size()) / clip.sampleRate;
        EXPECT_GE(seconds, 0.05) << path;
        EXPECT_LE(seconds, 0.8) << path;
        const auto [low, high] = std::minmax_element(clip.samples.begin(), clip.samples.end());
        const int peak = std::max(-static_cast<int>(*low), static_cast<int>(*high));
        EXPECT_GT(peak, 32768 / 8) << path << " is hardly audible";
        EXPECT_LT(peak, 32768 * 6 / 10) << path << " is not soft";
        // Starting and ending at rest: the effect does not click.
        EXPECT_LT(std::abs(clip.samples.front()), 100) << path;
        EXPECT_LT(std::abs(clip.samples.back()), 100) << path;
        distinct.insert(clip.samples);
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kSoundCount));
}

TEST(SoundSet, PlaysLoadedClipsThroughThePlatformAtItsVolumeUnlessMuted) {
    HeadlessPlatform platform;
    test::ScopedSounds sounds(platform);
    SoundSet& set = soundSet();
    EXPECT_TRUE(set.problems().empty());
    EXPECT_TRUE(platform.audioOpen());
    EXPECT_EQ(platform.soundVolume(), SoundSet::kDefaultVolume);
    const auto& played = platform.soundsPlayed();
    for (const Sound sound : kAll) {
        set.play(sound);
        EXPECT_TRUE(test::lastPlayed(played, sound)) << SoundSet::path(sound);
    }
    ASSERT_EQ(played.size(), static_cast<std::size_t>(kSoundCount));

    set.setMuted(true);
    EXPECT_EQ(platform.soundVolume(), 0);
    set.play(Sound::Button);
    set.setVolume(80);
    EXPECT_EQ(platform.soundVolume(), 0) << "muted stays muted";
    set.setMuted(false);
    EXPECT_EQ(platform.soundVolume(), 80);
    set.setVolume(250);
    EXPECT_EQ(set.volume(), 100);
    set.setVolume(-5);
    set.play(Sound::Button);
    EXPECT_EQ(played.size(), static_cast<std::size_t>(kSoundCount));

    set.setVolume(50);
    set.release();
    EXPECT_FALSE(platform.audioOpen());
    set.play(Sound::Button);
    EXPECT_EQ(played.size(), static_cast<std::size_t>(kSoundCount));
}

TEST(SoundSet, NamesEachMissingOrDamagedClipAndKeepsItSilent) {
    test::TempDir dir;
    dir.write("snd/flag_set.wav", test::monoWav({0, 500, 0}));
    dir.write("snd/button.wav", std::string(300, '\x42'));
    const PackFile loose(dir.path());  // no archive: the loose files alone
    HeadlessPlatform platform;
    SoundSet set;
    set.loadAll(loose, platform);
    const std::vector<std::string>& problems = set.problems();
    ASSERT_EQ(problems.size(), 6u);
    EXPECT_NE(std::find(problems.begin(), problems.end(), "snd/button.wav: not a RIFF/WAVE sound"),
              problems.end());
    EXPECT_NE(std::find(problems.begin(), problems.end(), "snd/game_won.wav: missing or empty"),
              problems.end());
    EXPECT_EQ(set.clip(Sound::Button), nullptr);
    set.play(Sound::Button);
    set.play(Sound::GameWon);
    set.play(Sound::FlagSet);
    ASSERT_EQ(platform.soundsPlayed().size(), 1u);
    EXPECT_EQ(platform.soundsPlayed().front()->samples.size(), 3u);
    set.release();

    // Without a sound device the set loads as usual and plays nothing.
    HeadlessPlatform silent;
    silent.setAudioMissing(true);
    set.loadAll(loose, silent);
    EXPECT_EQ(set.problems().size(), 6u);
    set.play(Sound::FlagSet);
    EXPECT_TRUE(silent.soundsPlayed().empty());
    set.release();
}

}  // namespace
}  // namespace brv
