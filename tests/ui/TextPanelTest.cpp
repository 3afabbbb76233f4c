#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "app/window/GlWindow.h"
#include "app/window/WindowProcedure.h"
#include "config/GameParams.h"
#include "gfx/BitmapFont.h"
#include "platform/HeadlessPlatform.h"
#include "platform/VirtualKeys.h"
#include "tests/gfx/TestPictures.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/HelpDialog.h"
#include "ui/TextPanel.h"
#include "ui/Top7Dialog.h"

namespace brv {
namespace {

using Lines = std::vector<std::string>;

// A font with all 94 glyphs in two lines of blocks 1 to 3 pixels wide.
class MeasuringFont {
public:
    MeasuringFont() {
        std::vector<std::vector<int>> widths(2);
        for (std::vector<int>& line : widths) {
            for (int k = 0; k < 47; ++k) {
                line.push_back(1 + k % 3);
            }
        }
        const auto picture = test::makeFontPicture(256, 64, 8, widths, true);
        ok = font.build(picture.data(), picture.size(), nullptr);
    }
    float width(const char* text) const { return font.textWidth(text, 25); }
    BitmapFont font;
    bool ok = false;
};

Lines wrapped(const BitmapFont* font, float maxWidth, const std::string& text) {
    TextPanel panel(font, maxWidth, 25, 13, 2);
    panel.setText(text.data(), text.size());
    return panel.lines();
}

TEST(TextPanelWrapping, ParagraphsSpacesAndLongWords) {
    MeasuringFont m;
    ASSERT_TRUE(m.ok);
    EXPECT_EQ(wrapped(&m.font, 400, "A  B"), (Lines{"A  B "}));
    EXPECT_EQ(wrapped(&m.font, 400, ""), (Lines{" "}));
    EXPECT_EQ(wrapped(&m.font, 400, "one\r\n\r\ntwo"), (Lines{"one ", " ", "two "}));
    EXPECT_EQ(wrapped(&m.font, 400, "end\r\n"), (Lines{"end ", " "}));
    EXPECT_EQ(wrapped(nullptr, 400, "no\nline\nfeeds"), (Lines{"nolinefeeds "}));

    // Words join while the line stays narrower than the column.
    const float column = m.width("aaa ") + m.width("bbb") + 0.01f;
    EXPECT_EQ(wrapped(&m.font, column, "aaa bbb ccc"), (Lines{"aaa bbb ", "ccc "}));
    // A word wider than the column gets a line of its own; first in its
    // paragraph, it leaves an empty line before it.
    const float narrow = m.width("wide") - 1;
    EXPECT_EQ(wrapped(&m.font, narrow, "wide"), (Lines{"", "wide "}));
    EXPECT_EQ(wrapped(&m.font, narrow, "a wide b"), (Lines{"a ", "wide ", "b "}));
}

std::string numberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i > 0 ? "\r\n" : "") + std::string("line") + std::to_string(i);
    }
    return text;
}

TEST(TextPanelScrolling, StepsOfTwoStopAtTheEndsOfTheText) {
    TextPanel panel(nullptr, 400, 25, 13, 2);
    const std::string text = numberedLines(20);
    panel.setText(text.data(), text.size());
    ASSERT_EQ(panel.lines().size(), 20u);
    panel.scrollDown();
    EXPECT_EQ(panel.firstLine(), 2);  // lines 2..14
    for (int i = 0; i < 3; ++i) {
        panel.scrollDown();
    }
    EXPECT_EQ(panel.firstLine(), 7);  // capped: lines 7..19
    panel.scrollUp();
    panel.scrollUp();
    panel.scrollUp();
    EXPECT_EQ(panel.firstLine(), 1);
    panel.scrollUp();
    EXPECT_EQ(panel.firstLine(), 0);

    TextPanel shortText(nullptr, 400, 25, 13, 2);
    const std::string five = numberedLines(5);
    shortText.setText(five.data(), five.size());
    shortText.scrollDown();
    EXPECT_EQ(shortText.firstLine(), 0);
}

// A window of the given size over the 800 by 600 logical screen.
struct DialogWindow {
    explicit DialogWindow(int width = 800, int height = 600) : window(platform) {
        window.create("test", 0, 0, width, height);
        window.setLogicalSize(800, 600);
        window.pushScreen(std::make_unique<View>());
    }
    void pressOn(Dialog& dialog, const Button& button) {
        dialog.onLButtonDown(static_cast<int>(dialog.x + button.x),
                             static_cast<int>(dialog.y + button.y), 0);
    }
    test::ShippedParams shipped;
    HeadlessPlatform platform;
    GlWindow window;
};

