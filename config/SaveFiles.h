#pragma once

#include <string>
#include <utility>

#include "config/GameLocation.h"
#include "config/Preferences.h"
#include "config/SaveFolder.h"
#include "config/ScoreTable.h"

namespace brv {

// The player's own files and what they keep between runs: the folder they
// are written to, the best results, the preferences and the last choices of
// the new-game dialog. The game writes all of it; the data set never holds it.
struct SaveFiles {
    // The folder is the game folder's "data/" while it can be written, or
    // `userDir` for an installed game.
    SaveFiles(const GameLocation& location, std::string userDir)
        : m_save_folder(location, std::move(userDir)) {}

    int m_last_players_count = 0;
    int m_last_difficult = 0;
    bool m_autosave = false;
    // The seven best results, read and written with the window settings.
    ScoreTable m_score_table;
    // Where the settings and the table are read and written.
    SaveFolder m_save_folder;
    // Sound, palette, speed and the flag count, kept in their own file.
    Preferences m_preferences;
};

}  // namespace brv
