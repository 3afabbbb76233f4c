// The help text's word wrap and scrolling, measured with the game's own font
// when the data set has been built, else with words that measure nothing.
#include <cstdint>
#include <memory>

#include "gfx/BitmapFont.h"
#include "platform/FileIo.h"
#include "ui/TextPanel.h"

namespace {

const brv::BitmapFont* shippedFont() {
    static std::unique_ptr<brv::BitmapFont> font = [] {
        auto bytes = brv::readWholeFile(BREVORA_FONT_PATH, 4 << 20);
        auto built = std::make_unique<brv::BitmapFont>();
        if (!bytes || !built->build(bytes->data(), bytes->size(), nullptr)) {
            built.reset();
        }
        return built;
    }();
    return font.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brv::TextPanel panel(shippedFont(), 400, 25, 13, 2);
    panel.setText(data, size);
    for (int i = 0; i < 8; ++i) {
        panel.scrollDown();
    }
    panel.scrollUp();
    const int lines = static_cast<int>(panel.lines().size());
    if (panel.firstLine() < 0 || (lines > 0 && panel.firstLine() >= lines)) {
        __builtin_trap();
    }
    return 0;
}
