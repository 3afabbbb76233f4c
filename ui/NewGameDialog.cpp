#include "ui/NewGameDialog.h"

#include <GL/gl.h>

#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "platform/VirtualKeys.h"
#include "ui/Layout.h"

namespace brv {

namespace {

constexpr const char* kColonyKeys[NewGameDialog::kOptions][2] = {
    {"m_2player_radio_x", "m_2player_radio_y"},
    {"m_3player_radio_x", "m_3player_radio_y"},
    {"m_4player_radio_x", "m_4player_radio_y"},
};
constexpr const char* kDifficultyKeys[NewGameDialog::kOptions][2] = {
    {"m_easy_radio_x", "m_easy_radio_y"},
    {"m_medium_radio_x", "m_medium_radio_y"},
    {"m_hard_radio_x", "m_hard_radio_y"},
};
constexpr const char* kColonyLabels[NewGameDialog::kOptions] = {"2 colonies", "3 colonies",
                                                                "4 colonies"};
constexpr const char* kDifficultyLabels[NewGameDialog::kOptions] = {"Easy", "Medium", "Hard"};

std::unique_ptr<Button> makeButton(View* owner, GameContext& context, const Texture& image,
                                   const char* keyX, const char* keyY) {
    auto button = std::make_unique<Button>(owner, &image, &context.sounds);
    const KeyValueFile& layout = context.params.m_layout;
    button->setPosition(static_cast<float>(layoutInt(layout, keyX)),
                        static_cast<float>(layoutInt(layout, keyY)));
    return button;
}

}  // namespace

NewGameDialog::NewGameDialog(GameContext& context) : context_(context) {
    const ResourceSet& art = context_.art;
    okButton_ = makeButton(this, context_, art.okButton, "m_nd_ok_btnx", "m_nd_ok_btny");
    addWidget(okButton_.get());
    cancelButton_ =
        makeButton(this, context_, art.cancelButton, "m_nd_cancel_btnx", "m_nd_cancel_btny");
    addWidget(cancelButton_.get());
    const GameParams& params = context_.params;
    addOptions(colonies_, colonyGroup_, kColonyKeys, params.m_last_players_count);
    addOptions(difficulties_, difficultyGroup_, kDifficultyKeys, params.m_last_difficult);
}

void NewGameDialog::addOptions(Options& options, RadioGroup& group, const char* const (*keys)[2],
                               int remembered) {
    const ResourceSet& art = context_.art;
    for (int i = 0; i < kOptions; ++i) {
        options[i] = std::make_unique<RadioButton>(this, &art.radioButton);
        options[i]->x = layoutFloat(context_.params.m_layout, keys[i][0]);
        options[i]->y = layoutFloat(context_.params.m_layout, keys[i][1]);
        options[i]->z = 0;
        addWidget(options[i].get());
        group.add(options[i].get());
    }
    // A remembered choice the settings file cannot have meant falls back to
    // the first option, so exactly one option is always checked.
    const int initial = remembered >= 0 && remembered < kOptions ? remembered : 0;
    options[initial]->setChecked(true);
    group.uncheckOthers(options[initial].get());
}

void NewGameDialog::onKeyDown(int virtualKey) {
    if (virtualKey == kVkEscape) {
        close(kResultCancelled);
    } else if (virtualKey == kVkEnter) {
        close(kResultConfirmed);
    }
}

void NewGameDialog::onWidgetEvent(Widget* widget) {
    if (widget == okButton_.get()) {
        close(kResultConfirmed);
        return;
    }
    if (widget == cancelButton_.get()) {
        close(kResultCancelled);
        return;
    }
    for (int i = 0; i < kOptions; ++i) {
        if (widget == colonies_[i].get()) {
            colonyGroup_.uncheckOthers(colonies_[i].get());
        } else if (widget == difficulties_[i].get()) {
            difficultyGroup_.uncheckOthers(difficulties_[i].get());
        }
    }
}

void NewGameDialog::draw() {
    const ResourceSet& art = context_.art;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBox(art.dialogFrame);
    glTranslatef(x, y, 0.5f);
    drawTitle(art.font, "Start new game", 100, 120);
    drawLabels();
    glEnable(GL_TEXTURE_2D);
    View::draw();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void NewGameDialog::drawLabels() const {
    const BitmapFont& font = context_.art.font;
    auto label = [&](const RadioButton& option, const char* text) {
        font.drawText(text, option.x + 35, option.y + 40,
                      {.size = 40, .colour = {0, 0, 0}, .depth = option.z});
    };
    for (int i = 0; i < kOptions; ++i) {
        label(*colonies_[i], kColonyLabels[i]);
    }
    for (int i = 0; i < kOptions; ++i) {
        label(*difficulties_[i], kDifficultyLabels[i]);
    }
}

}  // namespace brv
