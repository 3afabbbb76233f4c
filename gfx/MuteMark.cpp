#include "gfx/MuteMark.h"

#include "config/GameParams.h"
#include "gfx/BitmapFont.h"

namespace brv {

void drawMuteMark(const BitmapFont& font, const GameParams& params) {
    if (!params.m_preferences.muted) {
        return;
    }
    constexpr const char* kText = "muted";
    constexpr float kSize = 16;
    constexpr float kMargin = 8;
    // Over the pause shade and the field, under nothing.
    constexpr float kDepth = 40;
    const float x =
        static_cast<float>(params.m_screen_width) - font.textWidth(kText, kSize) - kMargin;
    const float y = static_cast<float>(params.m_screen_height) - kMargin;
    font.drawText(kText, x + 1, y + 1, {.size = kSize, .colour = {0, 0, 0}, .depth = kDepth});
    font.drawText(kText, x, y, {.size = kSize, .colour = {1, 0.85f, 0.4f}, .depth = kDepth});
}

}  // namespace brv
