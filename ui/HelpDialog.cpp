#include "ui/HelpDialog.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>

#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "platform/VirtualKeys.h"
#include "ui/Layout.h"

namespace brv {

namespace {

std::unique_ptr<Button> makeButton(View* owner, GameContext& context, const Texture& image,
                                   const char* keyX, const char* keyY) {
    auto button = std::make_unique<Button>(owner, &image, &context.sounds);
    const KeyValueFile& layout = context.params.m_layout;
    button->setPosition(static_cast<float>(layoutInt(layout, keyX)),
                        static_cast<float>(layoutInt(layout, keyY)));
    return button;
}

}  // namespace

HelpDialog::HelpDialog(GameContext& context)
    : context_(context), panel_(&context.art.font, 400, 25, 13, 2) {
    DataBlob text = context_.params.m_archive.readEntry(kTextPath);
    panel_.setText(text.bytes(), text.size);
    const ResourceSet& art = context_.art;
    closeButton_ =
        makeButton(this, context_, art.closeButton, "m_hd_close_btnx", "m_hd_close_btny");
    addWidget(closeButton_.get());
    upButton_ = makeButton(this, context_, art.upButton, "m_up_btnx", "m_up_btny");
    addWidget(upButton_.get());
    downButton_ = makeButton(this, context_, art.downButton, "m_down_btnx", "m_down_btny");
    addWidget(downButton_.get());
}

void HelpDialog::onWidgetEvent(Widget* widget) {
    if (widget == closeButton_.get()) {
        close(kResultConfirmed);
    } else if (widget == upButton_.get()) {
        panel_.scrollUp();
    } else if (widget == downButton_.get()) {
        panel_.scrollDown();
    }
}

void HelpDialog::onKeyDown(int virtualKey) {
    switch (virtualKey) {
        case kVkUp:
            panel_.scrollBy(-1);
            break;
        case kVkDown:
            panel_.scrollBy(1);
            break;
        case kVkPageUp:
            panel_.scrollBy(-panel_.visibleLines());
            break;
        case kVkPageDown:
            panel_.scrollBy(panel_.visibleLines());
            break;
        default:
            break;
    }
    Dialog::onKeyDown(virtualKey);
}

// A notch turned away from the player goes back towards the start, as the
// up arrow does; the wheel counts only over the dialog's box.
void HelpDialog::onMouseWheel(int x, int y, int steps) {
    const int left = localX(x);
    const int top = localY(y);
    if (left < 0 || left >= width || top < 0 || top >= height) {
        return;
    }
    const long long lines = -static_cast<long long>(steps) * panel_.scrollStep();
    panel_.scrollBy(static_cast<int>(std::clamp<long long>(lines, INT_MIN, INT_MAX)));
}

void HelpDialog::draw() {
    const ResourceSet& art = context_.art;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBox(art.dialogFrame);
    drawContent();
    drawTitle(art.font, "Help", 50, 100);
    panel_.draw(80, 120, {0, 0.2f, 0});
    glPopMatrix();
}

}  // namespace brv
