#pragma once

#include <string>

#include "app/window/Widget.h"
#include "gfx/TextStyle.h"

namespace brv {

class BitmapFont;
class Texture;
class View;

// A single-line text entry drawn from two bands (idle, focused). A press or
// release inside gives it the focus, anywhere else takes it away. Only
// printable ASCII is typed in, up to maxLength characters; backspace removes
// the last one. The caret blinks whether or not the box has the focus. The
// box never notifies its owner: the owner reads `text` when it needs it.
class EditBox : public Widget {
public:
    static constexpr int kIdle = 1;
    static constexpr int kFocused = 2;
    // The most characters the box can ever hold, whatever maxLength says.
    static constexpr int kCapacity = 51;
    // Width of the caret, drawn right after the text.
    static constexpr float kCaretWidth = 3;

    // `font` and `image` belong to the resource set and must outlive the box.
    EditBox(View* owner, const BitmapFont* font, float textSize, const Texture* image)
        : owner_(owner), image_(image), font_(font), textSize_(textSize) {}

    bool onMouseMove(int x, int y, int flags) override;
    bool onLButtonDown(int x, int y, int flags) override;
    bool onLButtonUp(int x, int y, int flags) override;
    void onKeyDown(int virtualKey) override;
    void onChar(int character, int repeat) override;
    void onTick(unsigned elapsedMs) override;
    void draw() override;

    View* owner() const { return owner_; }
    const std::string& text() const { return text_; }

    // Gap between the box edge and the text and caret.
    float inset = 7.0f;
    float x = 0;
    float y = 0;
    float z = 0;
    float width = 130;
    float height = 60;
    int state = kIdle;
    Colour colour{1, 1, 0};
    int maxLength = 10;
    bool visible = true;
    bool caretOn = false;
    unsigned blinkPeriod = 500;
    unsigned blinkElapsed = 0;

private:
    bool focusByPress(int px, int py);
    void drawCaret() const;
    void drawText() const;

    View* owner_;
    const Texture* image_;
    const BitmapFont* font_;
    float textSize_;
    std::string text_;
};

}  // namespace brv
