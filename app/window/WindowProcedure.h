#pragma once

#include "platform/Message.h"

namespace brv {

class GlWindow;

// Handles one message of the game's window: a tick advances the current view
// by 30 ms, draws and shows the frame; F12 takes a screenshot of the next frame
// (GlWindow::requestScreenshot); other input goes to the current view only;
// a close request either asks the top screen to close (F4 or Alt held,
// Alt+F4) or hides the window and ends the message loop with exit code 0.
void windowProcedure(GlWindow& window, const Message& message);

// Takes messages until the quit message and hands each to windowProcedure;
// returns the exit code the quit message carried.
int runMessageLoop(GlWindow& window);

}  // namespace brv
