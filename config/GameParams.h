#pragma once

#include <string>
#include <vector>

#include "config/GameLayout.h"
#include "config/GameLocation.h"
#include "config/GameRules.h"
#include "config/KeyValueFile.h"
#include "config/PackFile.h"
#include "config/SaveFiles.h"

namespace brv {

// Everything the game loads at start-up, in one object: the rules the
// simulation plays by, the layout the screens read, the player's files, and
// the archive they come from. Each part is a base, so a world takes the
// rules alone while a screen still reads `params.m_x` of any part.
class GameParams : public GameRules, public GameLayout, public SaveFiles {
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

    // Reads the rules from a parsed "dat/param.txt", in the fixed key order,
    // and the demonstration's timings the same file holds.
    void readRules(const KeyValueFile& rules);

    // Everything that keeps the game from starting: a rule file or layout file
    // found nowhere, and the rules' problems (ruleProblems()).
    std::vector<std::string> startupProblems() const;
    // Damage the game plays on with, one line per file: sprite descriptions
    // that are missing or count no frames.
    const std::vector<std::string>& dataDamage() const { return m_data_damage; }

    PackFile m_archive;

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
