#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace brv {

class ResourceReloader;
class View;

// The game's single window with its GL context and frame timer, the switch
// between a movable window and full screen, and the two stacks of open views
// that decide which one view gets ticks and input. It owns no view: whoever
// opens a view deletes it after it has left the stacks.
class GlWindow {
public:
    // Period of the frame timer and game time handed to the current view per tick.
    static constexpr int kTickMs = 30;

    // `resources` is the art to release and reload around a context change;
    // it may be null (nothing to reload) and is not owned.
    GlWindow(Platform& platform, ResourceReloader* resources);
    GlWindow(const GlWindow&) = delete;
    GlWindow& operator=(const GlWindow&) = delete;

    // Creates the window with its context and starts the frame timer.
    bool create(const std::string& title, int x, int y, int width, int height);
    // Stops the timer and destroys context and window; the program goes on.
    void destroy();
    // Re-creates the window at (0, 0) with width by height and switches the
    // display mode when the display offers it. Refuses the widths 320, 400
    // and 640 and fails when the current mode cannot be read; then nothing
    // changes. A refused mode change still re-creates the window (true).
    bool enterFullScreen(int width, int height);
    // Back to the window as it was before the first switch to full screen.
    bool leaveFullScreen();
    void minimize();
    void startTimer();
    void stopTimer();

    // The view stacks.
    View* currentView() const;
    void pushScreen(View* view);
    void pushDialog(View* view);
    void closeTop() { closePending_ = true; }
    void removeScreen(View* view);
    void tick(int elapsedMs);
    void drawAll();
    void onRestored();
    void closeRequest();

    Platform& platform() const { return platform_; }
    bool hasWindow() const { return platform_.hasWindow(); }
    int width() const { return width_; }
    int height() const { return height_; }
    bool fullScreen() const { return fullScreen_; }
    bool minimized() const { return minimized_; }
    const std::string& title() const { return title_; }
    // Top first.
    const std::vector<View*>& screens() const { return screens_; }
    const std::vector<View*>& dialogs() const { return dialogs_; }

private:
    void closePendingView();

    Platform& platform_;
    ResourceReloader* resources_;
    // Top of each stack is the front element.
    std::vector<View*> screens_;
    std::vector<View*> dialogs_;
    View* closedDialog_ = nullptr;
    bool notifyPending_ = false;
    bool closePending_ = false;
    std::string title_;
    bool fullScreen_ = false;
    bool minimized_ = false;
    int width_ = 0;
    int height_ = 0;
    // The window's geometry before the first switch to full screen.
    int savedWidth_ = 0;
    int savedHeight_ = 0;
    int savedX_ = 0;
    int savedY_ = 0;
    int posX_ = 0;
    int posY_ = 0;
};

// The global access point: the window procedure, the views and the drag reach
// the window through it. Returns the previous one.
GlWindow* glWindow();
GlWindow* setGlWindow(GlWindow* window);

}  // namespace brv
