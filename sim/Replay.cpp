#include "sim/Replay.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <initializer_list>
#include <limits>

#include "config/GameRules.h"
#include "config/SaveFolder.h"
#include "platform/FileIo.h"
#include "platform/Random.h"
#include "sim/Colony.h"
#include "sim/ColonyColours.h"
#include "sim/ReplaySteering.h"
#include "sim/RulesState.h"
#include "sim/World.h"

namespace brv {

namespace {

// Flags are set where the player clicks, in logical pixels of the 800 × 600
// field; the bound keeps a damaged position far from the int range.
constexpr long long kMaxPosition = 100'000;

std::uint64_t fnv1a(std::uint64_t hash, const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
    }
    return hash;
}

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

}  // namespace

Replay Replay::beginning(const GameRules& params, const RulesState& state, int colonies,
                         int difficulty) {
    Replay replay;
    replay.rules = rulesHash(params);
    replay.generator = state.generatorState();
    replay.columnParity = state.columnParity();
    replay.influenceTick = state.influenceTick();
    replay.colonies = std::clamp(colonies, 1, World::kMaxColonies);
    replay.difficulty = difficulty;
    return replay;
}

void Replay::noteUpdate(int update, const World& world) {
    if (update > kMaxUpdates) {
        return;
    }
    if (update % kCheckEvery == 0) {
        checks.push_back({update, world.checksum()});
    }
    if (update == kMaxUpdates) {
        finish(update, world);
    }
}

void Replay::noteInput(int update, Input input, int x, int y, int colony) {
    if (update <= kMaxUpdates) {
        events.push_back({update, input, x, y, colony});
    }
}

int Replay::resignedAt() const {
    for (const Event& e : events) {
        if (e.input == Input::Resigned) {
            return e.update;
        }
    }
    return -1;
}

// A record that reached kMaxUpdates keeps the end it took there.
void Replay::finish(int update, const World& world) {
    if (update > kMaxUpdates) {
        return;
    }
    endUpdate = update;
    endChecksum = world.checksum();
}

std::string Replay::toText() const {
    // A game steered as the player's always is keeps format 1, which every
    // older reader of this game takes.
    const bool steering =
        steered != std::vector<int>{0} || !kinds.empty() ||
        std::any_of(events.begin(), events.end(), [](const Event& e) { return e.colony != 0; });
    char line[96];
    std::string text = "brevora-replay " + std::to_string(steering ? kSteeredVersion : kVersion) +
                       "\nrules " + rules + "\n";
    std::snprintf(line, sizeof line, "start %" PRIu32 " %d %d\ngame %d %d\n", generator,
                  columnParity, influenceTick, colonies, difficulty);
    text += line;
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
        if (e.input == Input::Resigned) {
            std::snprintf(line, sizeof line, "resign %d\n", e.update);
        } else {
            std::snprintf(line, sizeof line, "%s %d %d %d",
                          e.input == Input::FlagSet ? "set" : "removed", e.update, e.x, e.y);
            text += line;
            std::snprintf(line, sizeof line, e.colony != 0 ? " %d\n" : "\n", e.colony);
        }
        text += line;
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

std::optional<Replay> Replay::readFile(const std::string& path, std::string& why) {
    ReadProblem problem;
    const auto bytes = readWholeFile(path, kMaxFileBytes, problem);
    if (!bytes) {
        why = "cannot be read: " + problem.text();
        return std::nullopt;
    }
    return parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                 why);
}

std::string Replay::rulesRefusal(const GameRules& params) const {
    const std::string here = rulesHash(params);
    return here == rules ? std::string()
                         : "recorded with other rules (" + rules + "; these are " + here + ")";
}

std::optional<Replay> Replay::readPlayable(const std::string& path, const GameRules& params,
                                           std::string& why) {
    std::optional<Replay> replay = readFile(path, why);
    if (replay) {
        why = replay->rulesRefusal(params);
    }
    return why.empty() ? replay : std::nullopt;
}

ReplayOutcome Replay::verdict(int firstDifference, const std::string& endChecksum) const {
    if (firstDifference >= 0) {
        return {false,
                firstDifference,
                "the world left the record by update " + std::to_string(firstDifference),
                {}};
    }
    if (endChecksum != this->endChecksum) {
        return {false, endUpdate, "the end differs at update " + std::to_string(endUpdate), {}};
    }
    return {true, -1, "replay matches", {}};
}

