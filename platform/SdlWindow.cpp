#include "platform/SdlPlatform.h"

#include <SDL.h>

#include "platform/SdlPlatformState.h"

namespace brv {

bool SdlPlatform::createWindow(const std::string& title, int x, int y, int width, int height) {
    State& s = *state_;
    if (s.window != nullptr || width <= 0 || height <= 0 || !s.ensureVideo()) {
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    s.window = SDL_CreateWindow(title.c_str(), x, y, width, height,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
    if (s.window == nullptr) {
        s.error = SDL_GetError();
        return false;
    }
    s.context = SDL_GL_CreateContext(s.window);
    if (s.context == nullptr) {
        s.error = SDL_GetError();
        SDL_DestroyWindow(s.window);
        s.window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(s.window, s.context);
    // The frame timer paces drawing; waiting for the display would stall ticks.
    SDL_GL_SetSwapInterval(0);
    s.applyIcon();
    return true;
}

void SdlPlatform::destroyWindow() {
    State& s = *state_;
    if (s.context != nullptr) {
        SDL_GL_MakeCurrent(s.window, nullptr);
        SDL_GL_DeleteContext(s.context);
        s.context = nullptr;
    }
    if (s.window != nullptr) {
        SDL_DestroyWindow(s.window);
        s.window = nullptr;
    }
}

bool SdlPlatform::hasWindow() const {
    return state_->window != nullptr;
}

void SdlPlatform::showWindow(bool visible) {
    if (state_->window == nullptr) {
        return;
    }
    if (visible) {
        SDL_ShowWindow(state_->window);
    } else {
        SDL_HideWindow(state_->window);
    }
}

void SdlPlatform::minimizeWindow() {
    if (state_->window != nullptr) {
        SDL_MinimizeWindow(state_->window);
    }
}

bool SdlPlatform::setFullScreen(bool fullScreen) {
    State& s = *state_;
    if (s.window == nullptr) {
        return false;
    }
    // The desktop keeps its resolution: the window only covers the display, so
    // the context and every texture in it stay. Going back, SDL puts the window
    // where and as large as it was.
    if (SDL_SetWindowFullscreen(s.window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        s.error = SDL_GetError();
        return false;
    }
    return true;
}

WindowRect SdlPlatform::windowRect() const {
    if (state_->window == nullptr) {
        return {};
    }
    // A full-screen window covers its display, whatever size the window
    // manager has confirmed so far.
    if ((SDL_GetWindowFlags(state_->window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
        SDL_WINDOW_FULLSCREEN_DESKTOP) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(state_->window), &bounds) == 0) {
            return {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
        }
    }
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    SDL_GetWindowPosition(state_->window, &x, &y);
    SDL_GetWindowSize(state_->window, &w, &h);
    return {x, y, x + w, y + h};
}

void SdlPlatform::moveWindow(int x, int y, int width, int height) {
    if (state_->window == nullptr) {
        return;
    }
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(state_->window, &w, &h);
    if ((w != width || h != height) && width > 0 && height > 0) {
        SDL_SetWindowSize(state_->window, width, height);
    }
    SDL_SetWindowPosition(state_->window, x, y);
}

void SdlPlatform::swapBuffers() {
    if (state_->window != nullptr) {
        SDL_GL_SwapWindow(state_->window);
    }
}

ScreenPoint SdlPlatform::drawableSize() const {
    ScreenPoint size;
    if (state_->window != nullptr) {
        SDL_GL_GetDrawableSize(state_->window, &size.x, &size.y);
    }
    return size;
}

void SdlPlatform::setWindowIcon(int width, int height, const std::vector<std::uint8_t>& rgba) {
    State& s = *state_;
    if (width <= 0 || height <= 0 ||
        rgba.size() / 4 / static_cast<std::size_t>(width) < static_cast<std::size_t>(height)) {
        return;  // too few pixels for the size claimed
    }
    s.iconWidth = width;
    s.iconHeight = height;
    s.iconPixels = rgba;
    s.applyIcon();
}

void SdlPlatform::State::applyIcon() {
    if (window == nullptr || iconPixels.empty()) {
        return;
    }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        iconPixels.data(), iconWidth, iconHeight, 32, iconWidth * 4, SDL_PIXELFORMAT_ABGR8888);
    if (icon != nullptr) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
}

ScreenPoint SdlPlatform::desktopSize() const {
    SDL_DisplayMode mode;
    if (!state_->ensureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return {};
    }
    return {mode.w, mode.h};
}

ScreenPoint SdlPlatform::usableDesktopSize() const {
    SDL_Rect usable;
    if (!state_->ensureVideo() || SDL_GetDisplayUsableBounds(0, &usable) != 0) {
        return {};
    }
    return {usable.w, usable.h};
}

std::vector<DisplayMode> SdlPlatform::displayModes() const {
    std::vector<DisplayMode> modes;
    if (!state_->ensureVideo()) {
        return modes;
    }
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0) {
            modes.push_back({mode.w, mode.h, mode.refresh_rate});
        }
    }
    return modes;
}

}  // namespace brv
