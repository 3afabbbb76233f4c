#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/FileIo.h"

namespace brv {

// A flat, ordered list of key-value pairs: the form of every text data file.
// Keys are unique and ordered byte-wise on unsigned bytes (the writer emits
// them in that order). Scrambled files carry a key that unlocks them.
class KeyValueFile {
public:
    using Map = std::map<std::string, std::string>;

    // Parses `size` bytes. With a key the bytes are first unscrambled; damaged
    // scrambled input is refused (false) and the map is left untouched, exactly
    // as for a file that cannot be opened. Plain text always parses.
    bool loadFromMemory(const void* data, std::size_t size, bool clearFirst,
                        const char* key = nullptr, std::size_t keyLength = 0);

    // False (map untouched) when the file cannot be opened or read; `why`
    // (when given) then says whether it was absent or unreadable, and stays
    // empty when the bytes were read but are damaged.
    bool loadFromFile(const std::string& path, bool clearFirst, const char* key = nullptr,
                      std::size_t keyLength = 0, ReadProblem* why = nullptr);

    // Writes every entry in map order, scrambled when a key is given. The file
    // is replaced atomically; false when it cannot be written.
    bool saveToFile(const std::string& path, const char* key = nullptr,
                    std::size_t keyLength = 0) const;

    // The text the writer would emit, before scrambling.
    std::string toText() const;

    std::string get(const std::string& key, const std::string& defaultValue) const;
    void set(const std::string& key, const std::string& value);
    void clear() { entries_.clear(); }
    bool contains(const std::string& key) const { return entries_.count(key) != 0; }
    std::size_t size() const { return entries_.size(); }
    const Map& entries() const { return entries_; }

private:
    void parse(std::string text);

    Map entries_;
};

// Blanks every comment ("//" up to, not including, the next line feed) in place.
void stripComments(std::string& text);

// Calls `onPair(key, value)` for every pair of an already comment-free text.
template <typename OnPair>
void tokenize(const std::string& text, OnPair&& onPair);

// The keyed transformation of whole texts. `scramble` rotates by a value drawn
// from `draw` (any non-negative number) and returns text.size() + 1 bytes.
std::vector<std::uint8_t> scramble(const std::string& plain, const char* key, std::size_t keyLength,
                                   std::uint32_t draw);
// Returns false for damaged input (fewer than 2 bytes, rotation outside 0..n-1).
bool unscramble(const std::uint8_t* stored, std::size_t size, const char* key,
                std::size_t keyLength, std::string& plain);

// Conversions applied to the strings `get` returns.
int toInt(const std::string& value);
float toFloat(const std::string& value);
// Splits at single spaces (runs count as one; a leading space gives an empty
// first piece) and reads each piece as a C integer literal into consecutive
// slots. Slots without a piece keep their contents.
void toIntArray(const std::string& value, int* slots, int count);

inline bool isKvWhitespace(unsigned char c) {
    return c == 9 || c == 10 || c == 13 || c == 32;
}

template <typename OnPair>
void tokenize(const std::string& text, OnPair&& onPair) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    auto skipSpace = [&] {
        while (i < n && isKvWhitespace(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
    };
    auto readWord = [&] {
        std::size_t start = i;
        while (i < n && !isKvWhitespace(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        return text.substr(start, i - start);
    };
    for (;;) {
        skipSpace();
        std::string key = readWord();
        if (key.empty()) {
            return;
        }
        skipSpace();
        std::string value;
        if (i < n && text[i] == '"') {
            std::size_t close = text.find('"', i + 1);
            if (close == std::string::npos) {
                value = text.substr(i + 1);
                i = n;
            } else {
                value = text.substr(i + 1, close - i - 1);
                i = close + 1;
            }
        } else {
            value = readWord();
        }
        onPair(std::move(key), std::move(value));
        if (i >= n) {
            return;
        }
    }
}

}  // namespace brv