std::string Replay::newestIn(const SaveFolder& folder) {
    if (folder.dir().empty()) {
        return {};
    }
    // Names sort by date and time, as save() makes them.
    std::string newest;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(folder.dir() + "/" + kFolder, error)) {
        const std::string path = entry.path().string();
        if (entry.path().extension() == ".replay" && path > newest) {
            newest = path;
        }
    }
    return newest;
}

std::string Replay::save(const SaveFolder& folder) const {
    if (folder.dir().empty()) {
        return {};
    }
    namespace fs = std::filesystem;
    const std::string dir = folder.dir() + "/" + kFolder;
    const std::string path = freeDatedName(dir, "brevora", ".replay", std::time(nullptr));
    const std::string text = toText();
    if (path.empty() || !writeFileAtomically(path, text.data(), text.size())) {
        return {};
    }
    // Names sort by date and time: all but the newest go.
    std::vector<std::string> kept;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        if (entry.path().extension() == ".replay") {
            kept.push_back(entry.path().string());
        }
    }
    std::sort(kept.begin(), kept.end());
    for (std::size_t i = 0; i + kKept < kept.size(); ++i) {
        removeFile(kept[i]);
    }
    return path;
}

std::string rulesHash(const GameRules& params) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const std::vector<std::uint8_t>& file : params.m_rule_files) {
        hash = fnv1a(hash, file.data(), file.size());
        // The size too, so bytes moved from one file to the next change it.
        const auto bytes = static_cast<std::uint32_t>(file.size());
        const std::uint8_t size[4] = {
            static_cast<std::uint8_t>(bytes), static_cast<std::uint8_t>(bytes >> 8),
            static_cast<std::uint8_t>(bytes >> 16), static_cast<std::uint8_t>(bytes >> 24)};
        hash = fnv1a(hash, size, sizeof size);
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

void setUpGame(World& world, int colonies, int difficulty) {
    setUpGame(world, colonies, difficulty, {0});
}

namespace {

void addColonies(World& world, int colonies, const std::vector<int>& steered,
                 const std::vector<int>& kinds) {
    const int count = std::clamp(colonies, 1, World::kMaxColonies);
    for (int k = 0; k < count; ++k) {
        const ColonyColour& c = kColonyColours[static_cast<std::size_t>(k)];
        const bool player = std::find(steered.begin(), steered.end(), k) != steered.end();
        world.addColony(c.red, c.green, c.blue, !player, kinds[static_cast<std::size_t>(k)]);
    }
    world.setUp();
}

}  // namespace

void setUpGame(World& world, int colonies, int difficulty, const std::vector<int>& steered) {
    addColonies(world, colonies, steered, std::vector<int>(World::kMaxColonies, difficulty));
}

// The player may lose while two computer colonies fight on.
bool gameEnded(const World& world) {
    return world.aliveColonyCount() <= 1 || world.colonies().front()->virusCount() == 0;
}

void setUpGame(World& world, const Replay& replay) {
    // A record checked on reading has one kind per colony or none.
    if (replay.kinds.empty() || replay.kinds.size() != static_cast<std::size_t>(replay.colonies)) {
        setUpGame(world, replay.colonies, replay.difficulty, replay.steered);
        return;
    }
    addColonies(world, replay.colonies, replay.steered, replay.kinds);
}

ReplayOutcome checkReplay(const GameRules& params, const Replay& replay) {
    if (std::string refusal = replay.rulesRefusal(params); !refusal.empty()) {
        return {false, -1, std::move(refusal), {}};
    }
    // The check plays on a state of its own: the game it was asked from (a
    // menu, a running game, a runner between games) keeps its course.
    RulesState state(0);
    state.setGeneratorState(replay.generator);
    state.setCounters(replay.columnParity, replay.influenceTick);
    World world(params, state, replay.difficulty);
    setUpGame(world, replay);
    ReplaySteering clicks(replay);
    std::size_t c = 0;
    int firstDifference = -1;
    for (int update = 0;; ++update) {
        clicks.act(world, update);
        if (update == replay.endUpdate) {
            break;
        }
        world.update(30);
        if (c < replay.checks.size() && replay.checks[c].update == update + 1) {
            if (world.checksum() != replay.checks[c].checksum) {
                firstDifference = update + 1;
                break;
            }
            ++c;
        }
    }
    ReplayOutcome outcome = replay.verdict(firstDifference, world.checksum());
    outcome.timeline = world.timeline();
    return outcome;
}

}  // namespace brv
