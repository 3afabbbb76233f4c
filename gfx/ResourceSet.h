#pragma once

#include "gfx/Sprite.h"

namespace brv {

class GameParams;
class PackFile;

// Owns every piece of art the game draws. Until the window exists it holds
// only the two sprite templates' descriptions, which the simulation needs for
// its animation draws even without a window.
class ResourceSet {
public:
    explicit ResourceSet(const PackFile* archive) : archive_(archive) {}
    ResourceSet(const ResourceSet&) = delete;
    ResourceSet& operator=(const ResourceSet&) = delete;

    // Reads "dat/life_src.spr" and "dat/flag.spr" into the two sprite templates
    // without creating any texture.
    void loadSpriteDescriptions();

    Sprite lifeSourceSprite;
    Sprite flagSprite;

private:
    const PackFile* archive_;
};

// The resource set of the current parameters, created on first use.
ResourceSet& resourceSet();
ResourceSet& resourceSet(GameParams& params);

}  // namespace brv
