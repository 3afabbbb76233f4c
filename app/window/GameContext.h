#pragma once

namespace brv {

class GameParams;
class GlWindow;
class ResourceSet;
class SoundSet;

// What every screen and dialog works with: the rules and files, the art, the
// sound effects and the window. The program builds it once from the objects
// it owns and hands it to each view as the view is made; it outlives them all.
struct GameContext {
    GameParams& params;
    ResourceSet& art;
    SoundSet& sounds;
    // Null while there is no window: before the program has made one, after
    // it is gone, and for views a test builds without one.
    GlWindow* window = nullptr;
};

}  // namespace brv
