#include "audio/WavDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/audio/WavBytes.h"

namespace brv {
namespace {

using test::chunk;
using test::fmtChunk;
using test::riff;
using namespace std::string_literals;

bool decode(const std::string& bytes, SoundClip& clip, std::string* problem = nullptr) {
    return decodeWav(bytes.data(), bytes.size(), clip, problem);
}

TEST(WavDecoding, ReadsEightAndSixteenBitMonoAndStereoAsMono) {
    SoundClip clip;
    ASSERT_TRUE(decode(
        riff(fmtChunk(1, 1, 22050, 16) + chunk("data", test::samples16({0, 1000, -32768, 32767}))),
        clip));
    EXPECT_EQ(clip.sampleRate, 22050);
    EXPECT_EQ(clip.samples, (std::vector<std::int16_t>{0, 1000, -32768, 32767}));

    // Unsigned 8-bit stereo, channels averaged; an odd-sized chunk before the
    // data is skipped with its pad byte, and a partial last frame dropped.
    const std::string frames = {'\xFF', '\xFF', '\x00', '\x80', '\x80', '\x00', '\x01'};
    ASSERT_TRUE(decode(
        riff(fmtChunk(1, 2, 11025, 8) + chunk("LIST", "abc") + chunk("data", frames)), clip));
    EXPECT_EQ(clip.sampleRate, 11025);
    EXPECT_EQ(clip.samples, (std::vector<std::int16_t>{32512, -16384, -16384}));

    // Data before its format, and 16-bit stereo.
    ASSERT_TRUE(
        decode(riff(chunk("data", test::samples16({100, 300, -8, -8})) + fmtChunk(1, 2, 44100, 16)),
               clip));
    EXPECT_EQ(clip.samples, (std::vector<std::int16_t>{200, -8}));
}

TEST(WavDecoding, RefusesDamagedForeignAndUnplayableInputWithAReason) {
    const std::string samples = test::samples16({1, 2, 3, 4, 5});
    const std::string data = chunk("data", samples);
    const std::string pcm = fmtChunk(1, 1, 22050, 16);
    const std::pair<std::string, std::string> cases[] = {
        {"", "not a RIFF/WAVE"},
        {"RIFF\x10\0\0\0AVI LIST"s, "not a RIFF/WAVE"},
        {riff(data), "no fmt chunk"},
        {riff(chunk("fmt ", std::string(14, '\1')) + data), "fmt chunk of 14 bytes"},
        {riff(fmtChunk(3, 1, 22050, 32) + data), "format tag 3"},
        {riff(fmtChunk(1, 1, 22050, 24) + data), "24 bits per sample"},
        {riff(fmtChunk(1, 3, 22050, 16) + data), "3 channels"},
        {riff(fmtChunk(1, 1, 0, 16) + data), "sample rate 0 Hz"},
        {riff(fmtChunk(1, 1, 22050, 16, 4) + data), "block size 4"},
        {riff(pcm), "no data chunk"},
        {riff(pcm + chunk("data", samples, 100)), "cut short (10 of 100 bytes)"},
        {riff(pcm + chunk("data", "\1")), "no samples"},
    };
    for (const auto& [bytes, reason] : cases) {
        SoundClip clip{8000, {7}};
        std::string problem;
        EXPECT_FALSE(decode(bytes, clip, &problem)) << reason;
        EXPECT_NE(problem.find(reason), std::string::npos) << problem;
        EXPECT_EQ(clip.sampleRate, 8000) << reason;
        EXPECT_EQ(clip.samples.size(), 1u) << reason;
    }
    // Any cut of a whole file loses its data or part of it.
    const std::string whole = riff(pcm + data);
    SoundClip clip;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(decodeWav(whole.data(), size, clip)) << size;
    }
    EXPECT_FALSE(decodeWav(nullptr, 100, clip));
}

}  // namespace
}  // namespace brv
