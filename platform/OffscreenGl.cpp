#include "platform/OffscreenGl.h"

#include <SDL.h>

#include <cstdlib>

namespace brv {

struct OffscreenGl::Handles {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};

OffscreenGl::OffscreenGl(int width, int height)
    : handles_(std::make_unique<Handles>()), width_(width), height_(height) {
    // Without a display the offscreen driver renders through Mesa's software path.
    if (std::getenv("DISPLAY") == nullptr) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error_ = SDL_GetError();
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    handles_->window =
        SDL_CreateWindow("offscreen", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (handles_->window == nullptr) {
        error_ = SDL_GetError();
        return;
    }
    handles_->context = SDL_GL_CreateContext(handles_->window);
    if (handles_->context == nullptr) {
        error_ = SDL_GetError();
        return;
    }
    SDL_GL_MakeCurrent(handles_->window, handles_->context);
    ok_ = true;
}

OffscreenGl::~OffscreenGl() {
    if (handles_->context != nullptr) {
        SDL_GL_DeleteContext(handles_->context);
    }
    if (handles_->window != nullptr) {
        SDL_DestroyWindow(handles_->window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void OffscreenGl::swap() {
    SDL_GL_SwapWindow(handles_->window);
}

}  // namespace brv
