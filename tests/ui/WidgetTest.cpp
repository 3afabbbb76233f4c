#include <gtest/gtest.h>

#include "platform/HeadlessPlatform.h"
#include "platform/VirtualKeys.h"
#include "tests/audio/ScopedSounds.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/Button.h"
#include "ui/EditBox.h"
#include "ui/RadioButton.h"
#include "ui/RadioGroup.h"

namespace brv {
namespace {

using test::EventView;

TEST(ButtonInput, HitBoxIncludesEveryEdgeAndUsesThePreDrawSize) {
    EventView owner;
    Button button(&owner, nullptr, nullptr);
    button.setPosition(10.6f, 20.2f);
    // Before any draw the box is 130 by 60; corners are truncated first.
    EXPECT_TRUE(button.onMouseMove(10, 20, 0));
    EXPECT_EQ(button.state, Button::kHover);
    EXPECT_TRUE(button.onMouseMove(140, 80, 0));  // trunc(140.6), trunc(80.2)
    EXPECT_FALSE(button.onMouseMove(141, 80, 0));
    EXPECT_EQ(button.state, Button::kNormal);
    EXPECT_FALSE(button.onMouseMove(140, 81, 0));
    EXPECT_FALSE(button.onMouseMove(9, 50, 0));
    EXPECT_FALSE(button.onLButtonDown(141, 50, 0));
    EXPECT_TRUE(owner.events.empty());
}

TEST(ButtonInput, ActsOnThePressAndMovingAwayBeforeTheReleaseStillCounts) {
    HeadlessPlatform platform;
    SoundSet set;
    test::ScopedSounds sounds(platform, set);
    EventView owner;
    Button button(&owner, nullptr, &set);
    button.setPosition(100, 100);
    EXPECT_TRUE(button.onLButtonDown(150, 120, 0));
    EXPECT_EQ(owner.events, (std::vector<Widget*>{&button}));
    EXPECT_EQ(button.state, Button::kPressed);
    EXPECT_TRUE(test::lastPlayed(platform.soundsPlayed(), set, Sound::Button))
        << "the press is heard";

    // The pointer leaves while the button is held: the look goes back to
    // normal, and the release elsewhere neither notifies again nor claims.
    EXPECT_FALSE(button.onMouseMove(10, 10, 0));
    EXPECT_EQ(button.state, Button::kNormal);
    EXPECT_FALSE(button.onLButtonUp(10, 10, 0));
    EXPECT_EQ(owner.events.size(), 1u);
    EXPECT_EQ(platform.soundsPlayed().size(), 1u);

    // Held in place, the release restores the hover look wherever it happens.
    button.onLButtonDown(150, 120, 0);
    EXPECT_TRUE(button.onLButtonUp(500, 500, 0));
    EXPECT_EQ(button.state, Button::kHover);
    EXPECT_EQ(owner.events.size(), 2u);
    button.reset();
    EXPECT_EQ(button.state, Button::kNormal);
}

TEST(ButtonInput, InvisibleButtonIgnoresEverythingAndKeepsItsState) {
    EventView owner;
    Button button(&owner, nullptr, nullptr);
    button.onMouseMove(5, 5, 0);
    button.visible = false;
    EXPECT_FALSE(button.onMouseMove(500, 500, 0));
    EXPECT_FALSE(button.onLButtonDown(5, 5, 0));
    EXPECT_FALSE(button.onLButtonUp(5, 5, 0));
    EXPECT_EQ(button.state, Button::kHover);
    EXPECT_TRUE(owner.events.empty());
}

void typeText(EditBox& box, const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        box.onChar(static_cast<unsigned char>(*p), 1);
    }
}

TEST(EditBoxInput, FocusFollowsPressesAndOnlyTheFocusedBoxTakesText) {
    EventView owner;
    EditBox box(&owner, nullptr, 35, nullptr);
    box.x = 300;
    box.y = 320;
    typeText(box, "abc");
    EXPECT_EQ(box.text(), "");  // no focus yet

    EXPECT_TRUE(box.onMouseMove(430, 380, 0));  // the far corner of 130 by 60
    EXPECT_EQ(box.state, EditBox::kIdle);       // hovering gives no focus
    EXPECT_TRUE(box.onLButtonDown(430, 380, 0));
    EXPECT_EQ(box.state, EditBox::kFocused);
    typeText(box, "Ann");
    EXPECT_EQ(box.text(), "Ann");

    // A release anywhere else takes the focus away again.
    EXPECT_FALSE(box.onLButtonUp(10, 10, 0));
    EXPECT_EQ(box.state, EditBox::kIdle);
    typeText(box, "x");
    box.onKeyDown(kVkBackspace);
    EXPECT_EQ(box.text(), "Ann");
    EXPECT_TRUE(owner.events.empty());  // the box never notifies
}

TEST(EditBoxInput, LengthLimitPrintableCharactersAndBackspace) {
    EditBox box(nullptr, nullptr, 35, nullptr);
    box.maxLength = 15;
    box.onLButtonDown(0, 0, 0);
    box.onKeyDown(kVkBackspace);  // empty: nothing to remove
    EXPECT_EQ(box.text(), "");

    box.onChar(0xE9, 1);   // an accented letter
    box.onChar(0x0D, 1);   // Enter
    box.onChar(0x1B, 1);   // Escape
    box.onChar(0x09, 1);   // tab
    box.onChar(0x7F, 1);   // delete
    box.onChar(0x141, 1);  // a 16-bit code outside ASCII
    EXPECT_EQ(box.text(), "");
    box.onChar(0x20, 3);  // the repeat count is ignored
    box.onChar('~', 1);
    EXPECT_EQ(box.text(), " ~");

    typeText(box, "0123456789abcdefgh");
    EXPECT_EQ(box.text(), " ~0123456789abc");
    EXPECT_EQ(box.text().size(), 15u);
    box.onKeyDown(kVkBackspace);
    box.onKeyDown('A');  // other keys do not edit
    EXPECT_EQ(box.text(), " ~0123456789ab");

    // However large maxLength is set, the box holds at most 51 characters.
    box.maxLength = 1000;
    for (int i = 0; i < 100; ++i) {
        box.onChar('z', 1);
    }
    EXPECT_EQ(box.text().size(), static_cast<std::size_t>(EditBox::kCapacity));
}

TEST(EditBoxInput, InvisibleBoxIgnoresInputButTheCaretStillBlinks) {
    EditBox box(nullptr, nullptr, 35, nullptr);
    box.onLButtonDown(1, 1, 0);
    box.visible = false;
    EXPECT_FALSE(box.onMouseMove(1, 1, 0));
    EXPECT_FALSE(box.onLButtonDown(500, 500, 0));
    EXPECT_EQ(box.state, EditBox::kFocused);
    box.onChar('a', 1);
    EXPECT_EQ(box.text(), "");
    for (int i = 0; i < 17; ++i) {
        box.onTick(30);
    }
    EXPECT_TRUE(box.caretOn);
}

TEST(EditBoxCaret, TogglesOnlyOnceThePeriodIsExceededAndDropsTheExcess) {
    EditBox box(nullptr, nullptr, 35, nullptr);
    for (int i = 0; i < 16; ++i) {
        box.onTick(30);
    }
    EXPECT_FALSE(box.caretOn);  // 480 ms
    box.onTick(20);             // exactly 500 ms: not yet
    EXPECT_FALSE(box.caretOn);
    box.onTick(10);
    EXPECT_TRUE(box.caretOn);
    EXPECT_EQ(box.blinkElapsed, 0u);

    // From a fresh start with 30 ms ticks: after the 17th tick (510 ms).
    EditBox fresh(nullptr, nullptr, 35, nullptr);
    int toggledAt = 0;
    for (int tick = 1; tick <= 40 && toggledAt == 0; ++tick) {
        fresh.onTick(30);
        if (fresh.caretOn) {
            toggledAt = tick;
        }
    }
    EXPECT_EQ(toggledAt, 17);
    // The excess 10 ms is dropped, so the next toggle is again 17 ticks on.
    for (int tick = 1; tick <= 16; ++tick) {
        fresh.onTick(30);
    }
    EXPECT_TRUE(fresh.caretOn);
    fresh.onTick(30);
    EXPECT_FALSE(fresh.caretOn);
}

TEST(RadioButtonInput, HoverStatesAndNotificationOnlyOnBecomingChecked) {
    EventView owner;
    RadioButton radio(&owner, nullptr);
    // Starts at (200, 40) with a 50 by 50 box before its first draw.
    EXPECT_TRUE(radio.onMouseMove(250, 90, 0));
    EXPECT_EQ(radio.state, RadioButton::kUncheckedHover);
    EXPECT_FALSE(radio.onMouseMove(251, 90, 0));
    EXPECT_EQ(radio.state, RadioButton::kUnchecked);

    // A press claims but changes nothing; the release over it checks it.
    radio.onMouseMove(220, 60, 0);
    EXPECT_TRUE(radio.onLButtonDown(220, 60, 0));
    EXPECT_EQ(radio.state, RadioButton::kUncheckedHover);
    EXPECT_TRUE(radio.onLButtonUp(220, 60, 0));
    EXPECT_EQ(radio.state, RadioButton::kCheckedHover);
    EXPECT_EQ(owner.events, (std::vector<Widget*>{&radio}));

    // Pressing and releasing an option that is already checked does nothing.
    EXPECT_TRUE(radio.onLButtonDown(220, 60, 0));
    EXPECT_FALSE(radio.onLButtonUp(220, 60, 0));
    EXPECT_EQ(owner.events.size(), 1u);
    radio.onMouseMove(0, 0, 0);
    EXPECT_EQ(radio.state, RadioButton::kChecked);
    radio.onMouseMove(210, 50, 0);
    EXPECT_EQ(radio.state, RadioButton::kCheckedHover);

    // Unchecked from code it drops the hover look and never notifies.
    radio.setChecked(false);
    EXPECT_EQ(radio.state, RadioButton::kUnchecked);
    radio.setChecked(true);
    EXPECT_EQ(radio.state, RadioButton::kChecked);
    EXPECT_EQ(owner.events.size(), 1u);

    // A release without the hover state is not a click, wherever it is.
    RadioButton other(&owner, nullptr);
    EXPECT_FALSE(other.onLButtonUp(220, 60, 0));
    EXPECT_EQ(other.state, RadioButton::kUnchecked);
}

TEST(RadioGroupChoice, CheckedIndexAndUncheckingTheOthers) {
    RadioButton a(nullptr, nullptr), b(nullptr, nullptr), c(nullptr, nullptr);
    RadioGroup group;
    EXPECT_EQ(group.checkedIndex(), -1);
    group.add(&a);
    group.add(&b);
    group.add(&c);
    EXPECT_EQ(group.checkedIndex(), -1);

    b.state = RadioButton::kCheckedHover;  // checked under the pointer still counts
    EXPECT_EQ(group.checkedIndex(), 1);
    a.setChecked(true);
    EXPECT_EQ(group.checkedIndex(), 0);  // the first checked member wins
    c.state = RadioButton::kUncheckedHover;
    group.uncheckOthers(&c);
    EXPECT_EQ(a.state, RadioButton::kUnchecked);
    EXPECT_EQ(b.state, RadioButton::kUnchecked);
    EXPECT_EQ(c.state, RadioButton::kUncheckedHover);  // the given one is left alone
    EXPECT_EQ(group.checkedIndex(), -1);
}

}  // namespace
}  // namespace brv
