#pragma once

namespace brv {

// How a finished game ended for the player, as the game-over dialog says it.
// A player whose colony died in the same update as the last enemy lost: the
// win goes only to a colony that is left.
struct GameResult {
    enum class How { Won, WipedOut, Resigned };
    How how = How::WipedOut;
    // Game time from the start to the update the game ended on.
    long long gameMs = 0;
};

}  // namespace brv
