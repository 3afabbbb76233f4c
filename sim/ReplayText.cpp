// The text form of a game's record: writing it line by line and reading it
// back, refusing any line that is damaged, out of bounds or out of order.
#include "sim/Replay.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <limits>

#include "sim/World.h"

namespace brv {

namespace {

// Flags are set where the player clicks, in logical pixels of the 800 × 600
// field; the bound keeps a damaged position far from the int range.
constexpr long long kMaxPosition = 100'000;

bool isChecksum(std::string_view word) {
    return word.size() == 16 &&
           word.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// The words of one line, split at spaces.
std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t end = std::min(line.find(' ', at), line.size());
        if (end > at) {
            words.push_back(line.substr(at, end - at));
        }
        at = end + 1;
    }
    return words;
}

// What one number of a line means and the values it may take.
struct Field {
    const char* what;
    long long low;
    long long high;
};

// Reads words 1, 2, … of a line as the numbers `fields` describe; false with
// the field and its bounds in `why` for the first one outside them.
bool numbers(const std::vector<std::string_view>& w, std::initializer_list<Field> fields,
             long long* out, std::string& why) {
    std::size_t k = 1;
    for (const Field& field : fields) {
        const std::string_view word = w[k];
        long long& value = out[k - 1];
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size() || value < field.low ||
            value > field.high) {
            why = std::string(field.what) + " \"" + std::string(word.substr(0, 20)) +
                  "\" is not a number from " + std::to_string(field.low) + " to " +
                  std::to_string(field.high);
            return false;
        }
        ++k;
    }
    return true;
}

constexpr Field kUpdateField{"update", 0, Replay::kMaxUpdates};

bool readStart(const std::vector<std::string_view>& w, Replay& r, std::string& why) {
    long long n[3] = {};
    if (!numbers(w,
                 {{"generator", 0, std::numeric_limits<std::uint32_t>::max()},
                  {"column parity", 0, 1},
                  {"influence tick", 0, World::kInfluenceEveryTicks - 1}},
                 n, why)) {
        return false;
    }
    r.generator = static_cast<std::uint32_t>(n[0]);
    r.columnParity = static_cast<int>(n[1]);
    r.influenceTick = static_cast<int>(n[2]);
    return true;
}

constexpr Field kColonyField{"colony", 0, World::kMaxColonies - 1};

// `set`/`removed` <update> <x> <y>, and in format 2 maybe the colony.
bool readInput(const std::vector<std::string_view>& w, Replay& r, std::string& why) {
    long long n[4] = {};
    const Field x{"x", -kMaxPosition, kMaxPosition};
    const Field y{"y", -kMaxPosition, kMaxPosition};
    if (!(w.size() == 5 ? numbers(w, {kUpdateField, x, y, kColonyField}, n, why)
                        : numbers(w, {kUpdateField, x, y}, n, why))) {
        return false;
    }
    if (!r.events.empty() && n[0] < r.events.back().update) {
        why = "inputs out of order";
        return false;
    }
    r.events.push_back({static_cast<int>(n[0]),
                        w[0] == "set" ? Replay::Input::FlagSet : Replay::Input::FlagRemoved,
                        static_cast<int>(n[1]), static_cast<int>(n[2]), static_cast<int>(n[3])});
    return true;
}

// `steered` and the player-kind colonies, each once, ascending.
bool readSteered(const std::vector<std::string_view>& w, Replay& r, std::string& why) {
    r.steered.clear();
    for (std::size_t k = 1; k < w.size(); ++k) {
        long long colony = 0;
        const std::vector<std::string_view> one = {w[0], w[k]};
        if (!numbers(one, {kColonyField}, &colony, why)) {
            return false;
        }
        if (!r.steered.empty() && colony <= r.steered.back()) {
            why = "steered colonies not ascending";
            return false;
        }
        r.steered.push_back(static_cast<int>(colony));
    }
    return true;
}

