#include "ui/Top7Dialog.h"

#include <GL/gl.h>

#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "ui/Layout.h"

namespace brv {

Top7Dialog::Top7Dialog() {
    closeButton_ = std::make_unique<Button>(this, &resourceSet().closeButton);
    closeButton_->setPosition(static_cast<float>(layoutInt("m_t7d_close_btnx")),
                              static_cast<float>(layoutInt("m_t7d_close_btny")));
    addWidget(closeButton_.get());
}

void Top7Dialog::onWidgetEvent(Widget* widget) {
    if (widget == closeButton_.get()) {
        close(kResultConfirmed);
    }
}

void Top7Dialog::draw() {
    const ResourceSet& art = resourceSet();
    const GameParams& params = gameParams();
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, art.gameBackground.glName());
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 1);
    glVertex3f(0, 0, 0);
    glTexCoord2f(0, 0);
    glVertex3f(0, h, 0);
    glTexCoord2f(1, 1);
    glVertex3f(w, 0, 0);
    glTexCoord2f(1, 0);
    glVertex3f(w, h, 0);
    glEnd();
    drawContent();
    drawTitle(art.font, "Top 7", 350, 60);
    params.m_score_table.draw(art.font);
    glPopMatrix();
}

}  // namespace brv
