#include "sim/Replay.h"

#include <algorithm>

#include "config/GameRules.h"
#include "sim/Colony.h"
#include "sim/HexText.h"
#include "sim/ReplayCheck.h"
#include "sim/RulesState.h"
#include "sim/World.h"

namespace brv {

namespace {

std::uint64_t fnv1a(std::uint64_t hash, const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
    }
    return hash;
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

std::string Replay::rulesRefusal(const GameRules& params) const {
    const std::string here = rulesHash(params);
    return here == rules ? std::string()
                         : "recorded with other rules (" + rules + "; these are " + here + ")";
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
    return hexText(hash);
}

}  // namespace brv
