#include "bothost/BotProtocol.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "config/GameRules.h"
#include "sim/Colony.h"
#include "sim/LifeSource.h"
#include "sim/Replay.h"
#include "sim/Virus.h"
#include "sim/World.h"

namespace brv {

namespace {

using Json = nlohmann::ordered_json;

// A decision needs a few flags moved; more actions than this in one answer
// is a runaway bot, not a plan.
constexpr std::size_t kMaxActions = 64;

float pitchOf(const World& world) {
    return world.params().m_distance_beween_viruses;
}

int fieldWidth(const World& world) {
    return static_cast<int>(std::lround(static_cast<float>(World::columnCount()) * pitchOf(world)));
}

int fieldHeight(const World& world) {
    return static_cast<int>(std::lround(static_cast<float>(World::rowCount()) * pitchOf(world)));
}

// The rules a bot plays by, under their keys in dat/param.txt, at the
// difficulty of this game.
Json rulesOf(const World& world) {
    const GameRules& p = world.params();
    const int d = std::clamp(world.difficulty(), 0, 2);
    Json rules;
    rules["hash"] = rulesHash(p);
    rules["difficulty"] = d;
    rules["m_distance_beween_viruses"] = p.m_distance_beween_viruses;
    rules["m_speed"] = p.m_speed;
    rules["m_flag_per_count"] = p.m_flag_per_count[d];
    rules["m_ai_flag_per_count"] = p.m_ai_flag_per_count[d];
    rules["m_viruses_on_start"] = p.m_viruses_on_start[d];
    rules["m_max_population"] = p.m_max_population;
    rules["m_life_src_visible"] = p.m_life_src_visible;
    rules["m_life_src_add_prob"] = p.m_life_src_add_prob[d];
    rules["m_life_distribute"] = p.m_life_distribute[d];
    rules["m_ai_attack_percent"] = p.m_ai_attack_percent[d];
    return rules;
}

const char* kindOf(const World& world, int k, const std::vector<int>& botColonies) {
    if (world.colonies()[static_cast<std::size_t>(k)]->isComputer()) {
        return "computer";
    }
    return std::find(botColonies.begin(), botColonies.end(), k) != botColonies.end() ? "bot"
                                                                                     : "player";
}

// Each colony's viruses as runs down the columns: [column, first row, length].
std::vector<Json> virusRuns(const World& world) {
    std::vector<Json> runs(world.colonies().size(), Json::array());
    for (int c = 0; c < World::columnCount(); ++c) {
        int owner = -1;
        int first = 0;
        for (int r = 0; r <= World::rowCount(); ++r) {
            const Virus* virus = r < World::rowCount() ? world.virusAt(c, r) : nullptr;
            const int k = virus != nullptr ? world.indexOf(virus->colony()) : -1;
            if (k == owner) {
                continue;
            }
            if (owner >= 0) {
                runs[static_cast<std::size_t>(owner)].push_back({c, first, r - first});
            }
            owner = k;
            first = r;
        }
    }
    return runs;
}

// A position of an action: two whole numbers inside the field.
bool readPosition(const Json& value, const World& world, BotAction& action, std::string& why) {
    if (!value.is_array() || value.size() != 2 || !value[0].is_number_integer() ||
        !value[1].is_number_integer()) {
        why = "a position is not [x, y] in whole numbers";
        return false;
    }
    const long long x = value[0].get<long long>();
    const long long y = value[1].get<long long>();
    if (x < 0 || y < 0 || x >= fieldWidth(world) || y >= fieldHeight(world)) {
        why = "position [" + std::to_string(x) + ", " + std::to_string(y) + "] is off the field";
        return false;
    }
    action.x = static_cast<int>(x);
    action.y = static_cast<int>(y);
    return true;
}

bool readAction(const Json& item, const World& world, BotAnswer& answer, std::string& why) {
    if (!item.is_object() || item.size() != 1 ||
        (!item.contains("set") && !item.contains("remove"))) {
        why = "an action is not {\"set\": [x, y]} or {\"remove\": [x, y]}";
        return false;
    }
    BotAction action;
    action.set = item.contains("set");
    if (!readPosition(item.begin().value(), world, action, why)) {
        return false;
    }
    answer.actions.push_back(action);
    return true;
}

}  // namespace

std::string botGreetingLine(const World& world, int colony, const std::vector<int>& botColonies,
                            const BotHostSettings& host) {
    Json line;
    line["protocol"] = kBotProtocolVersion;
    line["rules"] = rulesOf(world);
    line["grid"] = {{"columns", World::columnCount()},
                    {"rows", World::rowCount()},
                    {"width", fieldWidth(world)},
                    {"height", fieldHeight(world)},
                    {"cell", pitchOf(world)}};
    line["you"] = colony;
    Json colonies = Json::array();
    for (int k = 0; k < static_cast<int>(world.colonies().size()); ++k) {
        const Colony& c = *world.colonies()[static_cast<std::size_t>(k)];
        colonies.push_back({{"index", k},
                            {"colour", {c.red(), c.green(), c.blue()}},
                            {"kind", kindOf(world, k, botColonies)}});
    }
    line["colonies"] = std::move(colonies);
    line["decision_every"] = host.decisionEvery;
    line["update_ms"] = 30;
    line["time_bank"] = {{"start_ms", host.bankStartMs}, {"increment_ms", host.bankIncrementMs}};
    const int d = std::clamp(world.difficulty(), 0, 2);
    line["flags"] = {{"base", 1},
                     {"per_viruses", world.params().m_flag_per_count[d]},
                     {"reach", Colony::kFlagReach}};
    return line.dump();
}

std::string botStateLine(const World& world, int decision, int update) {
    Json line;
    line["decision"] = decision;
    line["update"] = update;
    const float pitch = pitchOf(world);
    std::vector<Json> runs = virusRuns(world);
    Json colonies = Json::array();
    for (std::size_t k = 0; k < world.colonies().size(); ++k) {
        const Colony& c = *world.colonies()[k];
        Json flags = Json::array();
        for (const auto& flag : c.flags()) {
            flags.push_back({std::lround(static_cast<float>(flag->column()) * pitch),
                             std::lround(static_cast<float>(flag->row()) * pitch)});
        }
        colonies.push_back({{"index", k},
                            {"viruses", c.virusCount()},
                            {"kills", c.killCounter()},
                            {"flag_limit", c.flagLimit()},
                            {"flags", std::move(flags)},
                            {"cells", std::move(runs[k])}});
    }
    line["colonies"] = std::move(colonies);
    Json sources = Json::array();
    for (const auto& source : world.lifeSources()) {
        sources.push_back({{"cell", {source->column(), source->row()}},
                           {"reserve", source->reserve()},
                           {"start", source->startingReserve()}});
    }
    line["sources"] = std::move(sources);
    return line.dump();
}

std::string botEndLine(int update, bool finished, int winner, const std::string& stopped) {
    Json end = {{"update", update}, {"finished", finished}, {"winner", winner}};
    if (!stopped.empty()) {
        end["stopped"] = stopped;
    }
    return Json{{"end", std::move(end)}}.dump();
}

std::optional<BotAnswer> parseBotAnswer(std::string_view line, const World& world,
                                        std::string& why) {
    const Json answer = Json::parse(line, nullptr, false);
    if (answer.is_discarded() || !answer.is_object()) {
        why = answer.is_discarded() ? "not JSON" : "not a JSON object";
        return std::nullopt;
    }
    const auto decision = answer.find("decision");
    const auto actions = answer.find("actions");
    if (decision == answer.end() || !decision->is_number_integer()) {
        why = "no whole \"decision\" number";
        return std::nullopt;
    }
    if (actions != answer.end() && (!actions->is_array() || actions->size() > kMaxActions)) {
        why = "\"actions\" is not a list of at most " + std::to_string(kMaxActions);
        return std::nullopt;
    }
    BotAnswer result;
    result.decision = decision->get<long long>();
    if (actions != answer.end()) {
        for (const Json& item : *actions) {
            if (!readAction(item, world, result, why)) {
                return std::nullopt;
            }
        }
    }
    return result;
}

}  // namespace brv
