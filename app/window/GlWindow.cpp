#include "app/window/GlWindow.h"

#include <algorithm>

#include "app/window/ResourceReloader.h"
#include "app/window/View.h"

namespace brv {

namespace {

GlWindow* g_window = nullptr;

}  // namespace

GlWindow* glWindow() {
    return g_window;
}

GlWindow* setGlWindow(GlWindow* window) {
    GlWindow* previous = g_window;
    g_window = window;
    return previous;
}

GlWindow::GlWindow(Platform& platform, ResourceReloader* resources)
    : platform_(platform), resources_(resources) {}

bool GlWindow::create(const std::string& title, int x, int y, int width, int height) {
    width_ = width;
    posX_ = x;
    posY_ = y;
    height_ = height;
    title_ = title;
    const bool created = platform_.createWindow(title, x, y, width, height);
    // Ticks run even without a window, as on the desktop the timer does not
    // depend on the window having come up.
    startTimer();
    return created;
}

void GlWindow::destroy() {
    stopTimer();
    platform_.destroyWindow();
}

void GlWindow::startTimer() {
    platform_.startTimer(kTickMs);
}

void GlWindow::stopTimer() {
    platform_.stopTimer();
}

bool GlWindow::enterFullScreen(int width, int height) {
    // Modes this narrow would squeeze the 800 by 600 layout beyond reading.
    if (width == 320 || width == 400 || width == 640) {
        return false;
    }
    if (!fullScreen_) {
        const WindowRect r = platform_.windowRect();
        savedX_ = r.left;
        savedY_ = r.top;
        savedWidth_ = width_;
        savedHeight_ = height_;
    }
    if (!platform_.currentDisplayMode()) {
        return false;
    }
    if (resources_ != nullptr) {
        resources_->releaseAll();
    }
    destroy();
    platform_.restoreDisplayMode();
    if (platform_.setDisplayMode(width, height)) {
        fullScreen_ = true;
    }
    create(title_, 0, 0, width, height);
    if (resources_ != nullptr) {
        resources_->loadAll();
    }
    return true;
}

bool GlWindow::leaveFullScreen() {
    if (resources_ != nullptr) {
        resources_->releaseAll();
    }
    destroy();
    platform_.restoreDisplayMode();
    fullScreen_ = false;
    // Without a saved window (never in full screen) the current one is kept.
    if (savedWidth_ <= 0 || savedHeight_ <= 0) {
        savedWidth_ = width_;
        savedHeight_ = height_;
        savedX_ = posX_;
        savedY_ = posY_;
    }
    create(title_, savedX_, savedY_, savedWidth_, savedHeight_);
    if (resources_ != nullptr) {
        resources_->loadAll();
    }
    return true;
}

void GlWindow::minimize() {
    if (fullScreen_) {
        leaveFullScreen();
    }
    platform_.minimizeWindow();
    minimized_ = true;
}

View* GlWindow::currentView() const {
    if (!dialogs_.empty()) {
        return dialogs_.front();
    }
    return screens_.empty() ? nullptr : screens_.front();
}

void GlWindow::pushScreen(View* view) {
    view->activate();
    screens_.insert(screens_.begin(), view);
}

void GlWindow::pushDialog(View* view) {
    dialogs_.insert(dialogs_.begin(), view);
    view->activate();
}

void GlWindow::removeScreen(View* view) {
    auto it = std::find(screens_.begin(), screens_.end(), view);
    if (it != screens_.end()) {
        screens_.erase(it);
    }
}

void GlWindow::closePendingView() {
    closePending_ = false;
    if (!dialogs_.empty()) {
        closedDialog_ = dialogs_.front();
        dialogs_.erase(dialogs_.begin());
        notifyPending_ = true;
    } else if (screens_.size() > 1) {
        // The last screen never leaves: a request to close it is dropped.
        screens_.erase(screens_.begin());
        screens_.front()->activate();
    }
}

void GlWindow::tick(int elapsedMs) {
    if (closePending_) {
        closePendingView();
    }
    if (notifyPending_) {
        notifyPending_ = false;
        View* closed = closedDialog_;
        closedDialog_ = nullptr;
        if (View* below = currentView(); below != nullptr) {
            below->onDialogClosed(closed->result, closed);
        }
    }
    if (View* view = currentView(); view != nullptr) {
        view->onTick(elapsedMs);
    }
}

void GlWindow::drawAll() {
    if (minimized_) {
        return;
    }
    if (!screens_.empty()) {
        screens_.front()->draw();
    }
    // Bottom-up, so the top dialog lies over the others.
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
        (*it)->draw();
    }
}

void GlWindow::onRestored() {
    if (!minimized_) {
        return;
    }
    if (!screens_.empty()) {
        screens_.front()->activate();
    }
    minimized_ = false;
}

void GlWindow::closeRequest() {
    dialogs_.clear();
    if (!screens_.empty()) {
        screens_.front()->onCloseRequest();
    }
}

}  // namespace brv
