#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>
#include <tuple>
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

// Events put into SDL's own queue, as the desktop puts them there. For a
// button event `buttons` names the button, for a motion the buttons held.
void pushMouse(Uint32 type, int x, int y, Uint32 buttons) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
        event.motion.state = buttons;
    } else {
        event.button.x = x;
        event.button.y = y;
        event.button.button = static_cast<Uint8>(buttons);
    }
    SDL_PushEvent(&event);
}

void pushKey(Uint32 type, SDL_Keycode key, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.repeat = repeat;
    SDL_PushEvent(&event);
}

void pushWindowEvent(Uint8 which, Uint32 type = SDL_WINDOWEVENT) {
    SDL_Event event{};
    event.type = type;
    event.window.event = which;
    SDL_PushEvent(&event);
}

using Pointer = std::tuple<MessageKind, int, int, int>;

std::vector<Pointer> pointerMessages(SdlPlatform& platform) {
    std::vector<Pointer> out;
    for (const Message& m : drain(platform)) {
        out.emplace_back(m.kind, m.x, m.y, m.flags);
    }
    return out;
}

TEST(SdlPlatformMouse, LeftAndRightButtonsCarryTheButtonsAndKeysHeld) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    drain(platform);
    pushKey(SDL_KEYDOWN, SDLK_LSHIFT);
    ASSERT_EQ(drain(platform).size(), 1u);
    pushMouse(SDL_MOUSEBUTTONDOWN, 10, 20, SDL_BUTTON_LEFT);
    pushMouse(SDL_MOUSEMOTION, 15, 25, SDL_BUTTON_LMASK);
    // A right press is no message of the game's, and not a release either.
    pushMouse(SDL_MOUSEBUTTONDOWN, 15, 25, SDL_BUTTON_RIGHT);
    pushMouse(SDL_MOUSEMOTION, 16, 26, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK);
    pushMouse(SDL_MOUSEBUTTONUP, 16, 26, SDL_BUTTON_RIGHT);
    pushKey(SDL_KEYUP, SDLK_LSHIFT);
    pushMouse(SDL_MOUSEBUTTONUP, 17, 27, SDL_BUTTON_LEFT);
    // The middle and extra buttons are not the game's.
    pushMouse(SDL_MOUSEBUTTONDOWN, 1, 1, SDL_BUTTON_MIDDLE);
    pushMouse(SDL_MOUSEBUTTONUP, 1, 1, SDL_BUTTON_MIDDLE);
    pushMouse(SDL_MOUSEBUTTONUP, 1, 1, SDL_BUTTON_X1);
    const int shift = kMouseShiftHeld;
    const int left = kMouseLeftHeld;
    EXPECT_EQ(pointerMessages(platform),
              (std::vector<Pointer>{
                  {MessageKind::LButtonDown, 10, 20, left | shift},
                  {MessageKind::MouseMove, 15, 25, left | shift},
                  {MessageKind::MouseMove, 16, 26, left | kMouseRightHeld | shift},
                  {MessageKind::RButtonUp, 16, 26, left | shift},
                  {MessageKind::LButtonUp, 17, 27, 0},
              }));
}

TEST(SdlPlatformMouse, TheWheelCarriesNotchesAsTurnedAndThePointer) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    drain(platform);
    // Two notches away from the player; one that "natural" scrolling reports
    // flipped; a sideways turn, which is not the game's.
    for (const auto& [vertical, sideways, direction] :
         {std::tuple{2, 0, SDL_MOUSEWHEEL_NORMAL}, std::tuple{1, 0, SDL_MOUSEWHEEL_FLIPPED},
          std::tuple{0, 3, SDL_MOUSEWHEEL_NORMAL}}) {
        SDL_Event event{};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.x = sideways;
        event.wheel.y = vertical;
        event.wheel.direction = direction;
        event.wheel.mouseX = 30 + vertical;
        event.wheel.mouseY = 40;
        SDL_PushEvent(&event);
    }
    const std::vector<Message> got = drain(platform);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(std::tie(got[0].kind, got[0].x, got[0].y, got[0].wheel),
              std::tuple(MessageKind::MouseWheel, 32, 40, 2));
    EXPECT_EQ(std::tie(got[1].kind, got[1].x, got[1].wheel),
              std::tuple(MessageKind::MouseWheel, 31, -1));
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

