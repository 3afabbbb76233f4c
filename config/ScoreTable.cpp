#include "config/ScoreTable.h"

#include <algorithm>
#include <cstdio>

#include "config/KeyValueFile.h"

namespace brv {

namespace {

constexpr char kKey[] = "ze#81p";
constexpr std::size_t kKeyLength = 6;

std::string indexed(const char* prefix, std::size_t i) {
    char key[32];
    std::snprintf(key, sizeof key, "%s%zu", prefix, i);
    return key;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// The bytes the key-value format cannot carry in a value: a '"' would end the
// quoted name, line breaks and tabs split it, and a '/' right after a written
// '/' would make the reader blank the rest of the line as a comment.
bool needsEscape(unsigned char c, char previousOut) {
    return c == '"' || c == '\t' || c == '\n' || c == '\r' || (c == '/' && previousOut == '/');
}

}  // namespace

std::string ScoreTable::encodeName(const std::string& name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (needsEscape(c, out.empty() ? '\0' : out.back())) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string ScoreTable::decodeName(const std::string& stored) {
    std::string out;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        // Only the escapes encodeName writes are read back; any other '%' is a
        // character the player typed ("100%", "50%AB").
        if (stored[i] == '%' && i + 2 < stored.size() && hexValue(stored[i + 1]) >= 0 &&
            hexValue(stored[i + 2]) >= 0) {
            const auto c =
                static_cast<unsigned char>(hexValue(stored[i + 1]) * 16 + hexValue(stored[i + 2]));
            if (needsEscape(c, out.empty() ? '\0' : out.back())) {
                out += static_cast<char>(c);
                i += 2;
                continue;
            }
        }
        out += stored[i];
    }
    return out;
}

bool ScoreTable::load(const std::string& path) {
    KeyValueFile file;
    if (!file.loadFromFile(path, true, kKey, kKeyLength)) {
        return false;
    }
    // Every table written holds its count as digits; bytes that unscramble to
    // anything else are not a table, and reading them would leave it empty.
    const std::string stored = file.get("num", "");
    if (stored.empty() || stored.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    entries_.clear();
    // A damaged count cannot claim more entries than the file has keys.
    const int num = toInt(file.get("num", "0"));
    const std::size_t count = std::min<std::size_t>(num > 0 ? num : 0, file.size());
    for (std::size_t i = 0; i < count; ++i) {
        Entry entry;
        entry.name = decodeName(file.get(indexed("name", i), "0"));
        // An empty name could not be written back: the next key would be read
        // as its value and the table lost on the run after.
        if (entry.name.empty()) {
            entry.name = kAnonymous;
        }
        entry.score = toInt(file.get(indexed("score", i), "0"));
        entries_.push_back(std::move(entry));
    }
    return true;
}

bool ScoreTable::save(const std::string& path) const {
    KeyValueFile file;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        file.set(indexed("name", i), encodeName(entries_[i].name));
        file.set(indexed("score", i), std::to_string(entries_[i].score));
    }
    file.set("num", std::to_string(entries_.size()));
    return file.saveToFile(path, kKey, kKeyLength);
}

int ScoreTable::rank(int score) const {
    if (score == 0) {
        return -1;
    }
    const auto better = std::find_if(entries_.begin(), entries_.end(),
                                     [score](const Entry& e) { return e.score < score; });
    const auto position = better - entries_.begin();
    return position >= kSize ? -1 : static_cast<int>(position);
}

void ScoreTable::insert(const std::string& name, int score) {
    // An empty name could not be written (the file would read the next key as
    // its value); it gets the name the game gives every nameless player.
    const std::string stored = name.empty() ? std::string(kAnonymous) : name;
    const auto at = std::find_if(entries_.begin(), entries_.end(),
                                 [score](const Entry& e) { return e.score < score; });
    entries_.insert(at, Entry{stored, score});
    if (entries_.size() > static_cast<std::size_t>(kSize)) {
        entries_.resize(kSize);
    }
}

}  // namespace brv
