#pragma once

#include "app/window/View.h"

namespace brv {

class BitmapFont;
class Texture;

// A box that opens above the current screen and is modal while it is open.
// Its controls see pointer positions relative to the box's origin, closes itself with result 1 on
// Escape and 0 on Enter, and its opener learns the result through onDialogClosed. Every concrete
// dialog answers its own controls in onWidgetEvent.
class Dialog : public View {
public:
    static constexpr float kTitleSize = 50;

    Dialog() = default;

    void setLogicalSize(int w, int h);

    void draw() override { drawContent(); }
    void onKeyDown(int virtualKey) override;
    void onMouseMove(int x, int y, int flags) override;
    void onLButtonUp(int x, int y, int flags) override;
    void onLButtonDown(int x, int y, int flags) override;
    void onWidgetEvent(Widget* widget) override = 0;

    // Moves the model view to the box (and half a unit forward) and draws the
    // controls; the caller's matrix push and pop bracket it.
    void drawContent();
    // A translucent layer over the whole logical screen, when shadeVisible.
    void drawShade(float r, float g, float b, float a);
    // A plain coloured box over the dialog's box, when frameVisible, with
    // whatever texture and texturing the caller left.
    void drawFrame(float r, float g, float b, float a);
    // The dialog-box picture stretched over the box.
    void drawBox(const Texture& picture) const;
    // A title in the dialogs' style: orange over a black shadow.
    static void drawTitle(const BitmapFont& font, const char* text, float x, float y);

    // Sets the result and asks the window it is shown on to close the top
    // dialog at its next tick.
    void close(int closeResult);

    // A logical pointer position relative to the box.
    int localX(int logicalX) const;
    int localY(int logicalY) const;

    int logicalWidth = 0;
    int logicalHeight = 0;
    bool shadeVisible = false;
    float x = 0;
    float y = 0;
    int width = 100;
    int height = 100;
    bool frameVisible = true;
};

}  // namespace brv
