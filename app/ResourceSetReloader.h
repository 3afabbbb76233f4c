#pragma once

#include "app/window/ResourceReloader.h"

namespace brv {

class ResourceSet;

// Lets the window release and reload the game's art around a change of
// rendering context (the switch between window and full screen).
class ResourceSetReloader : public ResourceReloader {
public:
    explicit ResourceSetReloader(ResourceSet& resources) : resources_(resources) {}
    void releaseAll() override;
    void loadAll() override;

private:
    ResourceSet& resources_;
};

}  // namespace brv
