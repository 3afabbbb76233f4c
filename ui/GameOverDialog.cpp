#include "ui/GameOverDialog.h"

#include <GL/gl.h>

#include <cstdio>

#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "gfx/StretchedPicture.h"
#include "platform/VirtualKeys.h"
#include "ui/Layout.h"

namespace brv {

GameOverDialog::GameOverDialog(int score) : score_(score) {
    ResourceSet& art = resourceSet();
    closeButton_ = std::make_unique<Button>(this, &art.closeButton);
    closeButton_->setPosition(static_cast<float>(layoutInt("m_end_close_btnx")),
                              static_cast<float>(layoutInt("m_end_close_btny")));
    addWidget(closeButton_.get());
    nameBox_ = std::make_unique<EditBox>(this, &art.font, 35.0f, &art.nameEditBox);
    nameBox_->x = layoutFloat("m_end_editx");
    nameBox_->y = layoutFloat("m_end_edity");
    nameBox_->z = 10;
    nameBox_->maxLength = kNameLength;
    nameBox_->inset = 12;
    addWidget(nameBox_.get());
    qualifies_ = gameParams().m_score_table.rank(score_) != -1;
    nameBox_->visible = qualifies_;
}

void GameOverDialog::onKeyDown(int virtualKey) {
    if (virtualKey == kVkEscape || virtualKey == kVkEnter) {
        finish();
    }
    // Every key reaches the name box, so backspace edits the name.
    View::onKeyDown(virtualKey);
}

void GameOverDialog::onWidgetEvent(Widget* widget) {
    if (widget == closeButton_.get()) {
        finish();
    }
}

GameOverDialog::~GameOverDialog() {
    enterOnce();
}

void GameOverDialog::enterScore(const std::string& name, int score) {
    ScoreTable& table = gameParams().m_score_table;
    if (table.rank(score) != -1) {
        table.insert(name.empty() ? ScoreTable::kAnonymous : name, score);
    }
}

void GameOverDialog::finish() {
    enterOnce();
    close(kResultConfirmed);
}

void GameOverDialog::enterOnce() {
    if (!finished_) {
        finished_ = true;
        name_ = nameBox_->text().empty() ? ScoreTable::kAnonymous : nameBox_->text();
        enterScore(name_, score_);
    }
}

void GameOverDialog::draw() {
    const ResourceSet& art = resourceSet();
    const GameParams& params = gameParams();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawShade(0, 0, 0, 1);
    glDisable(GL_TEXTURE_2D);
    drawFrame(0.3f, 0.4f, 0.5f, 0.9f);
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    drawStretchedPicture(art.gameBackground, w, h);
    drawContent();
    drawTitle(art.font, "Game Over !", 300, 70);
    char line[48];
    std::snprintf(line, sizeof line, "Your score: %i", score_);
    art.font.drawText(line, 300, 200, {.size = 30, .colour = {1, 0, 0}, .depth = 10});
    if (qualifies_) {
        art.font.drawText("Enter Your Name", 300, 300,
                          {.size = 30, .colour = {1, 0, 0}, .depth = 10});
    }
    glPopMatrix();
}

}  // namespace brv
