#include "tools/sim/Match.h"

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "config/GameParams.h"
#include "platform/FileIo.h"
#include "sim/Colony.h"
#include "sim/ComputerColony.h"
#include "sim/HardComputerColony.h"
#include "sim/LifeSource.h"
#include "sim/Replay.h"
#include "sim/RulesState.h"
#include "sim/SteeringSet.h"
#include "sim/Virus.h"
#include "sim/World.h"
#include "tools/sim/PlayerBot.h"

namespace brv {

namespace {

constexpr float kColours[4][3] = {
    {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 0.3f}, {0.7f, 1.0f, 0.6f}};

std::unique_ptr<Colony> makeColony(World& world, const GameParams& params, int index, int kind,
                                   bool player) {
    const float* c = kColours[index];
    if (player) {
        return std::make_unique<Colony>(c[0], c[1], c[2], params);
    }
    if (kind == 2) {
        return std::make_unique<HardComputerColony>(c[0], c[1], c[2], params, &world);
    }
    return std::make_unique<ComputerColony>(c[0], c[1], c[2], params, &world);
}

bool gameOver(const World& world, bool player) {
    if (world.aliveColonyCount() <= 1) {
        return true;
    }
    return player && world.colonies()[0]->virusCount() == 0;
}

int survivor(const World& world) {
    if (world.aliveColonyCount() != 1) {
        return -1;
    }
    for (std::size_t k = 0; k < world.colonies().size(); ++k) {
        if (world.colonies()[k]->virusCount() > 0) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

std::vector<int> counts(const World& world) {
    std::vector<int> result;
    for (const auto& colony : world.colonies()) {
        result.push_back(colony->virusCount());
    }
    return result;
}

// Each colony's corner, from its start flag (on its home life source).
std::vector<int> startCorners(const World& world) {
    std::vector<int> corners;
    for (const auto& colony : world.colonies()) {
        int corner = -1;
        if (!colony->flags().empty()) {
            const Flag& flag = *colony->flags().front();
            corner = (flag.column() * 2 >= world.columnCount() ? 1 : 0) +
                     (flag.row() * 2 >= world.rowCount() ? 2 : 0);
        }
        corners.push_back(corner);
    }
    return corners;
}

bool steeredByBot(const MatchOptions& options, int k) {
    return std::any_of(options.bots.begin(), options.bots.end(),
                       [k](const BotSeat& seat) { return seat.colony == k; });
}

// The player-kind colonies of a game: the reference player's and the bots'.
std::vector<int> steeredColonies(const MatchOptions& options, int colonies) {
    std::vector<int> steered;
    for (int k = 0; k < colonies; ++k) {
        if ((options.player && k == 0) || steeredByBot(options, k)) {
            steered.push_back(k);
        }
    }
    return steered;
}

// Each colony's computer kind for a replay when --ai sets one apart from
// the difficulty's; none otherwise, so such a replay reads as before.
std::vector<int> replayKinds(const MatchOptions& options, int colonies) {
    std::vector<int> kinds(static_cast<std::size_t>(colonies), options.difficulty);
    bool differ = false;
    for (int k = 0; k < colonies && k < static_cast<int>(options.ai.size()); ++k) {
        kinds[static_cast<std::size_t>(k)] = options.ai[static_cast<std::size_t>(k)];
        differ = differ || options.ai[static_cast<std::size_t>(k)] != options.difficulty;
    }
    return differ ? kinds : std::vector<int>{};
}

double percentileMs(std::vector<long long> us, int percent) {
    if (us.empty()) {
        return -1;
    }
    std::sort(us.begin(), us.end());
    const std::size_t at =
        std::min(us.size() - 1, us.size() * static_cast<std::size_t>(percent) / 100);
    return static_cast<double>(us[at]) / 1000.0;
}

// How each bot steered, with its median and 99th percentile round trip.
std::vector<BotReport> botReports(const std::vector<BotRun>& runs) {
    std::vector<BotReport> reports;
    for (const BotRun& run : runs) {
        reports.push_back({run.colony, run.decisions, run.faults, run.stopped, run.leftBehind,
                           percentileMs(run.roundTripsUs, 50), percentileMs(run.roundTripsUs, 99)});
    }
    return reports;
}

// Writes a bot game's replay; its path, or empty when it could not be.
std::string saveReplay(Replay& replay, const MatchOptions& options, int update,
                       const World& world) {
    replay.finish(update, world);
    const std::string path = options.replayDir + "/bot-" + std::to_string(options.seed) + ".replay";
    const std::string text = replay.toText();
    return writeFileAtomically(path, text.data(), text.size()) ? path : std::string();
}

int hugeLives(const World& world) {
    constexpr int kHuge = 1000000;
    int huge = 0;
    for (int c = 0; c < world.columnCount(); ++c) {
        for (int r = 0; r < world.rowCount(); ++r) {
            const Virus* virus = world.virusAt(c, r);
            huge += virus != nullptr && virus->life() > kHuge ? 1 : 0;
        }
    }
    return huge;
}

}  // namespace

void SourceWatch::observe(const World& world, int tick) {
    next_.clear();
    for (const auto& source : world.lifeSources()) {
        auto known = std::find_if(alive_.begin(), alive_.end(), [&](const Seen& s) {
            return s.source == source.get() && s.column == source->column() &&
                   s.row == source->row() && source->reserve() <= s.reserve;
        });
        if (known != alive_.end()) {
            next_.push_back({known->source, known->column, known->row, source->reserve(),
                             known->born, known->order});
            alive_.erase(known);
        } else {
            next_.push_back({source.get(), source->column(), source->row(), source->reserve(), tick,
                             static_cast<int>(byOrder_.size())});
            byOrder_.push_back(-1);
        }
    }
    for (const Seen& gone : alive_) {
        lifetimes_.push_back(tick - gone.born);
        byOrder_[gone.order] = tick - gone.born;
    }
    alive_.swap(next_);
}

int SourceWatch::lifetimeOf(int n) const {
    return n >= 0 && n < static_cast<int>(byOrder_.size()) ? byOrder_[n] : -1;
}

MatchResult playMatch(const GameParams& params, const MatchOptions& options,
                      const TraceSink& trace) {
    // A state of its own, seeded by the options: the game depends on them
    // alone, and games played one after the other in one process do not
    // carry draws or counters from one to the next.
    RulesState state(options.seed);
    const int colonies = std::clamp(options.colonies, 1, World::kMaxColonies);
    std::optional<Replay> replay;
    if (!options.bots.empty() && !options.replayDir.empty()) {
        replay = Replay::beginning(params, state, colonies, options.difficulty);
        replay->steered = steeredColonies(options, colonies);
        replay->kinds = replayKinds(options, colonies);
    }
    World world(params, state, options.difficulty);
    for (int k = 0; k < colonies; ++k) {
        const int kind =
            k < static_cast<int>(options.ai.size()) ? options.ai[k] : options.difficulty;
        world.addColony(makeColony(world, params, k, kind,
                                   (options.player && k == 0) || steeredByBot(options, k)));
    }
    world.setUp();
    SourceWatch watch;
    watch.observe(world, 0);
    // The reference player first, then the bots, each asked before every
    // update; every click is noted in the replay, when there is one, with
    // its colony and update.
    SteeringSet steerings;
    steerings.recordInto(replay ? &*replay : nullptr);
    if (options.player) {
        if (auto bot = makePlayerBot(options.bot, 0, options.seed)) {
            steerings.add(std::move(bot));
        }
    }
    const std::string logStem =
        options.replayDir.empty() ? "" : options.replayDir + "/bot-" + std::to_string(options.seed);
    BotSeats seats(options.bots, options.botHost, options.botLimits, logStem, world, steerings);
    int tick = 0;

    MatchResult result;
    result.corners = startCorners(world);
    result.seed = options.seed;
    result.colonies = colonies;
    result.difficulty = options.difficulty;
    const int speed = std::max(options.speed, 1);
    while (tick < options.maxTicks && !result.finished) {
        for (int step = 0; step < speed && tick < options.maxTicks && !result.finished; ++step) {
            steerings.act(world, tick);
            world.update(30);
            ++tick;
            if (replay) {
                replay->noteUpdate(tick, world);
            }
            result.finished = gameOver(world, options.player);
            watch.observe(world, tick);
            result.peak = std::max(result.peak, world.virusTotal());
            if (trace && options.traceEvery > 0 && tick % options.traceEvery == 0) {
                trace(tick, counts(world));
            }
        }
    }
    result.ticks = tick;
    result.winner = result.finished ? survivor(world) : -1;
    steerings.finish(tick, result.finished, result.winner);
    result.bots = botReports(seats.runs());
    if (replay) {
        result.replay = saveReplay(*replay, options, tick, world);
    }
    result.count = counts(world);
    for (const auto& colony : world.colonies()) {
        result.kills.push_back(colony->killCounter());
    }
    result.checksum = world.checksum();
    result.hugeLives = hugeLives(world);
    result.sourceTicks = watch.lifetimes();
    result.timeline = world.timeline();
    // Set-up places the start-cell sources first, one per colony.
    for (int k = 0; k < colonies; ++k) {
        result.startSourceTicks.push_back(watch.lifetimeOf(k));
    }
    return result;
}

namespace {

nlohmann::ordered_json botsJson(const std::vector<BotReport>& reports) {
    auto bots = nlohmann::ordered_json::array();
    for (const BotReport& report : reports) {
        nlohmann::ordered_json faults;
        for (std::size_t k = 0; k < kBotFaultKinds; ++k) {
            faults[botFaultName(static_cast<BotFault>(k))] = report.faults[k];
        }
        bots.push_back({{"colony", report.colony},
                        {"decisions", report.decisions},
                        {"faults", faults},
                        {"stopped", report.stopped},
                        {"round_trip_ms", {{"median", report.medianMs}, {"p99", report.p99Ms}}}});
        // Only a program that could not be ended names what it left.
        if (!report.leftBehind.empty()) {
            bots.back()["left_behind"] = report.leftBehind;
        }
    }
    return bots;
}

}  // namespace

std::string toJsonLine(const MatchResult& r) {
    nlohmann::ordered_json line;
    line["seed"] = r.seed;
    line["colonies"] = r.colonies;
    line["difficulty"] = difficultyName(r.difficulty);
    line["ticks"] = r.ticks;
    line["finished"] = r.finished;
    line["winner"] = r.winner;
    line["count"] = r.count;
    line["kills"] = r.kills;
    line["checksum"] = r.checksum;
    line["peak"] = r.peak;
    line["start_source_ticks"] = r.startSourceTicks;
    std::vector<int> sorted = r.sourceTicks;
    std::sort(sorted.begin(), sorted.end());
    line["sources_spent"] = sorted.size();
    line["source_ticks_median"] = sorted.empty() ? -1 : sorted[sorted.size() / 2];
    if (!r.bots.empty()) {
        line["bots"] = botsJson(r.bots);
        line["replay"] = r.replay;
    }
    return line.dump();
}

namespace {

std::string linesOf(const nlohmann::ordered_json& game, const Timeline& timeline) {
    std::string lines;
    const auto& samples = timeline.samples();
    const auto colonies = static_cast<std::ptrdiff_t>(timeline.colonyCount());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        nlohmann::ordered_json line = game;
        line["second"] = static_cast<long long>(i) * timeline.spacingMs() / 1000;
        line["viruses"] =
            std::vector<int>(samples[i].viruses.begin(), samples[i].viruses.begin() + colonies);
        line["kills"] =
            std::vector<int>(samples[i].kills.begin(), samples[i].kills.begin() + colonies);
        lines += line.dump() + "\n";
    }
    return lines;
}

}  // namespace

std::string timelineJsonLines(std::uint32_t seed, const Timeline& timeline) {
    return linesOf({{"seed", seed}}, timeline);
}

std::string timelineJsonLines(const std::string& replay, const Timeline& timeline) {
    return linesOf({{"replay", replay}}, timeline);
}

const char* difficultyName(int difficulty) {
    static const char* const names[3] = {"easy", "medium", "hard"};
    return difficulty >= 0 && difficulty < 3 ? names[difficulty] : "unknown";
}

int difficultyFromName(const std::string& name) {
    for (int d = 0; d < 3; ++d) {
        if (name == difficultyName(d)) {
            return d;
        }
    }
    return -1;
}

}  // namespace brv