// `kinds` and each colony's computer kind.
bool readKinds(const std::vector<std::string_view>& w, Replay& r, std::string& why) {
    r.kinds.clear();
    for (std::size_t k = 1; k < w.size(); ++k) {
        long long kind = 0;
        const std::vector<std::string_view> one = {w[0], w[k]};
        if (!numbers(one, {{"kind", 0, 2}}, &kind, why)) {
            return false;
        }
        r.kinds.push_back(static_cast<int>(kind));
    }
    return true;
}

// Every colony named must be in the game, every click a steered one's, and
// kinds, when given, one per colony.
bool steeringFits(const Replay& r, std::string& why) {
    if (!r.kinds.empty() && r.kinds.size() != static_cast<std::size_t>(r.colonies)) {
        why = std::to_string(r.kinds.size()) + " kinds for a game of " + std::to_string(r.colonies);
        return false;
    }
    if (!r.steered.empty() && r.steered.back() >= r.colonies) {
        why = "steered colony " + std::to_string(r.steered.back()) + " of a game of " +
              std::to_string(r.colonies);
        return false;
    }
    for (const Replay::Event& e : r.events) {
        if (e.input != Replay::Input::Resigned &&
            std::find(r.steered.begin(), r.steered.end(), e.colony) == r.steered.end()) {
            why = "a click of colony " + std::to_string(e.colony) + ", which is not steered";
            return false;
        }
    }
    return true;
}

// A game is resigned once; a second line is a damaged or forged record.
bool readResign(const std::vector<std::string_view>& w, Replay& r, std::string& why) {
    long long update = 0;
    if (!numbers(w, {kUpdateField}, &update, why)) {
        return false;
    }
    if (r.resignedAt() >= 0) {
        why = "resigned twice";
        return false;
    }
    if (!r.events.empty() && update < r.events.back().update) {
        why = "inputs out of order";
        return false;
    }
    r.events.push_back({static_cast<int>(update), Replay::Input::Resigned, 0, 0});
    return true;
}

bool readCheck(const std::vector<std::string_view>& w, Replay& r, std::string& why) {
    long long update = 0;
    if (!numbers(w, {kUpdateField}, &update, why)) {
        return false;
    }
    if (w[0] == "end") {
        r.endUpdate = static_cast<int>(update);
        r.endChecksum = std::string(w[2]);
    } else if (!r.checks.empty() && update <= r.checks.back().update) {
        why = "checkpoints out of order";
        return false;
    } else {
        r.checks.push_back({static_cast<int>(update), std::string(w[2])});
    }
    return true;
}

// Reads one line into the record; false with the reason in `why`.
bool readLine(const std::vector<std::string_view>& w, Replay& r, std::string& why) {
    const std::string_view key = w[0];
    if (key == "rules" && w.size() == 2 && isChecksum(w[1])) {
        r.rules = std::string(w[1]);
        return true;
    }
    if (key == "start" && w.size() == 4) {
        return readStart(w, r, why);
    }
    if (key == "game" && w.size() == 3) {
        long long n[2] = {};
        if (!numbers(w, {{"colonies", 1, World::kMaxColonies}, {"difficulty", 0, 2}}, n, why)) {
            return false;
        }
        r.colonies = static_cast<int>(n[0]);
        r.difficulty = static_cast<int>(n[1]);
        return true;
    }
    if ((key == "set" || key == "removed") && (w.size() == 4 || w.size() == 5)) {
        return readInput(w, r, why);
    }
    if (key == "steered" && w.size() <= 1 + World::kMaxColonies) {
        return readSteered(w, r, why);
    }
    if (key == "kinds" && w.size() >= 2 && w.size() <= 1 + World::kMaxColonies) {
        return readKinds(w, r, why);
    }
    if (key == "resign" && w.size() == 2) {
        return readResign(w, r, why);
    }
    if ((key == "check" || key == "end") && w.size() == 3 && isChecksum(w[2])) {
        return readCheck(w, r, why);
    }
    why = "not a line of a replay";
    return false;
}

// One click or resignation as its line; a click of colony 0 names no colony,
// as in format 1.
std::string inputLine(const Replay::Event& e) {
    std::string line = e.input == Replay::Input::Resigned  ? "resign"
                       : e.input == Replay::Input::FlagSet ? "set"
                                                           : "removed";
    const auto word = [&line](int value) {
        line += ' ';
        line += std::to_string(value);
    };
    word(e.update);
    if (e.input != Replay::Input::Resigned) {
        word(e.x);
        word(e.y);
        if (e.colony != 0) {
            word(e.colony);
        }
    }
    line += '\n';
    return line;
}

}  // namespace

