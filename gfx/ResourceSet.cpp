#include "gfx/ResourceSet.h"

#include "config/GameParams.h"
#include "config/PackFile.h"

namespace brv {

void ResourceSet::loadSpriteDescriptions() {
    DataBlob lifeSource = archive_->readEntry("dat/life_src.spr");
    lifeSourceSprite.readDescription(lifeSource.bytes(), lifeSource.size);
    DataBlob flag = archive_->readEntry("dat/flag.spr");
    flagSprite.readDescription(flag.bytes(), flag.size);
}

ResourceSet& resourceSet(GameParams& params) {
    if (!params.m_resources) {
        params.m_resources = {new ResourceSet(&params.m_archive),
                              [](ResourceSet* set) { delete set; }};
    }
    return *params.m_resources;
}

ResourceSet& resourceSet() {
    return resourceSet(gameParams());
}

}  // namespace brv
