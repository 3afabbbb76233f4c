#include "tools/arena/ArenaGame.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>

#include "config/GameParams.h"
#include "platform/FileIo.h"
#include "sim/Colony.h"
#include "sim/ColonyColours.h"
#include "sim/Replay.h"
#include "sim/RulesState.h"
#include "sim/SteeringSet.h"
#include "sim/World.h"
#include "tools/sim/BotSeats.h"
#include "tools/sim/Match.h"
#include "tools/sim/PlayerBot.h"
#include "tools/sim/StopSignals.h"

namespace brv {

namespace {

bool steeredSeat(const Participant& p) {
    return p.kind != Participant::Kind::Computer;
}

// The replay of a game: the steered seats are its steered colonies, and
// when a computer seat plays another level than the game's difficulty (Hard
// against Easy) it names each colony's kind.
Replay beginReplay(const GameParams& params, const RulesState& state,
                   const std::array<const Participant*, 2>& seats, int difficulty) {
    Replay replay = Replay::beginning(params, state, 2, difficulty);
    replay.steered.clear();
    std::vector<int> kinds;
    bool kindsDiffer = false;
    for (std::size_t k = 0; k < seats.size(); ++k) {
        if (steeredSeat(*seats[k])) {
            replay.steered.push_back(static_cast<int>(k));
        }
        kinds.push_back(steeredSeat(*seats[k]) ? difficulty : seats[k]->level);
        kindsDiffer = kindsDiffer || kinds.back() != difficulty;
    }
    if (kindsDiffer) {
        replay.kinds = kinds;
    }
    return replay;
}

// The colonies in the colony colours, as a replay builds them, each
// computer level as its own kind of opponent.
void setUpColonies(World& world, const std::array<const Participant*, 2>& seats) {
    for (std::size_t k = 0; k < seats.size(); ++k) {
        const ColonyColour& c = kColonyColours[k];
        world.addColony(c.red, c.green, c.blue, !steeredSeat(*seats[k]), seats[k]->level);
    }
    world.setUp();
}

int survivor(const World& world) {
    for (std::size_t k = 0; k < world.colonies().size(); ++k) {
        if (world.aliveColonyCount() == 1 && world.colonies()[k]->virusCount() > 0) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

// Letters, digits, '-' and '_' of a participant's name, for file names.
std::string fileWord(const std::string& name) {
    std::string word = name;
    std::replace_if(
        word.begin(), word.end(),
        [](char c) {
            return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '-');
        },
        '_');
    return word;
}

// Where a game's files go: its replay and its bots' logs start with this.
std::string gameStem(const ArenaResult& result, const std::string& dir) {
    std::string id = std::to_string(result.id);
    id.insert(0, id.size() < 6 ? 6 - id.size() : 0, '0');
    return dir + "/" + id + "-" + fileWord(result.players[0]) + "-" + fileWord(result.players[1]) +
           "-" + std::to_string(result.seed);
}

std::string writeReplay(const Replay& replay, const std::string& stem) {
    const std::string path = stem + ".replay";
    const std::string text = replay.toText();
    return writeFileAtomically(path, text.data(), text.size()) ? path : std::string();
}

}  // namespace

ArenaResult playArenaGame(GameParams& params, const std::vector<Participant>& field,
                          const ArenaGame& game, const ArenaRules& rules) {
    const std::array<const Participant*, 2> seats = {&field.at(game.seats[0]),
                                                     &field.at(game.seats[1])};
    ArenaResult result;
    result.id = game.id;
    result.seed = game.seed;
    result.players = {seats[0]->name, seats[1]->name};
    result.difficulty = gameDifficulty(*seats[0], *seats[1], rules.difficulty);
    RulesState state(game.seed);
    const std::string stem = rules.replayDir.empty() ? "" : gameStem(result, rules.replayDir);
    Replay replay = beginReplay(params, state, seats, result.difficulty);
    World world(params, state, result.difficulty);
    setUpColonies(world, seats);

    // Every click of a steered colony, a reference player's or a bot's,
    // is noted in the replay with its colony and update. The reference
    // players are asked first, then the bots.
    SteeringSet steerings;
    steerings.recordInto(&replay);
    for (int k = 0; k < 2; ++k) {
        if (seats[k]->kind == Participant::Kind::Reference) {
            if (auto player = makePlayerBot(seats[k]->name, k, game.seed)) {
                steerings.add(std::move(player));
            }
        }
    }
    std::vector<BotSeat> programs;
    for (int k = 0; k < 2; ++k) {
        if (seats[k]->kind == Participant::Kind::Program) {
            programs.push_back({k, seats[k]->command});
        }
    }
    BotSeats bots(programs, rules.botHost, BotLimits{}, stem, world, steerings);
    int update = 0;
    const int lastUpdate = std::min(rules.maxTicks, Replay::kMaxUpdates);
    // A stop signal ends the game between two updates; it keeps no replay,
    // and its bots end with their seats.
    while (update < lastUpdate && world.aliveColonyCount() > 1 && StopSignals::caught() == 0) {
        steerings.act(world, update);
        world.update(30);
        ++update;
        replay.noteUpdate(update, world);
    }
    if (StopSignals::caught() != 0) {
        return result;
    }
    result.ticks = update;
    result.finished = world.aliveColonyCount() <= 1;
    result.winner = survivor(world);
    result.count = {world.colonies()[0]->virusCount(), world.colonies()[1]->virusCount()};
    result.checksum = world.checksum();
    steerings.finish(update, result.finished, result.winner);
    for (const BotRun& run : bots.runs()) {
        ArenaBotReport& report = result.bots.emplace_back();
        report.colony = run.colony;
        report.decisions = run.decisions;
        report.faults = run.faults;
        report.stopped = run.stopped;
        report.leftBehind = run.leftBehind;
        report.roundTrips.add(run.roundTripsUs);
    }
    if (!stem.empty()) {
        replay.finish(update, world);
        result.replay = writeReplay(replay, stem);
    }
    return result;
}

namespace {

// Each bot's decisions, faults and stop reason, its median and 99th
// percentile round trip, and the round trips themselves for the table.
nlohmann::ordered_json botsJson(const std::vector<ArenaBotReport>& reports) {
    auto bots = nlohmann::ordered_json::array();
    for (const ArenaBotReport& report : reports) {
        nlohmann::ordered_json faults;
        for (std::size_t k = 0; k < kBotFaultKinds; ++k) {
            faults[botFaultName(static_cast<BotFault>(k))] = report.faults[k];
        }
        const RoundTrips& trips = report.roundTrips;
        bots.push_back({{"colony", report.colony},
                        {"decisions", report.decisions},
                        {"faults", faults},
                        {"stopped", report.stopped},
                        {"round_trip_ms",
                         {{"median", trips.percentileMs(50)}, {"p99", trips.percentileMs(99)}}},
                        {"round_trips", trips.toJson()}});
        // Only a program that could not be ended names what it left.
        if (!report.leftBehind.empty()) {
            bots.back()["left_behind"] = report.leftBehind;
        }
    }
    return bots;
}

}  // namespace

std::string toJsonLine(const ArenaResult& r) {
    nlohmann::ordered_json line;
    line["game"] = r.id;
    line["seed"] = r.seed;
    line["players"] = r.players;
    line["difficulty"] = difficultyName(r.difficulty);
    line["ticks"] = r.ticks;
    line["finished"] = r.finished;
    line["winner"] = r.winner;
    line["count"] = r.count;
    line["checksum"] = r.checksum;
    line["replay"] = r.replay;
    if (!r.bots.empty()) {
        line["bots"] = botsJson(r.bots);
    }
    return line.dump();
}

namespace {

// Whether `v` is a whole number from `low` to `high` (high at least 0): a
// number of another kind, or one past what a game writes, is no game's.
bool wholeIn(const nlohmann::json& v, std::int64_t low, std::int64_t high) {
    if (v.is_number_unsigned()) {
        return v.get<std::uint64_t>() <= static_cast<std::uint64_t>(high) && low <= 0;
    }
    return v.is_number_integer() && v.get<std::int64_t>() >= low && v.get<std::int64_t>() <= high;
}

// Reads the whole number `v` into `out`, or names `field`, its value and its
// bounds in `why`.
bool readWhole(const nlohmann::json& v, const char* field, std::int64_t low, std::int64_t high,
               std::int64_t& out, std::string& why) {
    if (!wholeIn(v, low, high)) {
        why = std::string(field) + " " + v.dump().substr(0, 40) + " is not a whole number from " +
              std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    out = v.is_number_unsigned() ? static_cast<std::int64_t>(v.get<std::uint64_t>())
                                 : v.get<std::int64_t>();
    return true;
}

template <typename Int>
bool readWhole(const nlohmann::json& v, const char* field, std::int64_t low, std::int64_t high,
               Int& out, std::string& why) {
    std::int64_t read = 0;
    if (!readWhole(v, field, low, high, read, why)) {
        return false;
    }
    out = static_cast<Int>(read);
    return true;
}

// A bot's report read back: a colony of the game, counts no larger than a
// game's updates.
bool readBot(const nlohmann::json& j, ArenaBotReport& bot, std::string& why) {
    const auto& faults = j.at("faults");
    bot.stopped = j.at("stopped").get<std::string>();
    bot.leftBehind = j.value("left_behind", std::string());
    bool fits =
        readWhole(j.at("colony"), "bot colony", 0, 1, bot.colony, why) &&
        readWhole(j.at("decisions"), "bot decisions", 0, Replay::kMaxUpdates, bot.decisions, why);
    for (std::size_t k = 0; fits && k < kBotFaultKinds; ++k) {
        fits = readWhole(faults.at(botFaultName(static_cast<BotFault>(k))), "bot faults", 0,
                         Replay::kMaxUpdates, bot.faults[k], why);
    }
    const auto trips = RoundTrips::fromJson(j.at("round_trips"), Replay::kMaxUpdates);
    if (trips) {
        bot.roundTrips = *trips;
    } else if (fits) {
        why = "bot round trips out of range";
    }
    return fits && trips;
}

bool readBots(const nlohmann::json& j, ArenaResult& r, std::string& why) {
    if (!j.contains("bots")) {
        return true;
    }
    const auto& bots = j.at("bots");
    if (!bots.is_array() || bots.size() > 2) {
        why = "bots is not a list of at most two reports";
        return false;
    }
    for (const auto& bot : bots) {
        if (!readBot(bot, r.bots.emplace_back(), why)) {
            return false;
        }
    }
    return true;
}

// A result line read back: every field of the kind and within the bounds a
// game writes (a 32-bit seed, no more ticks than --max-ticks allows, no
// colony larger than the field has cells, two different players), the
// winner a colony of the game or none. False with the field named in `why`.
bool readResult(const nlohmann::json& j, ArenaResult& r, std::string& why) {
    const auto& players = j.at("players");
    const auto& count = j.at("count");
    if (!players.is_array() || players.size() != 2 || !count.is_array() || count.size() != 2 ||
        !j.at("finished").is_boolean()) {
        why = "players, count or finished is not of the kind a game writes";
        return false;
    }
    r.players = {players[0].get<std::string>(), players[1].get<std::string>()};
    r.difficulty = difficultyFromName(j.at("difficulty").get<std::string>());
    r.finished = j.at("finished").get<bool>();
    r.checksum = j.at("checksum").get<std::string>();
    r.replay = j.at("replay").get<std::string>();
    if (!readWhole(j.at("game"), "game", 0, INT32_MAX, r.id, why) ||
        !readWhole(j.at("seed"), "seed", 0, UINT32_MAX, r.seed, why) ||
        !readWhole(j.at("ticks"), "ticks", 0, Replay::kMaxUpdates, r.ticks, why) ||
        !readWhole(j.at("winner"), "winner", -1, 1, r.winner, why) ||
        !readWhole(count[0], "count", 0, World::kSlots, r.count[0], why) ||
        !readWhole(count[1], "count", 0, World::kSlots, r.count[1], why) || !readBots(j, r, why)) {
        return false;
    }
    if (r.difficulty < 0 || (!r.finished && r.winner != -1)) {
        why = "a difficulty no game has, or a winner of an unfinished game";
        return false;
    }
    if (r.players[0].empty() || r.players[1].empty() || r.players[0] == r.players[1]) {
        why = "a game is played by two different players";
        return false;
    }
    return true;
}

}  // namespace

std::optional<ArenaResult> arenaResultFromLine(const std::string& line, std::string& why) {
    ArenaResult result;
    try {
        if (readResult(nlohmann::json::parse(line), result, why)) {
            return result;
        }
    } catch (const nlohmann::json::exception& e) {
        why = e.what();
    }
    return std::nullopt;
}

}  // namespace brv
