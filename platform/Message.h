#pragma once

namespace brv {

// What the platform layer hands the game: plain records, no OS types. Keys
// carry Windows virtual-key numbers, characters their byte code, mouse
// positions window pixels with the key-state flags of the button messages.
enum class MessageKind {
    Tick,         // one frame of the 30 ms timer
    KeyDown,      // key: virtual-key number
    Char,         // key: character code, repeat: repeat count
    MouseMove,    // x, y, flags
    LButtonDown,  // x, y, flags
    LButtonUp,    // x, y, flags
    RButtonUp,    // x, y, flags
    MouseWheel,   // x, y, flags; wheel: notches turned, positive away from the player
    Close,        // the window is asked to close (window manager, Alt+F4, the game itself)
    Minimized,    // the window really is minimised (the desktop honoured the request)
    Restored,     // the window came back from being minimised
    Quit,         // ends the message loop; key: exit code
};

struct Message {
    MessageKind kind = MessageKind::Tick;
    int key = 0;
    int repeat = 1;
    int x = 0;
    int y = 0;
    int flags = 0;
    int wheel = 0;
};

// Key-state flags of the mouse messages, with their Windows values.
inline constexpr int kMouseLeftHeld = 0x01;
inline constexpr int kMouseRightHeld = 0x02;
inline constexpr int kMouseShiftHeld = 0x04;
inline constexpr int kMouseControlHeld = 0x08;
inline constexpr int kMouseMiddleHeld = 0x10;

}  // namespace brv
