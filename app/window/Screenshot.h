#pragma once

#include <string>

namespace brv {

class BitmapFont;
class SaveFolder;

// The player's picture of the screen (F12): the next frame drawn is read back
// as the player will see it, bars of full screen included, and saved as a PNG
// in "screenshots/" of the folder for saved files, named after the local date
// and time. A caption over the frame then says for two seconds where it went,
// or why it could not be saved (also on stderr).
class Screenshot {
public:
    static constexpr int kCaptionMs = 2000;
    static constexpr const char* kFolder = "screenshots";

    // The save folder pictures go to and the font of the caption, both
    // outliving this object. Until they are given a picture is refused for
    // want of a folder, and the caption is kept but not drawn.
    void useFolderAndFont(const SaveFolder& folder, const BitmapFont& font) {
        folder_ = &folder;
        font_ = &font;
    }
    // Takes the picture at the end of the next frame drawn.
    void request() { requested_ = true; }
    bool requested() const { return requested_; }
    // Called once a frame is drawn and before anything is drawn over it: the
    // picture asked for is taken from a drawable of this size and saved.
    void takeIfRequested(int drawableWidth, int drawableHeight);
    // Gives up a picture that cannot be taken (no window to draw one).
    void refuse(const std::string& reason);
    void tick(int elapsedMs);
    // The caption along the bottom of the logical area, in the current frame.
    void drawCaption(int logicalWidth, int logicalHeight) const;

    // What the caption says; empty when none is shown.
    const std::string& caption() const { return caption_; }
    // The file the last picture went to; empty when it could not be saved.
    const std::string& savedPath() const { return savedPath_; }

private:
    void announce(std::string caption, bool saved);

    const SaveFolder* folder_ = nullptr;
    const BitmapFont* font_ = nullptr;
    bool requested_ = false;
    bool saved_ = false;
    std::string caption_;
    std::string savedPath_;
    int captionLeftMs_ = 0;
};

}  // namespace brv
