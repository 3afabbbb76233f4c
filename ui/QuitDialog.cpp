#include "ui/QuitDialog.h"

#include <GL/gl.h>

#include "gfx/ResourceSet.h"
#include "ui/Layout.h"

namespace brv {

QuitDialog::QuitDialog() {
    ResourceSet& art = resourceSet();
    okButton_ = std::make_unique<Button>(this, &art.okButton);
    okButton_->setPosition(static_cast<float>(layoutInt("m_qd_ok_btnx")),
                           static_cast<float>(layoutInt("m_qd_ok_btny")));
    addWidget(okButton_.get());
    cancelButton_ = std::make_unique<Button>(this, &art.cancelButton);
    cancelButton_->setPosition(static_cast<float>(layoutInt("m_qd_cancel_btnx")),
                               static_cast<float>(layoutInt("m_qd_cancel_btny")));
    addWidget(cancelButton_.get());
}

void QuitDialog::draw() {
    const ResourceSet& art = resourceSet();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBox(art.dialogFrame);
    drawContent();
    struct Line {
        const char* text;
        float x;
        float y;
    };
    static constexpr Line kLines[] = {
        {"Do you really", 50, 100}, {"want", 100, 170}, {"to exit?", 160, 240}};
    // All shadows first, so no shadow falls over an orange line.
    for (const Line& line : kLines) {
        art.font.drawText(line.text, line.x + 2, line.y + 2,
                          {.size = kTitleSize, .colour = {0, 0, 0}, .depth = 10});
    }
    for (const Line& line : kLines) {
        art.font.drawText(line.text, line.x, line.y,
                          {.size = kTitleSize, .colour = {1, 0.3f, 0}, .depth = 10});
    }
    glPopMatrix();
}

void QuitDialog::onWidgetEvent(Widget* widget) {
    if (widget == okButton_.get()) {
        close(kResultConfirmed);
    } else if (widget == cancelButton_.get()) {
        close(kResultCancelled);
    }
}

}  // namespace brv
