#include "platform/SoundMixer.h"

#include <algorithm>

namespace brv {

void SoundMixer::start(std::shared_ptr<const SoundClip> clip) {
    if (!clip || clip->samples.empty() || clip->sampleRate <= 0) {
        return;
    }
    Voice* chosen = &voices_.front();
    for (Voice& voice : voices_) {
        if (!voice.playing()) {
            chosen = &voice;
            break;
        }
        if (voice.started < chosen->started) {
            chosen = &voice;
        }
    }
    chosen->clip = std::move(clip);
    chosen->position = 0;
    chosen->step = (static_cast<std::uint64_t>(chosen->clip->sampleRate) << 16) /
                   static_cast<std::uint64_t>(outputRate_);
    chosen->step = std::max<std::uint64_t>(chosen->step, 1);
    chosen->started = ++starts_;
}

void SoundMixer::stopAll() {
    for (Voice& voice : voices_) {
        voice = Voice{};
    }
}

void SoundMixer::setVolume(int percent) {
    volume_ = std::clamp(percent, 0, 100);
}

int SoundMixer::playingCount() const {
    return static_cast<int>(
        std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.playing(); }));
}

void SoundMixer::mix(std::int16_t* out, int count) {
    std::fill(out, out + std::max(count, 0), std::int16_t{0});
    for (Voice& voice : voices_) {
        if (!voice.playing()) {
            continue;
        }
        const std::vector<std::int16_t>& samples = voice.clip->samples;
        const std::size_t last = samples.size() - 1;
        for (int i = 0; i < count; ++i) {
            const std::size_t at = voice.position >> 16;
            if (at > last) {
                break;
            }
            // Linear between neighbours, so a clip played at another rate
            // does not buzz.
            const std::int64_t frac = static_cast<std::int64_t>(voice.position & 0xFFFF);
            const std::int64_t a = samples[at];
            const std::int64_t b = samples[std::min(at + 1, last)];
            const std::int64_t sample = (a * (0x10000 - frac) + b * frac) >> 16;
            const std::int64_t sum = out[i] + sample * volume_ / 100;
            out[i] = static_cast<std::int16_t>(std::clamp<std::int64_t>(sum, -32768, 32767));
            voice.position += voice.step;
        }
    }
}

}  // namespace brv
