#include "ui/Top7Dialog.h"

#include <GL/gl.h>

#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "gfx/ScoreTableDraw.h"
#include "gfx/StretchedPicture.h"
#include "ui/Layout.h"

namespace brv {

Top7Dialog::Top7Dialog(GameContext& context) : context_(context) {
    closeButton_ = std::make_unique<Button>(this, &context_.art.closeButton, &context_.sounds);
    closeButton_->setPosition(
        static_cast<float>(layoutInt(context_.params.m_layout, "m_t7d_close_btnx")),
        static_cast<float>(layoutInt(context_.params.m_layout, "m_t7d_close_btny")));
    addWidget(closeButton_.get());
}

void Top7Dialog::onWidgetEvent(Widget* widget) {
    if (widget == closeButton_.get()) {
        close(kResultConfirmed);
    }
}

void Top7Dialog::draw() {
    const ResourceSet& art = context_.art;
    const GameParams& params = context_.params;
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawStretchedPicture(art.gameBackground, w, h);
    drawContent();
    drawTitle(art.font, "Top 7", 350, 60);
    drawScoreTable(params.m_score_table, art.font);
    glPopMatrix();
}

}  // namespace brv
