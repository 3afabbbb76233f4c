#pragma once

#include <string>
#include <vector>

#include "config/GameLocation.h"
#include "config/KeyValueFile.h"
#include "config/PackFile.h"
#include "config/Preferences.h"
#include "config/SaveFolder.h"
#include "config/ScoreTable.h"
#include "config/SpriteAnimation.h"

namespace brv {

// The one configuration object every subsystem reads: window settings, the
// logical area, the archive, the layout file and the simulation rules. Members
// keep the names of their file keys. Per-difficulty triples are indexed by
// m_difficult (0 Easy, 1 Medium, 2 Hard).
class GameParams {
public:
    // Opens "data/data.pk" under `baseDir` (the working folder for the game) and
    // reads "dat/param.txt", "mui/menu.txt" and the two sprite descriptions
    // "dat/flag.spr" and "dat/life_src.spr" from it or from loose files. The
    // files the game writes go to that folder's "data/" while it can be
    // written.
    explicit GameParams(std::string baseDir = ".");
    // The same for a data set found by locateGame(); an installed one keeps
    // the files it writes in the player's data folder.
    explicit GameParams(const GameLocation& location);
    GameParams(const GameParams&) = delete;
    GameParams& operator=(const GameParams&) = delete;

    // Reads the rules from a parsed "dat/param.txt", in the fixed key order.
    void readRules(const KeyValueFile& rules);

    // Everything that keeps the game from starting: a rule file or layout file
    // found nowhere, and rules that break what the simulation divides by or
    // sizes buffers for. One line per problem, naming the key and its value.
    std::vector<std::string> startupProblems() const;
    std::vector<std::string> ruleProblems() const;
    // Damage the game plays on with, one line per file: sprite descriptions
    // that are missing or count no frames.
    const std::vector<std::string>& dataDamage() const { return m_data_damage; }

    int m_window_width = 0;
    int m_window_height = 0;
    int m_window_x = 0;
    int m_window_y = 0;
    int m_screen_width = 0;
    int m_screen_height = 0;
    PackFile m_archive;
    KeyValueFile m_layout;
    int m_last_players_count = 0;
    int m_last_difficult = 0;
    int m_key_cancel = 0;
    int m_key_confirm = 0;
    bool m_autosave = false;
    int m_time_before_demo = 0;
    int m_time_demo = 0;
    float m_dalpha = 0;
    int m_difficult = 0;
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
    // The seven best results, read and written with the window settings.
    ScoreTable m_score_table;
    // Where the settings and the table are read and written.
    SaveFolder m_save_folder;
    // Sound, palette, speed and the flag count, kept in their own file.
    Preferences m_preferences;

    const std::string& baseDir() const { return m_base_dir; }

private:
    // The line naming an archive that is there but cannot be read.
    std::string archiveRefusal() const;

    std::string m_base_dir;
    // The folders looked at in vain for a data set, for the start-up message.
    std::vector<std::string> m_searched;
    bool m_rules_found = false;
    bool m_layout_found = false;
    std::vector<std::string> m_data_damage;
};

}  // namespace brv
