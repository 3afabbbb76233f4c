#include "audio/WavDecoder.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

namespace brv {

namespace {

constexpr std::size_t kChunkHeader = 8;
constexpr std::uint16_t kFormatPcm = 1;
// Rates outside this range are no sound a player would hear as meant.
constexpr std::uint32_t kMinRate = 1000;
constexpr std::uint32_t kMaxRate = 192000;

std::uint16_t read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Format {
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
};

struct Chunks {
    const std::uint8_t* fmt = nullptr;
    std::size_t fmtSize = 0;
    const std::uint8_t* data = nullptr;
    std::size_t dataSize = 0;
    std::uint32_t dataClaimed = 0;
};

bool fail(std::string* problem, const std::string& why) {
    if (problem != nullptr) {
        *problem = why;
    }
    return false;
}

// Finds the first "fmt " and "data" chunks. Every step moves at least one
// chunk header on, so the walk ends within the buffer; a chunk that claims
// more than is left keeps only what is there.
Chunks findChunks(const std::uint8_t* bytes, std::size_t end) {
    Chunks found;
    std::size_t at = 12;
    while (end - at >= kChunkHeader) {
        const std::uint8_t* header = bytes + at;
        const std::uint32_t claimed = read32(header + 4);
        const std::size_t left = end - at - kChunkHeader;
        const std::size_t there = claimed < left ? claimed : left;
        if (std::memcmp(header, "fmt ", 4) == 0 && found.fmt == nullptr) {
            found.fmt = header + kChunkHeader;
            found.fmtSize = there;
        } else if (std::memcmp(header, "data", 4) == 0 && found.data == nullptr) {
            found.data = header + kChunkHeader;
            found.dataSize = there;
            found.dataClaimed = claimed;
        }
        // Chunks are padded to an even length.
        const std::size_t padded = there + (claimed & 1u);
        if (padded >= left) {
            break;
        }
        at += kChunkHeader + padded;
    }
    return found;
}

bool readFormat(const Chunks& chunks, Format& format, std::string* problem) {
    if (chunks.fmt == nullptr) {
        return fail(problem, "no fmt chunk");
    }
    if (chunks.fmtSize < 16) {
        return fail(problem,
                    "fmt chunk of " + std::to_string(chunks.fmtSize) + " bytes (16 needed)");
    }
    const std::uint8_t* f = chunks.fmt;
    const std::uint16_t tag = read16(f);
    format.channels = read16(f + 2);
    format.rate = read32(f + 4);
    format.blockAlign = read16(f + 12);
    format.bits = read16(f + 14);
    if (tag != kFormatPcm) {
        return fail(problem, "not plain PCM (format tag " + std::to_string(tag) + ")");
    }
    if (format.bits != 8 && format.bits != 16) {
        return fail(problem, std::to_string(format.bits) + " bits per sample (8 or 16 play)");
    }
    if (format.channels != 1 && format.channels != 2) {
        return fail(problem, std::to_string(format.channels) + " channels (1 or 2 play)");
    }
    if (format.rate < kMinRate || format.rate > kMaxRate) {
        return fail(problem, "sample rate " + std::to_string(format.rate) + " Hz outside " +
                                 std::to_string(kMinRate) + ".." + std::to_string(kMaxRate));
    }
    if (format.blockAlign != format.channels * format.bits / 8) {
        return fail(problem, "block size " + std::to_string(format.blockAlign) +
                                 " does not fit the channels and bits");
    }
    return true;
}

std::int32_t sampleAt(const std::uint8_t* p, int bits) {
    if (bits == 8) {
        return (static_cast<std::int32_t>(p[0]) - 128) * 256;
    }
    return static_cast<std::int16_t>(read16(p));
}

}  // namespace

bool decodeWav(const void* data, std::size_t size, SoundClip& out, std::string* problem) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (bytes == nullptr || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        return fail(problem, "not a RIFF/WAVE sound");
    }
    const Chunks chunks = findChunks(bytes, size);
    Format format;
    if (!readFormat(chunks, format, problem)) {
        return false;
    }
    if (chunks.data == nullptr) {
        return fail(problem, "no data chunk");
    }
    if (chunks.dataSize < chunks.dataClaimed) {
        return fail(problem, "the data chunk is cut short (" + std::to_string(chunks.dataSize) +
                                 " of " + std::to_string(chunks.dataClaimed) + " bytes)");
    }
    // A trailing partial frame is no sample.
    const std::size_t frames = chunks.dataSize / format.blockAlign;
    if (frames == 0) {
        return fail(problem, "no samples");
    }
    SoundClip clip;
    clip.sampleRate = static_cast<int>(format.rate);
    clip.samples.resize(frames);
    const std::size_t width = format.bits / 8;
    for (std::size_t i = 0; i < frames; ++i) {
        const std::uint8_t* frame = chunks.data + i * format.blockAlign;
        std::int32_t sum = sampleAt(frame, format.bits);
        if (format.channels == 2) {
            sum = (sum + sampleAt(frame + width, format.bits)) / 2;
        }
        clip.samples[i] = static_cast<std::int16_t>(sum);
    }
    out = std::move(clip);
    return true;
}

}  // namespace brv
