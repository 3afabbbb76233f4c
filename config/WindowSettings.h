#pragma once

#include <string>

namespace brv {

class GameParams;

// The window's size and position and the player's last choices, kept between
// runs in "dx.cfg" (scrambled key-value text), with the high-score table
// "scores.tab" beside it, both in the parameters' save folder: "data/" of the
// game folder, or the player's data folder for an installed game.
class WindowSettings {
public:
    static constexpr const char* kFileName = "dx.cfg";
    // An older settings file, only ever deleted once the current one was read.
    static constexpr const char* kOldFileName = "d.cfg";
    static constexpr int kDefaultWidth = 800;
    static constexpr int kDefaultHeight = 600;
    // No display mode is this large; a bigger stored size is damage.
    static constexpr int kMaxSide = 16384;
    // The smallest window in which the 800 by 600 picture is still legible.
    static constexpr int kMinWidth = 320;
    static constexpr int kMinHeight = 240;

    // Start-up: reads the settings into `params` (an unreadable file keeps
    // the defaults) and then the high-score table, whether or not the
    // settings were there. A stored size that could not make a usable window
    // becomes 800 by 600. A save folder that cannot be written is reported
    // on stderr. True when the settings file was read.
    static bool load(GameParams& params);

    // Shutdown: writes the settings, with (windowX, windowY) the window's
    // top-left corner on the desktop, then the high-score table. True when
    // both were written; otherwise the files there stay as they were, the
    // table in memory stays, and stderr says why (once per run).
    static bool save(GameParams& params, int windowX, int windowY);

    // Writes the high-score table alone, as soon as an entry enters it, so a
    // crash or a killed process later loses nothing. False when it could not
    // be written; the folder's problem() then says why (also on stderr, once),
    // or `why` does when another program held the table's lock past
    // kLockWaitMs or the lock cannot be taken at all (the table in memory
    // keeps the entry, and a later save, at the latest when the game ends,
    // tries again).
    static bool saveScores(GameParams& params, std::string* why = nullptr);
    static constexpr int kLockWaitMs = 500;

    // Start-up, before the window opens: a size larger than the usable desktop
    // (the desktop less its panels; 0 when unknown, which bounds nothing) or
    // smaller than kMinWidth by kMinHeight is damage. Each side is pulled to
    // the nearest that fits, and stderr names the size and `source` (the
    // settings file it came from; empty for the built-in size). True when the
    // size changed.
    static bool fitOnDesktop(GameParams& params, int usableWidth, int usableHeight,
                             const std::string& source);

    // Keeps the window's centre on the desktop: a window whose centre lies at
    // or beyond the right (bottom) edge has its x (y) halved, once.
    static void keepCentreOnDesktop(GameParams& params, int desktopWidth, int desktopHeight);
};

}  // namespace brv
