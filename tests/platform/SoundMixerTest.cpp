#include "platform/SoundMixer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace brv {
namespace {

using Samples = std::vector<std::int16_t>;

Samples mix(SoundMixer& mixer, std::initializer_list<Samples> clips, int count, int rate = 22050) {
    for (const Samples& clip : clips) {
        mixer.start(std::make_shared<const SoundClip>(SoundClip{rate, clip}));
    }
    Samples out(static_cast<std::size_t>(count), 123);
    mixer.mix(out.data(), count);
    return out;
}

TEST(SoundMixer, SumsVoicesAtTheVolumeStretchesSlowClipsAndReusesTheOldestVoice) {
    SoundMixer mixer(22050);
    EXPECT_EQ(mix(mixer, {}, 2), (Samples{0, 0})) << "silence without voices";
    EXPECT_EQ(mix(mixer, {{1000, -1000, 1000}, {30000, -30000}}, 4),
              (Samples{31000, -31000, 1000, 0}));
    EXPECT_EQ(mix(mixer, {{30000, -30000}, {30000, -30000}}, 2), (Samples{32767, -32768}));
    mixer.setVolume(50);
    EXPECT_EQ(mix(mixer, {{30000, -30000}}, 2), (Samples{15000, -15000}));
    mixer.setVolume(100);
    EXPECT_EQ(mix(mixer, {{}, {5}}, 1, 0), (Samples{0})) << "no samples or no rate: no voice";

    // Half the output's rate: twice as long, halfway values between samples.
    EXPECT_EQ(mix(mixer, {{0, 1000, 2000}}, 7, 11025),
              (Samples{0, 500, 1000, 1500, 2000, 2000, 0}));

    // A fifth effect takes the voice that started first.
    EXPECT_EQ(mix(mixer, {Samples(8, 1), Samples(8, 10), Samples(8, 100), Samples(8, 1000)}, 1),
              (Samples{1111}));
    EXPECT_EQ(mix(mixer, {Samples(8, 10000)}, 1), (Samples{11110}));
    EXPECT_EQ(mixer.playingCount(), SoundMixer::kVoices);
    mixer.stopAll();
    EXPECT_EQ(mix(mixer, {}, 1), (Samples{0}));
}

}  // namespace
}  // namespace brv
