#pragma once

#include "config/KeyValueFile.h"

namespace brv {

// What the screens read to place, size and time themselves: the window and
// the logical screen, the layout file of the menus and dialogs ("mui/menu.txt"),
// the keys that cancel and confirm, and the demonstration's timings. None of
// it changes how a game plays, so the rules never see it. Members keep the
// names of their file keys.
struct GameLayout {
    // The window on the desktop, kept between runs with the player's settings.
    int m_window_width = 800;
    int m_window_height = 600;
    int m_window_x = 0;
    int m_window_y = 0;
    // The logical area every screen draws in, whatever the window's size.
    int m_screen_width = 800;
    int m_screen_height = 600;
    KeyValueFile m_layout;
    int m_key_cancel = 27;
    int m_key_confirm = 13;
    // From the rules file, though only the menu and the demonstration read
    // them: the menu's idle time before the demonstration starts, and the
    // demonstration's length in milliseconds.
    int m_time_before_demo = 0;
    int m_time_demo = 0;
};

}  // namespace brv
