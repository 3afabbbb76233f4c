#include "ui/HelpDialog.h"

#include <GL/gl.h>

#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "ui/Layout.h"

namespace brv {

namespace {

std::unique_ptr<Button> makeButton(View* owner, const Texture& image, const char* keyX,
                                   const char* keyY) {
    auto button = std::make_unique<Button>(owner, &image);
    button->setPosition(static_cast<float>(layoutInt(keyX)), static_cast<float>(layoutInt(keyY)));
    return button;
}

}  // namespace

HelpDialog::HelpDialog() : panel_(&resourceSet().font, 400, 25, 13, 2) {
    DataBlob text = gameParams().m_archive.readEntry(kTextPath);
    panel_.setText(text.bytes(), text.size);
    const ResourceSet& art = resourceSet();
    closeButton_ = makeButton(this, art.closeButton, "m_hd_close_btnx", "m_hd_close_btny");
    addWidget(closeButton_.get());
    upButton_ = makeButton(this, art.upButton, "m_up_btnx", "m_up_btny");
    addWidget(upButton_.get());
    downButton_ = makeButton(this, art.downButton, "m_down_btnx", "m_down_btny");
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

void HelpDialog::draw() {
    const ResourceSet& art = resourceSet();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBox(art.dialogFrame);
    drawContent();
    drawTitle(art.font, "Help", 50, 100);
    panel_.draw(80, 120, {0, 0.2f, 0});
    glPopMatrix();
}

}  // namespace brv
