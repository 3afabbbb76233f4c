#pragma once

#include <string>

namespace brv {

class BitmapFont;

// A line the main menu shows for a few seconds below its buttons (why the
// last replay cannot be played); stderr gets it whole.
class MenuNotice {
public:
    // How long a notice stays on the menu.
    static constexpr int kShownMs = 4000;

    // Prints the line and shows it, cut to fit the window.
    void show(std::string text);
    void onTick(int elapsedMs);
    void draw(const BitmapFont& font) const;
    // The line shown last, kept after it has gone from the menu.
    const std::string& text() const { return text_; }

private:
    std::string text_;
    int shownMs_ = 0;
};

}  // namespace brv