// Keys count as held from their press to their release in the order the
// messages are taken, so a close knows what was held when it came.
TEST(SdlPlatformKeys, HeldKeysAreThoseOfTheMessageTaken) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    drain(platform);
    pushKey(SDL_KEYDOWN, SDLK_LALT);
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    pushKey(SDL_KEYUP, SDLK_LALT);
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    Message m;
    ASSERT_TRUE(platform.takeMessage(m));
    EXPECT_EQ(m.kind, MessageKind::Close);
    EXPECT_TRUE(platform.isKeyHeld(kVkAlt));
    EXPECT_FALSE(platform.isKeyHeld(kVkF4));
    ASSERT_TRUE(platform.takeMessage(m));
    EXPECT_EQ(m.kind, MessageKind::Close);
    EXPECT_FALSE(platform.isKeyHeld(kVkAlt));

    // Alt+F4 without a window manager: F4 is down while its close is handled.
    platform.injectKeyPress("F4", true);
    ASSERT_TRUE(platform.takeMessage(m));
    EXPECT_EQ(m.kind, MessageKind::Close);
    EXPECT_TRUE(platform.isKeyHeld(kVkF4));
    EXPECT_FALSE(platform.takeMessage(m));
    EXPECT_FALSE(platform.isKeyHeld(kVkF4));

    // Held keys repeat their press; losing the focus lets every key go.
    pushKey(SDL_KEYDOWN, SDLK_a);
    pushKey(SDL_KEYDOWN, SDLK_a, 1);
    pushKey(SDL_KEYDOWN, SDLK_F4);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    for (const MessageKind kind :
         {MessageKind::KeyDown, MessageKind::KeyDown, MessageKind::KeyDown, MessageKind::Close}) {
        ASSERT_TRUE(platform.takeMessage(m));
        EXPECT_EQ(m.kind, kind);
    }
    EXPECT_FALSE(platform.isKeyHeld('A'));
    EXPECT_FALSE(platform.isKeyHeld(kVkF4));
}

TEST(SdlPlatformWindow, WindowEventsBecomeCloseMinimizedAndRestored) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    drain(platform);
    pushWindowEvent(0, SDL_QUIT);
    for (const Uint8 which :
         {SDL_WINDOWEVENT_CLOSE, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_HIDDEN,
          SDL_WINDOWEVENT_SHOWN, SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_MOVED,
          SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_FOCUS_LOST}) {
        pushWindowEvent(which);
    }
    std::vector<MessageKind> kinds;
    for (const Message& m : drain(platform)) {
        kinds.push_back(m.kind);
    }
    EXPECT_EQ(kinds, (std::vector<MessageKind>{MessageKind::Close, MessageKind::Close,
                                               MessageKind::Minimized, MessageKind::Restored}));
}

