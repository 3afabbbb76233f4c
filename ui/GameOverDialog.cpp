#include "ui/GameOverDialog.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "config/WindowSettings.h"
#include "gfx/ResourceSet.h"
#include "gfx/StretchedPicture.h"
#include "platform/VirtualKeys.h"
#include "ui/Layout.h"

namespace brv {

GameOverDialog::GameOverDialog(GameContext& context, int score) : context_(context), score_(score) {
    ResourceSet& art = context_.art;
    closeButton_ = std::make_unique<Button>(this, &art.closeButton, &context_.sounds);
    closeButton_->setPosition(
        static_cast<float>(layoutInt(context_.params.m_layout, "m_end_close_btnx")),
        static_cast<float>(layoutInt(context_.params.m_layout, "m_end_close_btny")));
    addWidget(closeButton_.get());
    nameBox_ = std::make_unique<EditBox>(this, &art.font, kNameSize, &art.nameEditBox);
    nameBox_->x = layoutFloat(context_.params.m_layout, "m_end_editx");
    nameBox_->y = layoutFloat(context_.params.m_layout, "m_end_edity");
    nameBox_->z = 10;
    nameBox_->maxLength = kNameLength;
    nameBox_->inset = kNameInset;
    addWidget(nameBox_.get());
    qualifies_ = context_.params.m_score_table.rank(score_) != -1;
    nameBox_->visible = qualifies_;
    // A player who earned a place types the name straight away; a click
    // elsewhere still takes the focus from the box.
    if (qualifies_) {
        nameBox_->state = EditBox::kFocused;
    }
}

void GameOverDialog::onKeyDown(int virtualKey) {
    if (virtualKey == kVkEscape || virtualKey == kVkEnter) {
        finish();
    } else if (virtualKey == kVkTab && !graph_.series.empty()) {
        graphShown_ = !graphShown_;
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

bool GameOverDialog::enterScore(GameParams& params, const std::string& name, int score,
                                std::string* why) {
    ScoreTable& table = params.m_score_table;
    if (table.rank(score) == -1) {
        return true;
    }
    table.insert(name.empty() ? ScoreTable::kAnonymous : name, score);
    return WindowSettings::saveScores(params, why);
}

// The first answer enters the score; a failed save keeps the dialog open for
// one more answer, so the player reads where the table could not go.
void GameOverDialog::finish() {
    if (!finished_) {
        enterOnce();
        if (!unsavedReason_.empty()) {
            nameBox_->visible = false;
            return;
        }
    }
    close(kResultConfirmed);
}

void GameOverDialog::enterOnce() {
    if (finished_) {
        return;
    }
    finished_ = true;
    name_ = nameBox_->text().empty() ? ScoreTable::kAnonymous : nameBox_->text();
    std::string why;
    if (!enterScore(context_.params, name_, score_, &why)) {
        const SaveFolder& folder = context_.params.m_save_folder;
        unsavedFolder_ = folder.shownDir();
        unsavedReason_ = !why.empty()               ? why
                         : folder.problem().empty() ? "it could not be written"
                                                    : folder.problem();
    }
}

void GameOverDialog::draw() {
    const ResourceSet& art = context_.art;
    const GameParams& params = context_.params;
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
    drawResult(art.font);
    char line[48];
    std::snprintf(line, sizeof line, "Your score: %i", score_);
    art.font.drawText(line, 300, 200, {.size = 30, .colour = {1, 0, 0}, .depth = 10});
    if (!unsavedReason_.empty()) {
        drawUnsaved(art.font);
    } else if (qualifies_) {
        art.font.drawText("Enter Your Name", 300, 300,
                          {.size = 30, .colour = {1, 0, 0}, .depth = 10});
    }
    if (graphShown_) {
        constexpr float kSide = 60;
        constexpr float kTop = 110;
        drawLineGraph(art.font,
                      {.x = kSide,
                       .y = kTop,
                       .width = w - 2 * kSide,
                       .height = h - kTop - 60,
                       .depth = 25,
                       .title = "Viruses per colony"},
                      graph_);
    }
    glPopMatrix();
}

std::string GameOverDialog::resultLine() const {
    if (!result_) {
        return {};
    }
    const char* how = "You lost: your colony was wiped out";
    if (result_->how == GameResult::How::Won) {
        how = "You won: yours is the last colony";
    } else if (result_->how == GameResult::How::Resigned) {
        how = "You lost: you resigned";
    }
    return std::string(how) + " after " + gameTimeText(std::max(result_->gameMs, 0LL));
}

// Between the title and the score, where the designed dialog left room; the
// place and size come from the layout like the dialog's other parts.
void GameOverDialog::drawResult(const BitmapFont& font) const {
    const std::string line = resultLine();
    if (line.empty()) {
        return;
    }
    const float x = layoutFloat(context_.params.m_layout, "m_end_resultx");
    const float y = layoutFloat(context_.params.m_layout, "m_end_resulty");
    const float size = layoutFloat(context_.params.m_layout, "m_end_result_size");
    font.drawText(line.c_str(), x + 2, y + 2, {.size = size, .colour = {0, 0, 0}, .depth = 10});
    font.drawText(line.c_str(), x, y, {.size = size, .colour = {1, 1, 1}, .depth = 10});
}

// Where the name box stood: the failure, the folder and the reason, each
// shortened from the front to fit the screen (the end of a path and of a
// reason say the most).
void GameOverDialog::drawUnsaved(const BitmapFont& font) const {
    // Inside the dialog's frame, which stands 55 units in from each side.
    const float left = 80;
    const float right = static_cast<float>(context_.params.m_screen_width) - left;
    const auto fitted = [&](const std::string& text, float x, float size) {
        std::string shown = text;
        while (shown.size() > 4 && x + font.textWidth(shown.c_str(), size) > right) {
            shown = "..." + shown.substr(4);
        }
        return shown;
    };
    font.drawText("Your score could not be saved", left, 300,
                  {.size = 30, .colour = {1, 0, 0}, .depth = 10});
    const std::string where = unsavedFolder_.empty() ? "No folder to save in" : unsavedFolder_;
    font.drawText(fitted("in " + where, left, 22).c_str(), left, 340,
                  {.size = 22, .colour = {1, 1, 1}, .depth = 10});
    font.drawText(fitted(unsavedReason_, left, 22).c_str(), left, 370,
                  {.size = 22, .colour = {1, 1, 1}, .depth = 10});
}

}  // namespace brv
