#include <gtest/gtest.h>

#include "tests/app/window/AppTestViews.h"

namespace brv {
namespace {

using test::WindowFixture;

// A control covering a box of the view; it claims presses and moves inside.
class BoxWidget : public Widget {
public:
    BoxWidget(int left, int top, int right, int bottom)
        : left_(left), top_(top), right_(right), bottom_(bottom) {}
    bool onMouseMove(int x, int y, int) override {
        ++moves;
        return inside(x, y);
    }
    bool onLButtonDown(int x, int y, int) override {
        ++presses;
        return inside(x, y);
    }
    void onTick(unsigned elapsed) override { ticked += elapsed; }
    void reset() override { ++resets; }
    int moves = 0;
    int presses = 0;
    int resets = 0;
    unsigned ticked = 0;

private:
    bool inside(int x, int y) const { return x >= left_ && x < right_ && y >= top_ && y < bottom_; }
    int left_, top_, right_, bottom_;
};

struct DragFixture {
    DragFixture() {
        f.window.create("Brevora", 100, 100, 800, 600);
        view.draggable = true;
        view.addWidget(&first);
        view.addWidget(&second);
        f.window.pushScreen(std::move(owned));
        f.platform.setCursor(500, 400);
    }
    WindowRect rect() const { return f.platform.windowRect(); }
    BoxWidget first{0, 0, 50, 50};
    BoxWidget second{0, 0, 50, 50};
    WindowFixture f;
    std::unique_ptr<View> owned = std::make_unique<View>();
    View& view = *owned;
};

TEST(ViewDrag, BackgroundPressMovesTheWindowWithTheCursor) {
    DragFixture d;
    d.view.onLButtonDown(400, 300, 0);
    EXPECT_TRUE(d.view.dragging());
    d.f.platform.setCursor(510, 395);
    d.view.onMouseMove(410, 295, 0);
    EXPECT_EQ(d.rect().left, 110);
    EXPECT_EQ(d.rect().top, 95);
    EXPECT_EQ(d.rect().right - d.rect().left, 800);
    // The anchor follows: the next move is relative to the last one.
    d.f.platform.setCursor(530, 395);
    d.view.onMouseMove(420, 300, 0);
    EXPECT_EQ(d.rect().left, 130);
    EXPECT_EQ(d.rect().top, 95);

    // Moving out of the window ends the drag at the next tick.
    d.f.platform.setCursor(2000, 395);
    d.view.onTick(30);
    EXPECT_FALSE(d.view.dragging());
    d.f.platform.setCursor(600, 400);
    d.view.onMouseMove(420, 300, 0);
    EXPECT_EQ(d.rect().left, 130);
}

TEST(ViewDrag, SlowWindowManagerLosesNoStepAndEndsNoDrag) {
    DragFixture d;
    d.f.platform.setMovesLag(true);
    // Grabbed 5 pixels from the right edge; the moves land only later.
    d.f.platform.setCursor(895, 400);
    d.view.onLButtonDown(795, 300, 0);
    for (int step = 1; step <= 5; ++step) {
        d.f.platform.setCursor(895 + 10 * step, 400 + 6 * step);
        d.view.onMouseMove(795, 300, kMouseLeftHeld);
        // The cursor is past the edge of the window as it still stands.
        d.view.onTick(30);
        EXPECT_TRUE(d.view.dragging()) << step;
    }
    d.f.platform.settleMoves();
    EXPECT_EQ(d.rect().left, 150);
    EXPECT_EQ(d.rect().top, 130);
    EXPECT_EQ(d.rect().right, 950);
}

TEST(ViewDrag, ControlsReleasesAndActivationEndTheDrag) {
    DragFixture d;
    // A press on a control starts no drag, though every control hears it.
    d.view.onLButtonDown(10, 10, 0);
    EXPECT_FALSE(d.view.dragging());
    EXPECT_EQ(d.first.presses, 1);
    EXPECT_EQ(d.second.presses, 1);

    auto endsDrag = [&d](auto&& action) {
        d.view.onLButtonDown(400, 300, 0);
        EXPECT_TRUE(d.view.dragging());
        action();
        return !d.view.dragging();
    };
    EXPECT_TRUE(endsDrag([&] { d.view.onLButtonUp(400, 300, 0); }));
    EXPECT_TRUE(endsDrag([&] { d.view.onRButtonUp(400, 300, 0); }));
    EXPECT_TRUE(endsDrag([&] { d.view.activate(); }));
    EXPECT_TRUE(endsDrag([&] { d.view.onWidgetEvent(&d.first); }));
    // A move claimed by a control ends the drag and stops the delivery there.
    const int secondMoves = d.second.moves;
    EXPECT_TRUE(endsDrag([&] { d.view.onMouseMove(20, 20, 0); }));
    EXPECT_EQ(d.second.moves, secondMoves);
    // A tick with the cursor inside the window keeps it going.
    EXPECT_FALSE(endsDrag([&] { d.view.onTick(30); }));
    EXPECT_EQ(d.first.ticked, 30u);
    EXPECT_EQ(d.first.resets, 2);  // pushScreen and the activation above
}

TEST(ViewDrag, ViewThatIsNotDraggableNeverMovesTheWindow) {
    DragFixture d;
    d.view.draggable = false;
    d.view.onLButtonDown(400, 300, 0);
    d.f.platform.setCursor(600, 500);
    d.view.onMouseMove(500, 400, 0);
    EXPECT_EQ(d.f.platform.moveCount(), 0);
    EXPECT_EQ(d.rect().left, 100);
}

}  // namespace
}  // namespace brv
