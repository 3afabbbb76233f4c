#include "audio/SoundSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "platform/HeadlessPlatform.h"
#include "tests/audio/ScopedSounds.h"
#include "tests/audio/WavBytes.h"
#include "tests/support/TempDir.h"

namespace brv {
namespace {

constexpr Sound kAll[] = {Sound::FlagSet,     Sound::FlagRemoved, Sound::SourceAppears,
                          Sound::ColonyWiped, Sound::PlayerLost,  Sound::GameWon,
                          Sound::Button,      Sound::Refused};

TEST(SoundSet, PlaysTheShippedEffectsAtItsVolumeUnlessMutedOrReleased) {
    HeadlessPlatform platform;
    SoundSet set;
    test::ScopedSounds sounds(platform, set);
    EXPECT_TRUE(set.problems().empty());
    EXPECT_EQ(platform.soundVolume(), SoundSet::kDefaultVolume);
    // Every effect short, soft, its own, starting and ending at rest.
    std::set<std::vector<std::int16_t>> distinct;
    for (const Sound sound : kAll) {
        const std::string path = SoundSet::path(sound);
        ASSERT_TRUE(sounds.archive.contains(path) && set.clip(sound)) << path;
        const std::vector<std::int16_t>& samples = set.clip(sound)->samples;
        const double seconds = static_cast<double>(samples.size()) / set.clip(sound)->sampleRate;
        EXPECT_TRUE(seconds >= 0.05 && seconds <= 0.8) << path << ": " << seconds << " s";
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        const int peak = std::max(-static_cast<int>(*low), static_cast<int>(*high));
        EXPECT_TRUE(peak > 32768 / 8 && peak < 32768 * 6 / 10) << path << " peaks at " << peak;
        EXPECT_LT(std::abs(samples.front()) + std::abs(samples.back()), 100) << path << " clicks";
        distinct.insert(samples);
        set.play(sound);
        EXPECT_TRUE(test::lastPlayed(platform.soundsPlayed(), set, sound)) << path;
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kSoundCount));

    set.setMuted(true);
    set.setVolume(80);
    EXPECT_EQ(platform.soundVolume(), 0) << "muted stays muted";
    set.play(Sound::Button);
    set.setMuted(false);
    EXPECT_EQ(platform.soundVolume(), 80);
    set.setVolume(-5);
    set.play(Sound::Button);
    set.setVolume(50);
    set.release();
    EXPECT_FALSE(platform.audioOpen());
    set.play(Sound::Button);
    EXPECT_EQ(platform.soundsPlayed().size(), static_cast<std::size_t>(kSoundCount));
}

TEST(SoundSet, NamesEachMissingOrDamagedClipAndKeepsItSilent) {
    test::TempDir dir;
    dir.write("snd/flag_set.wav", test::riff(test::fmtChunk(1, 1, 22050, 16) +
                                             test::chunk("data", test::samples16({0, 500, 0}))));
    dir.write("snd/button.wav", std::string(300, '\x42'));
    const PackFile loose(dir.path());  // no archive: the loose files alone
    for (const bool device : {true, false}) {
        HeadlessPlatform platform;
        platform.setAudioMissing(!device);
        SoundSet set;
        set.loadAll(loose, platform);
        const std::vector<std::string>& problems = set.problems();
        EXPECT_EQ(problems.size(), 7u);
        EXPECT_EQ(
            std::count(problems.begin(), problems.end(), "snd/button.wav: not a RIFF/WAVE sound"),
            1);
        EXPECT_EQ(
            std::count(problems.begin(), problems.end(), "snd/game_won.wav: missing or empty"), 1);
        set.play(Sound::Button);
        set.play(Sound::GameWon);
        set.play(Sound::FlagSet);
        EXPECT_EQ(platform.soundsPlayed().size(), device ? 1u : 0u);
        set.release();
    }
}

}  // namespace
}  // namespace brv
