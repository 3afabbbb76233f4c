#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/SdlPlatform.h"
#include "platform/VirtualKeys.h"

namespace brv {
namespace {

std::vector<Message> drain(SdlPlatform& platform) {
    std::vector<Message> out;
    Message m;
    while (platform.takeMessage(m)) {
        out.push_back(m);
    }
    return out;
}

TEST(SdlPlatformKeys, KeysArriveAsWindowsVirtualKeyNumbers) {
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("Escape"), 27);
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("Return"), 13);
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("Keypad Enter"), 13);
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("Backspace"), 8);
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("F4"), 0x73);
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("F1"), 0x70);
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("Left"), 0x25);
    for (char c = 'A'; c <= 'Z'; ++c) {
        EXPECT_EQ(SdlPlatform::virtualKeyForKeyName(std::string(1, c)), c);
    }
    for (char c = '0'; c <= '9'; ++c) {
        EXPECT_EQ(SdlPlatform::virtualKeyForKeyName(std::string(1, c)), c);
    }
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("Keypad 7"), 0x67);
    EXPECT_EQ(SdlPlatform::virtualKeyForKeyName("no such key"), 0);
}

TEST(SdlPlatformKeys, KeyPressesBecomeKeyAndCharacterMessages) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    drain(platform);
    platform.injectKeyPress("Escape", false);
    platform.injectKeyPress("Keypad Enter", false);
    platform.injectKeyPress("Q", false);
    platform.injectText("q\xc3\xa9\xe2\x82\xac");  // q, e acute, and a euro sign the font lacks
    // System keys never reach the views; Alt+F4 asks the window to close.
    platform.injectKeyPress("Q", true);
    platform.injectKeyPress("F10", false);
    platform.injectKeyPress("F4", true);
    const std::vector<Message> got = drain(platform);
    const std::vector<std::pair<MessageKind, int>> expected = {
        {MessageKind::KeyDown, kVkEscape}, {MessageKind::Char, 27},
        {MessageKind::KeyDown, kVkEnter},  {MessageKind::Char, 13},
        {MessageKind::KeyDown, 'Q'},       {MessageKind::Char, 'q'},
        {MessageKind::Char, 0xE9},         {MessageKind::Close, 0},
    };
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].kind, expected[i].first) << i;
        EXPECT_EQ(got[i].key, expected[i].second) << i;
    }
}

TEST(SdlPlatformQueue, PostedMessagesKeepTheirOrderAndQuitEndsTheLoop) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    drain(platform);
    Message move;
    move.kind = MessageKind::MouseMove;
    move.x = -7;
    move.y = 33;
    move.flags = kMouseLeftHeld;
    platform.post(move);
    platform.postQuit(0);
    Message m;
    ASSERT_TRUE(platform.getMessage(m));
    EXPECT_EQ(m.kind, MessageKind::MouseMove);
    EXPECT_EQ(m.x, -7);
    EXPECT_EQ(m.y, 33);
    EXPECT_EQ(m.flags, kMouseLeftHeld);
    EXPECT_FALSE(platform.getMessage(m));
    EXPECT_EQ(platform.exitCode(), 0);
}

// The clock seeds every game: it must run since the machine started, not since
// the program did, or a launch could only pick among the few milliseconds
// start-up takes.
TEST(SdlPlatformClock, MillisecondsAreTheMachinesClock) {
    SdlPlatform platform;
    const std::uint32_t before = clockMilliseconds();
    const std::uint32_t now = platform.milliseconds();
    const std::uint32_t after = clockMilliseconds();
    EXPECT_LE(now - before, after - before);
}

TEST(SdlPlatformTimer, PostsNoTickWhileOneIsBeingProcessed) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    drain(platform);
    // A tick that takes far longer than the period: nothing is posted meanwhile.
    platform.setTickInProgress(true);
    platform.startTimer(2);
    for (int i = 0; i < 20; ++i) {
        Message m;
        EXPECT_FALSE(platform.takeMessage(m));
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    platform.stopTimer();
    EXPECT_TRUE(drain(platform).empty());

    // Once idle again, ticks come through; after stopTimer() none follow.
    platform.setTickInProgress(false);
    platform.startTimer(2);
    std::size_t ticks = 0;
    for (int i = 0; i < 1000 && ticks == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ticks += drain(platform).size();
    }
    platform.stopTimer();
    EXPECT_GT(ticks, 0u);
    drain(platform);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(drain(platform).empty());
}

}  // namespace
}  // namespace brv