TEST(HelpDialogButtons, ArrowsScrollTheShippedTextAndCloseConfirms) {
    DialogWindow w;
    auto owned = std::make_unique<HelpDialog>(w.shipped.context());
    HelpDialog& dialog = *owned;
    dialog.setLogicalSize(800, 600);
    dialog.x = 120;
    dialog.y = 50;
    ASSERT_GT(dialog.panel().lines().size(), 13u);  // the help needs scrolling
    w.window.pushDialog(std::move(owned));
    w.pressOn(dialog, dialog.downButton());
    w.pressOn(dialog, dialog.downButton());
    EXPECT_EQ(dialog.panel().firstLine(), 4);
    w.pressOn(dialog, dialog.upButton());
    EXPECT_EQ(dialog.panel().firstLine(), 2);
    dialog.result = View::kResultCancelled;
    w.pressOn(dialog, dialog.closeButton());
    EXPECT_EQ(dialog.result, View::kResultConfirmed);
}

TEST(HelpDialogScrolling, WheelOverTheBoxAndKeysScrollWithinTheText) {
    DialogWindow w(1600, 1200);  // two window pixels to a logical unit
    auto owned = std::make_unique<HelpDialog>(w.shipped.context());
    HelpDialog& dialog = *owned;
    dialog.x = 120;  // where the menu opens it, 560 x 500
    dialog.y = 50;
    dialog.width = 560;
    dialog.height = 500;
    w.window.pushDialog(std::move(owned));
    const int lastPage = static_cast<int>(dialog.panel().lines().size()) - 13;
    ASSERT_GT(lastPage, 14);
    const auto send = [&](MessageKind kind, int key, int x = 800, int wheel = 0) {
        windowProcedure(w.window, {.kind = kind, .key = key, .x = x, .y = 600, .wheel = wheel});
        return dialog.panel().firstLine();
    };
    // A notch towards the player goes down as the down arrow does, away from
    // the player back up; only over the box (logical x 120 to 679).
    EXPECT_EQ(send(MessageKind::MouseWheel, 0, 800, -1), 2);
    EXPECT_EQ(send(MessageKind::MouseWheel, 0, 238, -1), 2);
    EXPECT_EQ(send(MessageKind::MouseWheel, 0, 1360, -1), 2);
    EXPECT_EQ(send(MessageKind::MouseWheel, 0, 1358, 5), 0);
    // Up and Down move a line, Page Up and Page Down a page of 13.
    EXPECT_EQ(send(MessageKind::KeyDown, kVkDown), 1);
    EXPECT_EQ(send(MessageKind::KeyDown, kVkPageDown), 14);
    EXPECT_EQ(send(MessageKind::KeyDown, kVkUp), 13);
    EXPECT_EQ(send(MessageKind::KeyDown, kVkPageUp), 0);
    // Within the arrows' bounds, however far the wheel turns.
    EXPECT_EQ(send(MessageKind::MouseWheel, 0, 800, INT_MIN), lastPage);
    EXPECT_EQ(send(MessageKind::KeyDown, kVkPageDown), lastPage);
    EXPECT_EQ(send(MessageKind::MouseWheel, 0, 800, INT_MAX), 0);
}

TEST(Top7DialogButtons, CloseButtonEscapeAndEnterCloseAndLeaveTheTableAlone) {
    DialogWindow w;
    w.shipped.params.m_score_table.clear();
    w.shipped.params.m_score_table.insert("Ann", 10);
    auto owned = std::make_unique<Top7Dialog>(w.shipped.context());
    Top7Dialog& dialog = *owned;
    dialog.setLogicalSize(800, 600);
    w.window.pushDialog(std::move(owned));
    w.pressOn(dialog, dialog.closeButton());
    EXPECT_EQ(dialog.result, View::kResultConfirmed);
    dialog.onKeyDown(kVkEscape);
    EXPECT_EQ(dialog.result, View::kResultCancelled);
    dialog.onKeyDown(kVkEnter);
    EXPECT_EQ(dialog.result, View::kResultConfirmed);
    EXPECT_EQ(w.shipped.params.m_score_table.entries().size(), 1u);
}

}  // namespace
}  // namespace brv
