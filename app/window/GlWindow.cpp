#include "app/window/GlWindow.h"

#include <algorithm>
#include <cstdio>

#include "app/window/PointerScale.h"
#include "app/window/View.h"
#include "gfx/FrameState.h"
#include "platform/Clock.h"

namespace brv {

GlWindow::GlWindow(Platform& platform) : platform_(platform) {}

bool GlWindow::create(const std::string& title, int x, int y, int width, int height) {
    width_ = width;
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

bool GlWindow::enterFullScreen() {
    if (fullScreen_) {
        return true;
    }
    if (!platform_.hasWindow()) {
        return false;
    }
    const WindowRect r = platform_.windowRect();
    savedRect_ = {r.left, r.top, r.left + width_, r.top + height_};
    if (!platform_.setFullScreen(true)) {
        std::fprintf(stderr,
                     "brevora: the desktop refused full screen; the game stays in its window\n");
        return false;
    }
    fullScreen_ = true;
    const WindowRect covered = platform_.windowRect();
    width_ = covered.right - covered.left;
    height_ = covered.bottom - covered.top;
    return true;
}

bool GlWindow::leaveFullScreen() {
    if (!fullScreen_) {
        return true;
    }
    if (!platform_.setFullScreen(false)) {
        std::fprintf(stderr, "brevora: the desktop did not let the game leave full screen\n");
        return false;
    }
    fullScreen_ = false;
    width_ = savedRect_.right - savedRect_.left;
    height_ = savedRect_.bottom - savedRect_.top;
    // Put back explicitly: some window managers restore a borderless window
    // elsewhere.
    platform_.moveWindow(savedRect_.left, savedRect_.top, width_, height_);
    return true;
}

WindowRect GlWindow::windowedRect() const {
    return fullScreen_ ? savedRect_ : platform_.windowRect();
}

void GlWindow::minimize() {
    if (fullScreen_) {
        leaveFullScreen();
    }
    minimizeRequested_ = true;
    platform_.minimizeWindow();
}

// A window the desktop minimised on its own keeps drawing, and restoring it
// activates nothing.
void GlWindow::onMinimized() {
    if (minimizeRequested_) {
        minimizeRequested_ = false;
        minimized_ = true;
    }
}

void GlWindow::setLogicalSize(int width, int height) {
    logicalWidth_ = width;
    logicalHeight_ = height;
}

Viewport GlWindow::pointerViewport() const {
    return logicalViewport({width_, height_, logicalWidth_, logicalHeight_, fullScreen_});
}

int GlWindow::toLogicalX(int windowX) const {
    const Viewport v = pointerViewport();
    return toLogical(windowX - v.x, v.width, logicalWidth_);
}

int GlWindow::toLogicalY(int windowY) const {
    const Viewport v = pointerViewport();
    return toLogical(windowY - v.y, v.height, logicalHeight_);
}

std::vector<View*> GlWindow::pointers(const ViewStack& stack) {
    std::vector<View*> views;
    views.reserve(stack.size());
    for (const auto& view : stack) {
        views.push_back(view.get());
    }
    return views;
}

View* GlWindow::currentView() const {
    if (!dialogs_.empty()) {
        return dialogs_.front().get();
    }
    return screens_.empty() ? nullptr : screens_.front().get();
}

void GlWindow::pushScreen(std::unique_ptr<View> view) {
    if (view == nullptr) {
        return;
    }
    view->window_ = this;
    view->activate();
    screens_.insert(screens_.begin(), std::move(view));
}

void GlWindow::pushDialog(std::unique_ptr<View> view) {
    if (view == nullptr) {
        return;
    }
    view->window_ = this;
    dialogs_.insert(dialogs_.begin(), std::move(view));
    dialogs_.front()->activate();
}

std::unique_ptr<View> GlWindow::removeScreen(View* view) {
    auto it = std::find_if(screens_.begin(), screens_.end(),
                           [view](const auto& screen) { return screen.get() == view; });
    if (it == screens_.end()) {
        return nullptr;
    }
    std::unique_ptr<View> removed = std::move(*it);
    screens_.erase(it);
    return removed;
}

// One by one, top first: a view being freed still finds the ones below it on
// the stack.
void GlWindow::freeTopFirst(ViewStack& stack) {
    while (!stack.empty()) {
        std::unique_ptr<View> top = std::move(stack.front());
        stack.erase(stack.begin());
    }
}

void GlWindow::clearViews() {
    closedDialog_.reset();
    freeTopFirst(dialogs_);
    freeTopFirst(screens_);
}

void GlWindow::closePendingView() {
    closePending_ = false;
    if (!dialogs_.empty()) {
        closedDialog_ = std::move(dialogs_.front());
        dialogs_.erase(dialogs_.begin());
    } else if (screens_.size() > 1) {
        // The last screen never leaves: a request to close it is dropped.
        std::unique_ptr<View> closed = std::move(screens_.front());
        screens_.erase(screens_.begin());
        View& below = *screens_.front();
        below.onScreenClosed(std::move(closed));
        below.activate();
    }
}

void GlWindow::tick(int elapsedMs) {
    if (closePending_) {
        closePendingView();
    }
    if (closedDialog_ != nullptr) {
        std::unique_ptr<View> closed = std::move(closedDialog_);
        if (View* below = currentView(); below != nullptr) {
            const int result = closed->result;
            below->onDialogClosed(result, std::move(closed));
        }
    }
    lastTickUpdates_ = 0;
    if (View* view = currentView(); view != nullptr) {
        view->onTick(elapsedMs);
        lastTickUpdates_ = view->worldUpdatesInLastTick();
    }
    screenshot_.tick(elapsedMs);
}

void GlWindow::drawAll() {
    if (minimized_) {
        return;
    }
    const ScreenPoint drawable = platform_.drawableSize();
    beginFrame({drawable.x, drawable.y, logicalWidth_, logicalHeight_, fullScreen_});
    if (!screens_.empty()) {
        screens_.front()->draw();
    }
    // Bottom-up, so the top dialog lies over the others.
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
        (*it)->draw();
    }
    screenshot_.takeIfRequested(drawable.x, drawable.y);
    screenshot_.drawCaption(logicalWidth_, logicalHeight_);
}

void GlWindow::requestScreenshot() {
    if (platform_.hasWindow()) {
        screenshot_.request();
    } else {
        screenshot_.refuse("the game has no window");
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
    // Unanswered: no dialog's result counts when the window is closing.
    closedDialog_.reset();
    freeTopFirst(dialogs_);
    if (!screens_.empty()) {
        screens_.front()->onCloseRequest();
    }
}

}  // namespace brv
