#include "ui/QuestionDialog.h"

#include <GL/gl.h>

#include <algorithm>

#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "ui/Layout.h"

namespace brv {

namespace {

// The first line at y 100, the others 70 apart, so the
// buttons below them stay clear.
constexpr float kFirstLineY = 100;
constexpr float kLineStep = 70;
// The box picture's border, which no letter should cross.
constexpr float kSideMargin = 40;

}  // namespace

QuestionDialog::QuestionDialog(GameContext& context, std::vector<std::string> lines)
    : context_(context), lines_(std::move(lines)) {
    ResourceSet& art = context_.art;
    okButton_ = std::make_unique<Button>(this, &art.okButton, &context_.sounds);
    okButton_->setPosition(static_cast<float>(layoutInt(context_.params.m_layout, "m_qd_ok_btnx")),
                           static_cast<float>(layoutInt(context_.params.m_layout, "m_qd_ok_btny")));
    addWidget(okButton_.get());
    cancelButton_ = std::make_unique<Button>(this, &art.cancelButton, &context_.sounds);
    cancelButton_->setPosition(
        static_cast<float>(layoutInt(context_.params.m_layout, "m_qd_cancel_btnx")),
        static_cast<float>(layoutInt(context_.params.m_layout, "m_qd_cancel_btny")));
    addWidget(cancelButton_.get());
}

std::unique_ptr<QuestionDialog> QuestionDialog::inQuitBox(GameContext& context,
                                                          std::vector<std::string> lines) {
    auto dialog = std::make_unique<QuestionDialog>(context, std::move(lines));
    const GameParams& params = context.params;
    dialog->setLogicalSize(params.m_screen_width, params.m_screen_height);
    dialog->x = static_cast<float>(layoutInt(params.m_layout, "m_qd_x"));
    dialog->y = static_cast<float>(layoutInt(params.m_layout, "m_qd_y"));
    dialog->width = layoutInt(params.m_layout, "m_qd_width");
    dialog->height = layoutInt(params.m_layout, "m_qd_height");
    dialog->shadeVisible = false;
    dialog->frameVisible = true;
    return dialog;
}

void QuestionDialog::draw() {
    const ResourceSet& art = context_.art;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBox(art.dialogFrame);
    drawContent();
    const float room = std::max(static_cast<float>(width) - 2 * kSideMargin, 1.0f);
    // All shadows first, so no shadow falls over a line.
    for (const bool shadow : {true, false}) {
        float y = kFirstLineY;
        for (const std::string& line : lines_) {
            const float full = art.font.textWidth(line.c_str(), kTitleSize);
            const float size = full > room ? kTitleSize * room / full : kTitleSize;
            const float x =
                (static_cast<float>(width) - art.font.textWidth(line.c_str(), size)) / 2;
            const float shift = shadow ? 2 : 0;
            const Colour colour = shadow ? Colour{0, 0, 0, 1} : Colour{1, 0.3f, 0, 1};
            art.font.drawText(line.c_str(), x + shift, y + shift,
                              {.size = size, .colour = colour, .depth = 10});
            y += kLineStep;
        }
    }
    glPopMatrix();
}

void QuestionDialog::onWidgetEvent(Widget* widget) {
    if (widget == okButton_.get()) {
        close(kResultConfirmed);
    } else if (widget == cancelButton_.get()) {
        close(kResultCancelled);
    }
}

}  // namespace brv
