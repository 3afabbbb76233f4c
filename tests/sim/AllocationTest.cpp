#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "config/GameParams.h"
#include "sim/Flag.h"
#include "sim/LifeSource.h"
#include "sim/RulesState.h"
#include "sim/Virus.h"
#include "sim/World.h"

namespace {

// Allocations while counting, by what they were for.
bool g_counting = false;
long g_viruses = 0;
long g_sources = 0;
long g_flags = 0;
long g_other = 0;

void count(std::size_t size) {
    if (!g_counting) {
        return;
    }
    if (size == sizeof(brv::Virus)) {
        ++g_viruses;
    } else if (size == sizeof(brv::LifeSource)) {
        ++g_sources;
    } else if (size == sizeof(brv::Flag)) {
        ++g_flags;
    } else {
        ++g_other;
    }
}

}  // namespace

void* operator new(std::size_t size) {
    count(size);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace brv {
namespace {

// Ticks allocate nothing beyond the objects they create: viruses, life
// sources and flags.
TEST(Allocation, BusyWorldAllocatesOnlyForNewObjects) {
    GameParams params(std::string(BREVORA_SOURCE_DIR) + "/assets");
    RulesState state(7);
    World world(params, state, 2);
    world.addColony(1, 0, 0, false, 2);
    world.addColony(0, 1, 0, true, 2);
    world.addColony(1, 1, 0.3f, true, 2);
    world.addColony(0.7f, 1, 0.6f, true, 0);
    world.setUp();
    for (int t = 0; t < 300; ++t) {
        world.update(30);
    }
    g_counting = true;
    for (int t = 0; t < 1000; ++t) {
        world.update(30);
    }
    g_counting = false;
    EXPECT_GT(g_viruses, 100);  // the world was busy
    EXPECT_LE(g_other, g_sources);
}

}  // namespace
}  // namespace brv
