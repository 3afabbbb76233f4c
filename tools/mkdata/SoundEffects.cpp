#include "tools/mkdata/SoundEffects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace brv::art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// One voice of an effect: a tone gliding from `from` to `to` Hz, with some
// of its second and third harmonic for colour. The envelope rises over
// `attack` seconds on a half cosine, decays by `decay` per second and fades
// to exactly zero over its last `release` seconds, so no effect clicks.
struct Tone {
    double start = 0;
    double length = 0.1;
    double from = 440;
    double to = 440;
    double level = 0.3;
    double second = 0;
    double third = 0;
    double attack = 0.005;
    double decay = 0;
    double release = 0.02;
    double vibrato = 0;  // depth in Hz at 6 per second
};

// A hiss band for the heavier effects: seeded white noise through a one-pole
// low-pass whose corner glides from `from` to `to` Hz.
struct Hiss {
    double start = 0;
    double length = 0.3;
    double from = 1200;
    double to = 200;
    double level = 0.2;
    double attack = 0.01;
    double decay = 0;
    double release = 0.1;
    std::uint32_t seed = 1;
};

struct Recipe {
    const char* path;
    double length;
    std::vector<Tone> tones;
    std::vector<Hiss> hisses;
};

double envelope(double t, double length, double attack, double decay, double release) {
    if (t < 0 || t >= length) {
        return 0;
    }
    double e = std::exp(-decay * t);
    if (t < attack) {
        e *= 0.5 - 0.5 * std::cos(kPi * t / attack);
    }
    const double left = length - t;
    if (left < release) {
        e *= 0.5 - 0.5 * std::cos(kPi * left / release);
    }
    return e;
}

void addTone(const Tone& tone, std::vector<double>& mix) {
    const auto first = static_cast<std::size_t>(tone.start * kSoundRate);
    const auto count = static_cast<std::size_t>(tone.length * kSoundRate);
    double phase = 0;
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kSoundRate;
        const double along = t / tone.length;
        // A glide even in pitch: the same musical step every moment.
        double hz = tone.from * std::pow(tone.to / tone.from, along);
        hz += tone.vibrato * std::sin(2 * kPi * 6 * t);
        phase += 2 * kPi * hz / kSoundRate;
        const double wave =
            std::sin(phase) + tone.second * std::sin(2 * phase) + tone.third * std::sin(3 * phase);
        mix[first + i] +=
            tone.level * wave * envelope(t, tone.length, tone.attack, tone.decay, tone.release);
    }
}

void addHiss(const Hiss& hiss, std::vector<double>& mix) {
    const auto first = static_cast<std::size_t>(hiss.start * kSoundRate);
    const auto count = static_cast<std::size_t>(hiss.length * kSoundRate);
    std::uint32_t state = hiss.seed;
    double low = 0;
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const double white = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
        const double t = static_cast<double>(i) / kSoundRate;
        const double corner = hiss.from * std::pow(hiss.to / hiss.from, t / hiss.length);
        low += (1 - std::exp(-2 * kPi * corner / kSoundRate)) * (white - low);
        mix[first + i] +=
            hiss.level * low * envelope(t, hiss.length, hiss.attack, hiss.decay, hiss.release);
    }
}

std::vector<std::int16_t> render(const Recipe& recipe) {
    std::vector<double> mix(static_cast<std::size_t>(recipe.length * kSoundRate), 0.0);
    for (const Tone& tone : recipe.tones) {
        addTone(tone, mix);
    }
    for (const Hiss& hiss : recipe.hisses) {
        addHiss(hiss, mix);
    }
    std::vector<std::int16_t> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(), [](double v) {
        return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
    });
    return samples;
}

// Notes of the effects, in Hz.
constexpr double kC4 = 261.63, kEb4 = 311.13, kG4 = 392.00, kC5 = 523.25, kE5 = 659.26,
                 kG5 = 783.99, kC6 = 1046.50, kE6 = 1318.51;

// A held note with some body (second and third harmonic), starting at `start`.
Tone note(double start, double length, double hz, double level, double decay, double release) {
    return {.start = start,
            .length = length,
            .from = hz,
            .to = hz,
            .level = level,
            .second = 0.18,
            .third = 0.06,
            .attack = 0.01,
            .decay = decay,
            .release = release};
}

// A short pure tone sliding from one pitch to another.
Tone glide(double length, double from, double to, double level, double decay) {
    return {.length = length, .from = from, .to = to, .level = level, .decay = decay};
}

Tone withVibrato(Tone tone, double depth) {
    tone.vibrato = depth;
    return tone;
}

// Soft and short: the loudest peak stays near half of full scale, the
// player's own actions are the shortest, the end of a game the longest.
std::vector<Recipe> recipes() {
    const Hiss breath{.length = 0.5,
                      .from = 1800,
                      .to = 250,
                      .level = 0.3,
                      .decay = 4,
                      .release = 0.2,
                      .seed = 0x5EEDu};
    return {
        // A quick upward blip: something placed.
        {"snd/flag_set.wav", 0.09, {glide(0.09, 620, 990, 0.42, 18)}, {}},
        // The same blip falling: something taken away.
        {"snd/flag_removed.wav", 0.1, {glide(0.1, 880, 470, 0.38, 20)}, {}},
        // Glassy notes with a shimmer: a new source of life.
        {"snd/source_appears.wav",
         0.45,
         {withVibrato(note(0, 0.3, kE6, 0.14, 8, 0.12), 6),
          withVibrato(note(0.08, 0.37, kG5 * 2, 0.14, 7, 0.15), 7),
          note(0, 0.45, kC6, 0.07, 5, 0.2)},
         {}},
        // A low falling thump in a breath of noise: a colony gone.
        {"snd/colony_wiped.wav", 0.5, {glide(0.45, 240, 90, 0.38, 5)}, {breath}},
        // Three falling minor notes: the player's colony is lost.
        {"snd/player_lost.wav",
         0.8,
         {note(0, 0.3, kG4, 0.3, 3, 0.08), note(0.22, 0.3, kEb4, 0.3, 3, 0.08),
          note(0.44, 0.36, kC4, 0.32, 3, 0.2)},
         {}},
        // A rising major arpeggio: the game is won.
        {"snd/game_won.wav",
         0.8,
         {note(0, 0.25, kC5, 0.22, 4, 0.08), note(0.12, 0.25, kE5, 0.22, 4, 0.08),
          note(0.24, 0.25, kG5, 0.22, 4, 0.08),
          withVibrato(note(0.36, 0.44, kC6, 0.24, 3, 0.25), 4)},
         {}},
        // A tiny soft tick.
        {"snd/button.wav", 0.06, {glide(0.06, 1400, 1100, 0.3, 40)}, {}},
        // Two low dull knocks, the second lower: a click the game refused.
        {"snd/refused.wav",
         0.2,
         {note(0, 0.08, kEb4 / 2, 0.3, 25, 0.03), note(0.1, 0.1, kC4 / 2, 0.3, 25, 0.04)},
         {}},
    };
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

}  // namespace

std::vector<std::uint8_t> encodeWav(int sampleRate, const std::vector<std::int16_t>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, rate);
    put32(out, rate * 2);  // bytes per second
    put16(out, 2);         // bytes per frame
    put16(out, 16);        // bits per sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (const std::int16_t s : samples) {
        put16(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

std::vector<ArtFile> synthesiseSoundEffects() {
    std::vector<ArtFile> files;
    for (const Recipe& recipe : recipes()) {
        files.push_back({recipe.path, encodeWav(kSoundRate, render(recipe))});
    }
    return files;
}

}  // namespace brv::art
