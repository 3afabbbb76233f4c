#include "app/MenuNotice.h"

#include <cstdio>
#include <utility>

#include "gfx/BitmapFont.h"

namespace brv {

void MenuNotice::show(std::string text) {
    std::fprintf(stderr, "brevora: %s\n", text.c_str());
    // The menu's lettering is wide: a long reason is cut to fit the window.
    constexpr std::size_t kLongest = 70;
    if (text.size() > kLongest) {
        text = text.substr(0, kLongest - 3) + "...";
    }
    text_ = std::move(text);
    shownMs_ = kShownMs;
}

void MenuNotice::onTick(int elapsedMs) {
    if (shownMs_ > 0) {
        shownMs_ -= elapsedMs;
    }
}

void MenuNotice::draw(const BitmapFont& font) const {
    if (shownMs_ <= 0) {
        return;
    }
    font.drawText(text_.c_str(), 11, 566, {.size = 18, .colour = {0, 0, 0}, .depth = -10});
    font.drawText(text_.c_str(), 10, 565, {.size = 18, .colour = {1, 1, 1}, .depth = -10});
}

}  // namespace brv
