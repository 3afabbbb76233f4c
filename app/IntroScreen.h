#pragma once

#include <cstdint>

#include "app/window/GameContext.h"
#include "app/window/View.h"
#include "gfx/JpegTexture.h"

namespace brv {

// The splash picture that covers the window while the art loads at start-up.
// It is drawn once, never ticked, and gone before the message loop starts.
class IntroScreen : public View {
public:
    static constexpr const char* kPicturePath = "mui/intro.jpg";

    // Needs a current GL context for the picture.
    explicit IntroScreen(GameContext& context);

    void draw() override;

    const JpegTexture& picture() const { return picture_; }

private:
    GameContext& context_;
    JpegTexture picture_;
};

// The seed for a run: the variable BREVORA_SEED when it holds a decimal number
// from 0 to 4294967295, so a session can be replayed, else the millisecond
// clock. A variable that is set but unusable is reported on stderr and the
// clock is used. With BREVORA_SHOW_SEED set (not empty) the seed chosen is
// printed on stderr, for replaying a session that was seeded by the clock.
std::uint32_t startSeed(std::uint32_t clockMs);

}  // namespace brv
