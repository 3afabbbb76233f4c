#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/window/Screenshot.h"
#include "gfx/FrameState.h"
#include "platform/Platform.h"

namespace brv {

class View;

// The game's single window with its GL context and frame timer, the switch
// between a movable window and full screen, and the two stacks of open views
// that decide which one view gets ticks and input. The window owns every view
// on its stacks; a view that leaves them goes back to the view then below it
// (onDialogClosed, onScreenClosed), which keeps or frees it.
class GlWindow {
public:
    explicit GlWindow(Platform& platform);
    GlWindow(const GlWindow&) = delete;
    GlWindow& operator=(const GlWindow&) = delete;

    // Creates the window with its context and starts the frame timer.
    bool create(const std::string& title, int x, int y, int width, int height);
    // Stops the timer and destroys context and window; the program goes on.
    void destroy();
    // Covers the whole display at the desktop's own resolution; the logical
    // screen is drawn as large as fits with its aspect kept, black bars beside
    // it, and pointer positions are mapped through the same scaling. The
    // context and the art stay. When the desktop refuses, the window stays
    // where it was, says so on stderr, and false comes back.
    bool enterFullScreen();
    // Back to the window where and as large as it was before full screen.
    // Nothing to do (true) when not in full screen.
    bool leaveFullScreen();
    // Asks the desktop to minimise the window. It counts as minimised, and
    // drawing stops, only once the desktop says it is (onMinimized): without
    // a window manager the request is ignored and the game draws on.
    void minimize();
    void startTimer();
    void stopTimer();

    // The size of the logical area every view works in. Pointer positions
    // reach the views in these units, and each frame is projected onto it.
    void setLogicalSize(int width, int height);
    int logicalWidth() const { return logicalWidth_; }
    int logicalHeight() const { return logicalHeight_; }
    // A pointer position in window pixels, in logical units.
    int toLogicalX(int windowX) const;
    int toLogicalY(int windowY) const;

    // The view stacks.
    View* currentView() const;
    void pushScreen(std::unique_ptr<View> view);
    void pushDialog(std::unique_ptr<View> view);
    void closeTop() { closePending_ = true; }
    // Takes a screen off the stack without activating anything (the start-up
    // hand-over from the intro to the menu) and gives it back; null when the
    // view is not a screen of this window.
    std::unique_ptr<View> removeScreen(View* view);
    // Frees every view, dialogs first, top first (the program's shutdown).
    void clearViews();
    void tick(int elapsedMs);
    // World updates the view that got the last tick played in it.
    int lastTickUpdates() const { return lastTickUpdates_; }
    // Sets the frame's GL state, then draws the top screen and every dialog;
    // a screenshot asked for is taken of that, and its caption drawn over it.
    void drawAll();
    // The player's picture of the screen (F12), taken of the next frame
    // drawn; without a window there is none, and the caption says so.
    void requestScreenshot();
    const Screenshot& screenshot() const { return screenshot_; }
    // Where the player's pictures go and the font their caption is lettered
    // in; both must outlive the window.
    void useForScreenshots(const SaveFolder& folder, const BitmapFont& font) {
        screenshot_.useFolderAndFont(folder, font);
    }
    // The window really is minimised; it counts only when the game asked.
    void onMinimized();
    void onRestored();
    // Every dialog closes unanswered and the top screen is asked to close.
    void closeRequest();

    Platform& platform() const { return platform_; }
    bool hasWindow() const { return platform_.hasWindow(); }
    int width() const { return width_; }
    int height() const { return height_; }
    bool fullScreen() const { return fullScreen_; }
    // Where and how large the movable window is, or, in full screen, the
    // place and size it returns to: what the settings keep between runs.
    WindowRect windowedRect() const;
    bool minimized() const { return minimized_; }
    const std::string& title() const { return title_; }
    // Top first.
    std::vector<View*> screens() const { return pointers(screens_); }
    std::vector<View*> dialogs() const { return pointers(dialogs_); }

private:
    int lastTickUpdates_ = 0;
    using ViewStack = std::vector<std::unique_ptr<View>>;
    static std::vector<View*> pointers(const ViewStack& stack);
    static void freeTopFirst(ViewStack& stack);
    void closePendingView();

    // Where the logical area lies in the window, in window pixels.
    Viewport pointerViewport() const;

    Platform& platform_;
    // Top of each stack is the front element.
    ViewStack screens_;
    ViewStack dialogs_;
    // A dialog closed at the start of a tick, on its way back to the view below.
    std::unique_ptr<View> closedDialog_;
    bool closePending_ = false;
    std::string title_;
    bool fullScreen_ = false;
    bool minimizeRequested_ = false;
    bool minimized_ = false;
    int width_ = 0;
    int height_ = 0;
    int logicalWidth_ = 0;
    int logicalHeight_ = 0;
    // The window's geometry before it went full screen.
    WindowRect savedRect_;
    Screenshot screenshot_;
};

}  // namespace brv
