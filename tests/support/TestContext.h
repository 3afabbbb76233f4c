#pragma once

#include "app/window/GameContext.h"
#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/ResourceSet.h"

namespace brv::test {

// A test's own art and sound set over its own parameters, and the context its
// screens and dialogs work with; `window` may be null, as for a view that is
// never shown.
struct TestContext {
    explicit TestContext(GameParams& params, GlWindow* window = nullptr)
        : art(&params.m_archive), context{params, art, sounds, window} {}
    TestContext(const TestContext&) = delete;
    TestContext& operator=(const TestContext&) = delete;

    ResourceSet art;
    SoundSet sounds;
    GameContext context;
};

}  // namespace brv::test
