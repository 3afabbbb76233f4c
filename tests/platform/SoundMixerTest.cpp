#include "platform/SoundMixer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace brv {
namespace {

std::shared_ptr<const SoundClip> clipOf(std::vector<std::int16_t> samples, int rate = 22050) {
    return std::make_shared<const SoundClip>(SoundClip{rate, std::move(samples)});
}

std::vector<std::int16_t> mixed(SoundMixer& mixer, int count) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(count), 123);
    mixer.mix(out.data(), count);
    return out;
}

using Samples = std::vector<std::int16_t>;

TEST(SoundMixer, SumsItsVoicesAtTheVolumeSaturatingAtFullScale) {
    SoundMixer mixer(22050);
    EXPECT_EQ(mixed(mixer, 3), (Samples{0, 0, 0})) << "silence without voices";
    mixer.start(clipOf({1000, -1000, 1000}));
    mixer.start(clipOf({30000, -30000}));
    EXPECT_EQ(mixer.playingCount(), 2);
    EXPECT_EQ(mixed(mixer, 4), (Samples{31000, -31000, 1000, 0}));
    EXPECT_EQ(mixer.playingCount(), 0);

    mixer.start(clipOf({30000, -30000}));
    mixer.start(clipOf({30000, -30000}));
    EXPECT_EQ(mixed(mixer, 2), (Samples{32767, -32768}));

    mixer.setVolume(50);
    mixer.start(clipOf({30000, -30000}));
    EXPECT_EQ(mixed(mixer, 2), (Samples{15000, -15000}));
    mixer.start(clipOf({30000, -30000}));
    mixer.setVolume(0);
    EXPECT_EQ(mixed(mixer, 2), (Samples{0, 0}));

    // Empty clips and clips without a rate take no voice.
    mixer.start(clipOf({}));
    mixer.start(clipOf({5}, 0));
    mixer.start(nullptr);
    EXPECT_EQ(mixer.playingCount(), 0);
}

TEST(SoundMixer, StretchesSlowerClipsAndGivesAFifthEffectTheOldestVoice) {
    SoundMixer mixer(22050);
    // Half the output's rate: twice as long, halfway values between samples.
    mixer.start(clipOf({0, 1000, 2000}, 11025));
    EXPECT_EQ(mixed(mixer, 7), (Samples{0, 500, 1000, 1500, 2000, 2000, 0}));

    for (const std::int16_t level : {1, 10, 100, 1000}) {
        mixer.start(clipOf(std::vector<std::int16_t>(8, level)));
    }
    EXPECT_EQ(mixed(mixer, 2), (Samples{1111, 1111}));
    mixer.start(clipOf(std::vector<std::int16_t>(8, 10000)));
    EXPECT_EQ(mixer.playingCount(), SoundMixer::kVoices);
    EXPECT_EQ(mixed(mixer, 1), (Samples{11110}));
    mixer.stopAll();
    EXPECT_EQ(mixed(mixer, 1), (Samples{0}));
}

}  // namespace
}  // namespace brv
