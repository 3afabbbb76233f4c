#include "config/KeyValueFile.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/Clock.h"
#include "platform/FileIo.h"
#include "platform/Random.h"

namespace brv {

void stripComments(std::string& text) {
    std::size_t i = 0;
    while (i + 1 < text.size()) {
        if (text[i] == '/' && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n') {
                text[i++] = ' ';
            }
        } else {
            ++i;
        }
    }
}

void KeyValueFile::parse(std::string text) {
    stripComments(text);
    tokenize(text, [this](std::string key, std::string value) {
        entries_[std::move(key)] = std::move(value);
    });
}

bool KeyValueFile::loadFromMemory(const void* data, std::size_t size, bool clearFirst,
                                  const char* key, std::size_t keyLength) {
    std::string text;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (key != nullptr && keyLength > 0) {
        if (!unscramble(bytes, size, key, keyLength, text)) {
            return false;
        }
    } else if (size > 0) {
        text.assign(reinterpret_cast<const char*>(bytes), size);
    }
    if (clearFirst) {
        entries_.clear();
    }
    parse(std::move(text));
    return true;
}

bool KeyValueFile::loadFromFile(const std::string& path, bool clearFirst, const char* key,
                                std::size_t keyLength, ReadProblem* why) {
    ReadProblem problem;
    auto bytes = readWholeFile(path, kMaxFileBytes, problem);
    if (why != nullptr) {
        *why = problem;
    }
    if (!bytes) {
        return false;
    }
    return loadFromMemory(bytes->data(), bytes->size(), clearFirst, key, keyLength);
}

std::string KeyValueFile::toText() const {
    std::string text;
    for (const auto& [k, v] : entries_) {
        text += k;
        text += ' ';
        if (v.find(' ') != std::string::npos) {
            text += '"';
            text += v;
            text += '"';
        } else {
            text += v;
        }
        text += '\n';
    }
    return text;
}

bool KeyValueFile::saveToFile(const std::string& path, const char* key,
                              std::size_t keyLength) const {
    std::string text = toText();
    if (key != nullptr && keyLength > 0) {
        // The rotation only has to differ between writes; a private generator
        // seeded from the clock keeps the game's own sequence untouched.
        LcgRandom rotation{clockSeconds()};
        auto stored = scramble(text, key, keyLength, static_cast<std::uint32_t>(rotation.next()));
        return writeFileAtomically(path, stored.data(), stored.size());
    }
    return writeFileAtomically(path, text.data(), text.size());
}

std::string KeyValueFile::get(const std::string& key, const std::string& defaultValue) const {
    auto it = entries_.find(key);
    return it == entries_.end() ? defaultValue : it->second;
}

void KeyValueFile::set(const std::string& key, const std::string& value) {
    entries_[key] = value;
}

std::vector<std::uint8_t> scramble(const std::string& plain, const char* key, std::size_t keyLength,
                                   std::uint32_t draw) {
    const std::size_t n = plain.size();
    std::vector<std::uint8_t> e(n + 1);
    const std::size_t r = draw;
    std::size_t m = n == 0 ? 0 : (n <= 100 ? r % n : r % 100);
    e[0] = static_cast<std::uint8_t>(m);
    for (std::size_t j = 0; j < n; ++j) {
        e[1 + j] = static_cast<std::uint8_t>(plain[(m + j) % n]);
    }
    for (std::size_t i = 1; i <= n; ++i) {
        const std::uint8_t prev = e[i - 1];
        const auto k = static_cast<std::uint8_t>(key[i % keyLength]);
        e[i] = static_cast<std::uint8_t>(((e[i] ^ prev) ^ k) + prev);
    }
    return e;
}

bool unscramble(const std::uint8_t* stored, std::size_t size, const char* key,
                std::size_t keyLength, std::string& plain) {
    if (size < 2 || keyLength == 0) {
        return false;
    }
    const std::size_t n = size - 1;
    const int m = static_cast<signed char>(stored[0]);
    if (m < 0 || static_cast<std::size_t>(m) >= n) {
        return false;
    }
    plain.assign(n, '\0');
    for (std::size_t j = 1; j <= n; ++j) {
        const std::uint8_t prev = stored[j - 1];
        const auto k = static_cast<std::uint8_t>(key[j % keyLength]);
        const auto r =
            static_cast<std::uint8_t>((static_cast<std::uint8_t>(stored[j] - prev) ^ k) ^ prev);
        plain[(static_cast<std::size_t>(m) + j - 1) % n] = static_cast<char>(r);
    }
    return true;
}

namespace {
int clampToInt(long long v) {
    if (v > INT_MAX) {
        return INT_MAX;
    }
    if (v < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(v);
}
}  // namespace

int toInt(const std::string& value) {
    errno = 0;
    return clampToInt(std::strtoll(value.c_str(), nullptr, 10));
}

float toFloat(const std::string& value) {
    double d = std::strtod(value.c_str(), nullptr);
    // Values beyond float range saturate instead of turning into infinities.
    if (std::isfinite(d) && std::fabs(d) > 3.0e38) {
        d = d > 0 ? 3.0e38 : -3.0e38;
    }
    return static_cast<float>(d);
}

void toIntArray(const std::string& value, int* slots, int count) {
    std::size_t pos = 0;
    const std::size_t n = value.size();
    for (int slot = 0; slot < count; ++slot) {
        std::size_t end = value.find(' ', pos);
        if (end == std::string::npos) {
            end = n;
        }
        std::string piece = value.substr(pos, end - pos);
        if (!piece.empty()) {
            slots[slot] = clampToInt(std::strtoll(piece.c_str(), nullptr, 0));
        }
        if (end >= n) {
            return;
        }
        pos = end;
        while (pos < n && value[pos] == ' ') {
            ++pos;
        }
        if (pos >= n) {
            return;
        }
    }
}

}  // namespace brv
