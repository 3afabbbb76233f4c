#include "config/ScoreTable.h"

#include <algorithm>
#include <cstdio>
#include <optional>

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

// Whether a '%' followed by text[from..] reads back as an escape, `previous`
// being the byte before that '%'. A '%' the player typed in such a place is
// written as "%25" itself; "%25" only counts as an escape there, so names an
// earlier version stored bare ("100%", "50%AB", "x%25y") read as they did.
bool startsEscape(const std::string& text, std::size_t from, char previous) {
    // Loops rather than recurses: a damaged name may hold any run of "25".
    for (; from + 1 < text.size(); from += 2) {
        const int high = hexValue(text[from]);
        const int low = hexValue(text[from + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        const auto c = static_cast<unsigned char>(high * 16 + low);
        if (needsEscape(c, previous)) {
            return true;
        }
        if (c != '%') {
            return false;
        }
    }
    return false;
}

// A score as "%i" writes it: no sign but '-', no leading zero.
bool isWholeNumber(const std::string& text) {
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > digits && text.size() - digits <= 10 &&
           text.find_first_not_of("0123456789", digits) == std::string::npos &&
           (text[digits] != '0' || text == "0");
}

// Lines as the writer makes them, "key value": tabs and carriage returns
// travel escaped, and no value ends in a space or a blank line.
bool isWrittenLayout(const std::string& plain) {
    return !plain.empty() && plain.back() == '\n' && !isKvWhitespace(plain.front()) &&
           plain.find_first_of("\t\r") == std::string::npos &&
           plain.find(" \n") == std::string::npos && plain.find("\n\n") == std::string::npos;
}

// The number of entries of a table as the game writes it: lines as written,
// "num" holds the count in digits, and the keys are exactly that many
// name<i> and score<i> (a whole number) besides it. A table cut short or
// with a flipped bit almost always breaks one of these, so it is refused
// rather than read with entries named "0" scoring 0 or entries missing.
std::optional<std::size_t> wholeTableCount(const std::string& plain, const KeyValueFile& file) {
    const std::string num = file.get("num", "");
    if (!isWrittenLayout(plain) || num.empty() || num.size() > 9 ||
        num.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const auto count = static_cast<std::size_t>(std::stoul(num));
    if (file.size() != 2 * count + 1) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!file.contains(indexed("name", i)) ||
            !isWholeNumber(file.get(indexed("score", i), ""))) {
            return std::nullopt;
        }
    }
    return count;
}

}  // namespace

std::string ScoreTable::encodeName(const std::string& name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool typedEscape = c == '%' && startsEscape(name, i + 1, i > 0 ? name[i - 1] : '\0');
        if (typedEscape || needsEscape(c, out.empty() ? '\0' : out.back())) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += name[i];
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
            const char previous = out.empty() ? '\0' : out.back();
            if (needsEscape(c, previous) || (c == '%' && startsEscape(stored, i + 3, previous))) {
                out += static_cast<char>(c);
                i += 2;
                continue;
            }
        }
        out += stored[i];
    }
    return out;
}

bool ScoreTable::load(const std::string& path, ReadProblem* why) {
    ReadProblem problem;
    const auto bytes = readWholeFile(path, kMaxFileBytes, problem);
    if (why != nullptr) {
        *why = problem;
    }
    std::string plain;
    if (!bytes || !unscramble(bytes->data(), bytes->size(), kKey, kKeyLength, plain)) {
        return false;
    }
    KeyValueFile file;
    file.loadFromMemory(plain.data(), plain.size(), true);
    const std::optional<std::size_t> count = wholeTableCount(plain, file);
    if (!count) {
        return false;
    }
    entries_.clear();
    for (std::size_t i = 0; i < *count; ++i) {
        Entry entry;
        entry.name = decodeName(file.get(indexed("name", i), ""));
        // An empty name could not be written back: the next key would be read
        // as its value and the table lost on the run after.
        if (entry.name.empty()) {
            entry.name = kAnonymous;
        }
        entry.score = toInt(file.get(indexed("score", i), "0"));
        entries_.push_back(std::move(entry));
    }
    added_.clear();
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
    const Entry entry{name.empty() ? std::string(kAnonymous) : name, score};
    place(entry);
    added_.push_back(entry);
}

void ScoreTable::place(const Entry& entry) {
    const auto at = std::find_if(entries_.begin(), entries_.end(),
                                 [&entry](const Entry& e) { return e.score < entry.score; });
    entries_.insert(at, entry);
    if (entries_.size() > static_cast<std::size_t>(kSize)) {
        entries_.resize(kSize);
    }
}

void ScoreTable::rebase(const ScoreTable& stored) {
    entries_ = stored.entries_;
    for (const Entry& entry : added_) {
        place(entry);
    }
}

}  // namespace brv
