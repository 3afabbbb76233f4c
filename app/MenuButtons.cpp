#include "app/MenuButtons.h"

#include <iterator>

#include "app/window/GameContext.h"
#include "config/GameParams.h"
#include "gfx/ResourceSet.h"
#include "ui/Button.h"
#include "ui/Layout.h"

namespace brv {

namespace {

// Where each button of the menu stands and what it shows, in creation order.
struct ButtonPlace {
    const char* keyX;
    const char* keyY;
    TgaTexture ResourceSet::*image;
};

constexpr ButtonPlace kButtonPlaces[] = {
    {"m_single_game_btnx", "m_single_game_btny", &ResourceSet::singleGameButton},
    {"m_continue_single_game_btnx", "m_continue_single_game_btny", &ResourceSet::continueButton},
    {"m_quit_game_btnx", "m_quit_game_btny", &ResourceSet::quitGameButton},
    {"m_help_btnx", "m_help_btny", &ResourceSet::helpButton},
    {"m_mm_top7_btnx", "m_mm_top7_btny", &ResourceSet::top7Button},
    {"m_mm_fullscreen_btnx", "m_mm_fullscreen_btny", &ResourceSet::fullScreenButton},
    {"m_min_sml_btnx", "m_min_sml_btny", &ResourceSet::minimizeButton},
    {"m_help_sml_btnx", "m_help_sml_btny", &ResourceSet::smallHelpButton},
    {"m_quit_sml_btnx", "m_quit_sml_btny", &ResourceSet::smallQuitButton},
};
static_assert(std::size(kButtonPlaces) == static_cast<std::size_t>(MenuControl::Count));

}  // namespace

MenuButtons::MenuButtons(View& owner, GameContext& context) {
    ResourceSet& art = context.art;
    const KeyValueFile& layout = context.params.m_layout;
    for (int i = 0; i < static_cast<int>(MenuControl::Count); ++i) {
        const ButtonPlace& place = kButtonPlaces[i];
        buttons_[i] = std::make_unique<Button>(&owner, &(art.*place.image), &context.sounds);
        buttons_[i]->setPosition(static_cast<float>(layoutInt(layout, place.keyX)),
                                 static_cast<float>(layoutInt(layout, place.keyY)));
    }
}

MenuButtons::~MenuButtons() = default;

}  // namespace brv