std::string Replay::toText() const {
    // A game steered as the player's always is keeps format 1, which every
    // older reader of this game takes.
    const bool steering =
        steered != std::vector<int>{0} || !kinds.empty() ||
        std::any_of(events.begin(), events.end(), [](const Event& e) { return e.colony != 0; });
    using std::to_string;
    std::string text = "brevora-replay " + to_string(steering ? kSteeredVersion : kVersion) +
                       "\nrules " + rules + "\nstart " + to_string(generator) + " " +
                       to_string(columnParity) + " " + to_string(influenceTick) + "\ngame " +
                       to_string(colonies) + " " + to_string(difficulty) + "\n";
    if (steering) {
        text += "steered";
        for (const int k : steered) {
            text += " " + std::to_string(k);
        }
        text += "\n";
    }
    if (!kinds.empty()) {
        text += "kinds";
        for (const int k : kinds) {
            text += " " + std::to_string(k);
        }
        text += "\n";
    }
    // Inputs and checkpoints in the order they happened.
    std::size_t c = 0;
    for (const Event& e : events) {
        for (; c < checks.size() && checks[c].update <= e.update; ++c) {
            text += "check " + std::to_string(checks[c].update) + " " + checks[c].checksum + "\n";
        }
        text += inputLine(e);
    }
    for (; c < checks.size(); ++c) {
        text += "check " + std::to_string(checks[c].update) + " " + checks[c].checksum + "\n";
    }
    return text + "end " + std::to_string(endUpdate) + " " + endChecksum + "\n";
}

std::optional<Replay> Replay::parse(std::string_view text, std::string& why) {
    Replay replay;
    bool ended = false;
    // The start and game lines say which game the record is of; a record
    // without them would be played as some default game and said to match.
    bool started = false;
    bool named = false;
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto fail = [&](const std::string& what) {
            why = "line " + std::to_string(lineNumber) + ": " + what;
            return std::nullopt;
        };
        // Before the split: a damaged file of one huge line would otherwise
        // become millions of words.
        if (line.size() > kMaxLineBytes) {
            return fail("longer than " + std::to_string(kMaxLineBytes) + " characters");
        }
        const auto words = wordsOf(line);
        if (lineNumber == 1) {
            if (words.size() != 2 || words[0] != "brevora-replay") {
                return fail("not a replay of this game");
            }
            if (words[1] != std::to_string(kVersion) &&
                words[1] != std::to_string(kSteeredVersion)) {
                return fail("a replay of format " + std::string(words[1].substr(0, 20)) +
                            ", this game reads " + std::to_string(kVersion) + " and " +
                            std::to_string(kSteeredVersion));
            }
            continue;
        }
        if (words.empty()) {
            continue;
        }
        if (ended) {
            return fail("more after the end");
        }
        std::string what;
        if (!readLine(words, replay, what)) {
            return fail(what + ": \"" + std::string(line.substr(0, 60)) + "\"");
        }
        ended = words[0] == "end";
        started = started || words[0] == "start";
        named = named || words[0] == "game";
    }
    if (lineNumber == 0) {
        why = "empty";
        return std::nullopt;
    }
    if (!ended || replay.rules.empty()) {
        why = "cut short: no " + std::string(replay.rules.empty() ? "rules" : "end") + " line";
        return std::nullopt;
    }
    if (!started || !named) {
        why =
            std::string("not said which game it is: no ") + (started ? "game" : "start") + " line";
        return std::nullopt;
    }
    if ((!replay.events.empty() && replay.events.back().update > replay.endUpdate) ||
        (!replay.checks.empty() && replay.checks.back().update > replay.endUpdate)) {
        why = "lines after the end update " + std::to_string(replay.endUpdate);
        return std::nullopt;
    }
    if (!steeringFits(replay, why)) {
        return std::nullopt;
    }
    return replay;
}

}  // namespace brv
