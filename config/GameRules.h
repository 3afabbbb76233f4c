#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "config/KeyValueFile.h"
#include "config/SpriteAnimation.h"

namespace brv {

// The rules of play: the values of "dat/param.txt" and the animation
// templates of the two sprite descriptions, everything a world reads and
// nothing else, so that the simulation, the replay checker and the match
// runner depend on the rules alone. Members keep the names of their file
// keys. Per-difficulty triples are indexed by the difficulty a world is
// built with (0 Easy, 1 Medium, 2 Hard); the rules hold no difficulty of
// their own, so one rules object serves worlds of every difficulty at once.
class GameRules {
public:
    // The files the rules come from, in the order their bytes are kept.
    static constexpr std::array<const char*, 3> kRuleFiles = {"dat/param.txt", "dat/flag.spr",
                                                              "dat/life_src.spr"};

    // Reads the rules from a parsed "dat/param.txt", in the fixed key order.
    void readRules(const KeyValueFile& rules);

    // Rules that break what the simulation divides by or sizes buffers for.
    // One line per problem, naming the key and its value.
    std::vector<std::string> ruleProblems() const;

    float m_dalpha = 0;
    float m_virus_size = 0;
    float m_distance_beween_viruses = 0;
    int m_flag_per_count[3] = {};
    float m_speed = 0;
    int m_min_life_reserve[3] = {};
    int m_max_life_reserve[3] = {};
    int m_viruses_on_start[3] = {};
    int m_virus_visible = 0;
    int m_life_src_visible = 0;
    int m_life_src_add_prob[3] = {};
    int m_life_src_min_life_reserve[3] = {};
    int m_life_src_max_life_reserve[3] = {};
    int m_life_distribute[3] = {};
    float m_life_src_dist = 0;
    int m_max_population = 0;
    // The most life a virus can hold after a fight, a feed or a share of a
    // death; 0 (or no key) leaves life unbounded, as the rules were designed.
    int m_max_virus_life[3] = {};
    // Handicaps of the computer's colonies alone, so that the difficulties
    // climb for a player; 0 (or no key) keeps the designed opponents.
    // Viruses per flag of a computer colony, instead of m_flag_per_count.
    int m_ai_flag_per_count[3] = {};
    // Milliseconds between a computer colony's rethinks of its flags.
    int m_ai_think_ms[3] = {};
    // The share of its life, in percent, a computer colony's virus takes from
    // the player's virus it hits.
    int m_ai_attack_percent[3] = {};
    // The animation templates of flags and life sources, from their sprite
    // descriptions: a new one copies its template and starts on a random frame
    // of it, so the frame counts take part in the rules' draws. A missing
    // description gives one group of one frame.
    SpriteAnimation m_flag_animation;
    SpriteAnimation m_life_src_animation;
    // The bytes of kRuleFiles as they were loaded (empty for a file found
    // nowhere), so that a replay can tell whether it was recorded under these
    // rules without going back to the data set.
    std::array<std::vector<std::uint8_t>, kRuleFiles.size()> m_rule_files;

private:
    // The strictly read keys whose text was not three whole numbers in
    // decimal digits an int holds, with that text: named by ruleProblems.
    std::vector<std::pair<std::string, std::string>> unreadable_;
};

}  // namespace brv
