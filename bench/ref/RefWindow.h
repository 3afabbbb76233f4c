#pragma once

#include <SDL.h>

namespace brv {

// A window made the way the game makes its own: borderless, double-buffered
// with a 16-bit depth buffer, a compatibility context and no waiting for the
// display on a swap. Full screen covers the desktop at its own size.
class RefWindow {
public:
    RefWindow(const char* title, bool fullScreen);
    ~RefWindow();
    RefWindow(const RefWindow&) = delete;
    RefWindow& operator=(const RefWindow&) = delete;

    // False (with SDL's reason printed) when no window or context could be made.
    bool ready() const { return context_ != nullptr; }
    // Uploads a 1024 x 1024 RGBA texture, the size of the game's largest sheet.
    void uploadTexture();
    // Clears the window and draws the texture over all of it.
    void drawQuad();
    void swap();
    // False once the window was asked to close.
    bool pollEvents();

private:
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    unsigned texture_ = 0;
};

long long microsecondsNow();

}  // namespace brv