// SDL reports no motion that leaves the pointer where it was in the window,
// which is every step of a drag the window keeps up with. The platform still
// hands such a move on before the next tick.
TEST(SdlPlatformMouse, MovesSdlLeavesOutArriveBeforeTheNextTick) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    ASSERT_TRUE(platform.createWindow("Brevora", 0, 0, 320, 200)) << platform.error();
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    SDL_WarpMouseInWindow(window, 100, 50);
    drain(platform);
    Message tick;
    tick.kind = MessageKind::Tick;
    SDL_WarpMouseInWindow(window, 110, 56);
    SDL_FlushEvent(SDL_MOUSEMOTION);  // as SDL drops it
    platform.post(tick);
    EXPECT_EQ(pointerMessages(platform), (std::vector<Pointer>{{MessageKind::MouseMove, 110, 56, 0},
                                                               {MessageKind::Tick, 0, 0, 0}}));
    // A move SDL reported is not handed on twice, and a still pointer makes none.
    SDL_WarpMouseInWindow(window, 120, 62);
    platform.post(tick);
    platform.post(tick);
    EXPECT_EQ(pointerMessages(platform), (std::vector<Pointer>{{MessageKind::MouseMove, 120, 62, 0},
                                                               {MessageKind::Tick, 0, 0, 0},
                                                               {MessageKind::Tick, 0, 0, 0}}));
    // Nor does a pointer that has left the window.
    pushWindowEvent(SDL_WINDOWEVENT_LEAVE);
    SDL_WarpMouseInWindow(window, 130, 68);
    SDL_FlushEvent(SDL_MOUSEMOTION);
    platform.post(tick);
    EXPECT_EQ(pointerMessages(platform), (std::vector<Pointer>{{MessageKind::Tick, 0, 0, 0}}));
    platform.destroyWindow();
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

// The program ends with the frame timer's ticks still queued behind the quit;
// each posted message owns a record, and the sanitized run reports any left.
TEST(SdlPlatformQueue, MessagesStillQueuedAtExitAreFreed) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    platform.startTimer(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    platform.postQuit(0);
    Message m;
    while (platform.getMessage(m)) {
    }
    Message tick;
    tick.kind = MessageKind::Tick;
    platform.post(tick);
    platform.post(tick);
}

TEST(SdlPlatformQueue, AFailingQueueEndsTheLoopWithAnErrorAndExitCode) {
    SdlPlatform platform;
    ASSERT_TRUE(platform.ok()) << platform.error();
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
    Message m;
    EXPECT_FALSE(platform.getMessage(m));
    EXPECT_NE(platform.exitCode(), 0);
    EXPECT_NE(platform.error().find("event queue"), std::string::npos) << platform.error();
}

// The session ending the game, its terminal closing, or SIGINT even where
// the game was started ignoring it, closes it as its window would: with a close message. Each
// handler serves once, so a second signal ends a game that hangs.
TEST(SdlPlatformSignals, SigintSigtermAndSighupBecomeACloseMessage) {
    std::signal(SIGINT, SIG_IGN);  // as a game started in the background inherits
    {
        SdlPlatform platform;
        ASSERT_TRUE(platform.ok()) << platform.error();
        platform.startTimer(5);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            std::raise(signal);
            bool closed = false;
            Message m;
            for (int i = 0; i < 200 && !closed && platform.getMessage(m); ++i) {
                closed = m.kind == MessageKind::Close;
            }
            EXPECT_TRUE(closed) << signal;
            struct sigaction now = {};
            sigaction(signal, nullptr, &now);
            EXPECT_EQ(now.sa_handler, SIG_DFL) << signal;
        }
        platform.stopTimer();
    }
    struct sigaction now = {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);  // the inherited handler is back
    std::signal(SIGINT, SIG_DFL);
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

TEST(SdlPlatformSound, WithoutADeviceNothingOpensAndPlayingIsHarmless) {
    const auto clip = std::make_shared<const SoundClip>(SoundClip{22050, {0, 900, -900, 0}});
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        SdlPlatform platform;
        EXPECT_FALSE(platform.openAudio());
        EXPECT_FALSE(platform.audioOpen());
        platform.setSoundVolume(40);
        platform.playSound(clip);
        EXPECT_TRUE(platform.error().empty()) << "no device is no error: " << platform.error();
    }
    // A device that plays to nowhere: its thread mixes until the output
    // closes, before the platform goes or with it.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlPlatform platform;
    ASSERT_TRUE(platform.openAudio());
    for (int i = 0; i < 6; ++i) {
        platform.playSound(clip);
    }
    platform.closeAudio();
    EXPECT_FALSE(platform.audioOpen());
    ASSERT_TRUE(platform.openAudio());
    platform.playSound(clip);
    ::unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace brv