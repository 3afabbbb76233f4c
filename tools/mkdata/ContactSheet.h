#pragma once

#include <string>

namespace brv::art {

struct SheetReport {
    double loadAllMs = 0;  // time ResourceSet::loadAll took for the data set
    int glyphsFound = 0;
};

// Renders every picture of a data set with the game's own loaders on an
// offscreen GL context: the main menu, a game, the new-game and top-7 views as
// the layout places them, the font at sizes 15, 25, 40 and 50, every control in
// every state, the sprites frame by frame and the ten field textures. `dataDir`
// holds data/data.pk or the loose files. Writes a PNG; false with a reason.
bool renderContactSheet(const std::string& dataDir, const std::string& pngPath, SheetReport& report,
                        std::string& error);

}  // namespace brv::art
