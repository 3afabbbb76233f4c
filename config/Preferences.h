#pragma once

#include <string>

namespace brv {

class SaveFolder;

// The player's choices for what the game adds to the designed play: sound,
// the colony palette, the game speed and the flag count. Kept in "prefs.cfg"
// (plain key-value text) in the save folder, beside the window settings,
// whose file keeps its own seven keys. Every value has a default that plays
// the game exactly as designed; a missing, damaged or out-of-range value
// reads as its default.
struct Preferences {
    static constexpr const char* kFileName = "prefs.cfg";
    static constexpr int kDefaultVolume = 30;
    // World updates per 30 ms tick.
    static constexpr int kSpeeds[] = {1, 2, 4};

    bool muted = false;
    int volume = kDefaultVolume;  // percent
    bool colourBlindPalette = false;
    int speed = 1;
    // The "flags 3/5" line shown without holding Tab.
    bool alwaysShowFlagCount = false;
    // No preferences file was there: the game has never been played here.
    bool firstRun = true;
    // The short lines that tell a newcomer what is happening ("coach 0"
    // turns them off); they also stop once a game has been won.
    bool coach = true;
    int gamesWon = 0;

    // Whether the games started now show the newcomer's lines.
    bool coaching() const { return coach && gamesWon == 0; }

    // Reads the file of `folder`; true when there was one.
    bool load(const SaveFolder& folder);
    // Writes the file atomically; false when it could not be written (the
    // folder's problem is told once with the other saved files).
    bool save(SaveFolder& folder) const;

    // The next speed up or down the 1, 2, 4 ladder, staying at its ends.
    static int fasterThan(int speed);
    static int slowerThan(int speed);
};

}  // namespace brv
