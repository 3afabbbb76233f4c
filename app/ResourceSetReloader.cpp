#include "app/ResourceSetReloader.h"

#include "gfx/ResourceSet.h"

namespace brv {

void ResourceSetReloader::releaseAll() {
    resources_.releaseAll();
}

void ResourceSetReloader::loadAll() {
    resources_.loadAll();
}

}  // namespace brv
