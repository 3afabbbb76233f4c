#include "platform/SdlPlatform.h"

#include <SDL.h>

#include <cstring>

#include "platform/SdlPlatformState.h"
#include "platform/VirtualKeys.h"

namespace brv {

namespace {

struct KeyPair {
    SDL_Keycode sdl;
    int vk;
};

// Keys whose virtual-key number is not their character. Letters and digits
// are mapped arithmetically in virtualKeyFor().
constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, kVkBackspace},
    {SDLK_TAB, kVkTab},
    {SDLK_RETURN, kVkEnter},
    {SDLK_KP_ENTER, kVkEnter},
    {SDLK_RETURN2, kVkEnter},
    {SDLK_LSHIFT, kVkShift},
    {SDLK_RSHIFT, kVkShift},
    {SDLK_LCTRL, kVkControl},
    {SDLK_RCTRL, kVkControl},
    {SDLK_LALT, kVkAlt},
    {SDLK_RALT, kVkAlt},
    {SDLK_PAUSE, kVkPause},
    {SDLK_CAPSLOCK, kVkCapsLock},
    {SDLK_ESCAPE, kVkEscape},
    {SDLK_SPACE, kVkSpace},
    {SDLK_PAGEUP, kVkPageUp},
    {SDLK_PAGEDOWN, kVkPageDown},
    {SDLK_END, kVkEnd},
    {SDLK_HOME, kVkHome},
    {SDLK_LEFT, kVkLeft},
    {SDLK_UP, kVkUp},
    {SDLK_RIGHT, kVkRight},
    {SDLK_DOWN, kVkDown},
    {SDLK_INSERT, kVkInsert},
    {SDLK_DELETE, kVkDelete},
    {SDLK_KP_0, kVkNumpad0},
    {SDLK_KP_1, kVkNumpad0 + 1},
    {SDLK_KP_2, kVkNumpad0 + 2},
    {SDLK_KP_3, kVkNumpad0 + 3},
    {SDLK_KP_4, kVkNumpad0 + 4},
    {SDLK_KP_5, kVkNumpad0 + 5},
    {SDLK_KP_6, kVkNumpad0 + 6},
    {SDLK_KP_7, kVkNumpad0 + 7},
    {SDLK_KP_8, kVkNumpad0 + 8},
    {SDLK_KP_9, kVkNumpad0 + 9},
    {SDLK_KP_MULTIPLY, kVkMultiply},
    {SDLK_KP_PLUS, kVkAdd},
    {SDLK_KP_MINUS, kVkSubtract},
    {SDLK_KP_PERIOD, kVkDecimal},
    {SDLK_KP_DIVIDE, kVkDivide},
    {SDLK_EQUALS, kVkOemPlus},
    {SDLK_PLUS, kVkOemPlus},
    {SDLK_MINUS, kVkOemMinus},
};

int virtualKeyFor(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return kVkF1 + (key - SDLK_F1);
    }
    for (const KeyPair& pair : kNamedKeys) {
        if (pair.sdl == key) {
            return pair.vk;
        }
    }
    return 0;
}

// The character a key press also types, as the Windows message loop produces
// it for the keys that have no text of their own.
int controlCharacterFor(int vk) {
    switch (vk) {
        case kVkBackspace:
        case kVkTab:
        case kVkEnter:
        case kVkEscape:
            return vk;
        default:
            return 0;
    }
}

// Decodes UTF-8 text into the byte codes of the game's 8-bit texts; characters
// beyond that range cannot be shown by the game's font and are skipped.
template <typename OnChar>
void forEachByteCharacter(const char* text, OnChar&& onChar) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0) {
        if (*p < 0x80) {
            onChar(*p++);
            continue;
        }
        int extra = (*p >= 0xF0) ? 3 : (*p >= 0xE0) ? 2 : 1;
        unsigned code = *p++ & (0x3Fu >> extra);
        for (; extra > 0 && (*p & 0xC0) == 0x80; --extra) {
            code = (code << 6) | (*p++ & 0x3Fu);
        }
        if (extra == 0 && code <= 0xFF) {
            onChar(static_cast<int>(code));
        }
    }
}

}  // namespace

void SdlPlatform::State::translate(const SDL_Event& event) {
    if (event.type == postedType) {
        auto* record = static_cast<Message*>(event.user.data1);
        if (record->kind == MessageKind::Tick) {
            catchUpPointer();
        }
        translated.push_back(*record);
        delete record;
        return;
    }
    switch (event.type) {
        case SDL_QUIT:
            push(MessageKind::Close);
            break;
        case SDL_WINDOWEVENT:
            translateWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
            heldKeys.insert(event.key.keysym.sym);
            translateKey(event.key);
            break;
        case SDL_KEYUP:
            heldKeys.erase(event.key.keysym.sym);
            break;
        case SDL_TEXTINPUT:
            forEachByteCharacter(event.text.text, [this](int c) { push(MessageKind::Char, c); });
            break;
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            translateMouse(event);
            break;
        case SDL_MOUSEWHEEL:
            translateWheel(event.wheel);
            break;
        default:
            break;
    }
}

void SdlPlatform::State::translateWindowEvent(const SDL_WindowEvent& window) {
    switch (window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            push(MessageKind::Close);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            push(MessageKind::Minimized);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            push(MessageKind::Restored);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // No release reaches a window without the focus.
            heldKeys.clear();
            break;
        case SDL_WINDOWEVENT_LEAVE:
            pointerInside = false;
            break;
        default:
            break;
    }
}

bool SdlPlatform::State::isHeld(int vk) const {
    for (const SDL_Keycode key : heldKeys) {
        if (virtualKeyFor(key) == vk) {
            return true;
        }
    }
    return false;
}

int SdlPlatform::State::mouseFlags(Uint32 buttons) const {
    int flags = 0;
    if (buttons & SDL_BUTTON_LMASK) {
        flags |= kMouseLeftHeld;
    }
    if (buttons & SDL_BUTTON_RMASK) {
        flags |= kMouseRightHeld;
    }
    if (buttons & SDL_BUTTON_MMASK) {
        flags |= kMouseMiddleHeld;
    }
    if (isHeld(kVkShift)) {
        flags |= kMouseShiftHeld;
    }
    if (isHeld(kVkControl)) {
        flags |= kMouseControlHeld;
    }
    return flags;
}

void SdlPlatform::State::translateKey(const SDL_KeyboardEvent& key) {
    const int vk = virtualKeyFor(key.keysym.sym);
    // Keys pressed with Alt, Alt itself and F10 are system keys: they never
    // reach the views. Alt+F4 asks the window to close, as the desktop does
    // when no window manager takes the keys first.
    if ((key.keysym.mod & KMOD_ALT) != 0 || vk == kVkAlt || vk == kVkF10) {
        if (vk == kVkF4) {
            push(MessageKind::Close);
        }
        return;
    }
    if (vk == 0) {
        return;
    }
    push(MessageKind::KeyDown, vk);
    if (const int c = controlCharacterFor(vk); c != 0) {
        push(MessageKind::Char, c);
    }
}

void SdlPlatform::State::pushMove(int x, int y, Uint32 buttons) {
    Message message;
    message.kind = MessageKind::MouseMove;
    message.x = x;
    message.y = y;
    message.flags = mouseFlags(buttons);
    translated.push_back(message);
    SDL_GetGlobalMouseState(&pointer.x, &pointer.y);
    pointerInside = true;
}

// SDL drops a motion that leaves the pointer where it was inside the window,
// and while the player drags the window every motion does: the window moved
// with the pointer since the last one. Before each tick, a pointer that has
// moved on the desktop since the last move handed on makes one more move, at
// the place in the window SDL holds for it.
void SdlPlatform::State::catchUpPointer() {
    if (window == nullptr || (!pointerInside && heldButtons == 0) ||
        SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION) > 0) {
        return;  // not the window's pointer, or its move is still queued
    }
    ScreenPoint now;
    SDL_GetGlobalMouseState(&now.x, &now.y);
    if (now.x == pointer.x && now.y == pointer.y) {
        return;
    }
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    pushMove(x, y, heldButtons);
}

void SdlPlatform::State::translateMouse(const SDL_Event& event) {
    if (event.type == SDL_MOUSEMOTION) {
        pushMove(event.motion.x, event.motion.y, event.motion.state);
        return;
    }
    const SDL_MouseButtonEvent& button = event.button;
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    if (down) {
        heldButtons |= SDL_BUTTON(button.button);
    } else {
        heldButtons &= ~SDL_BUTTON(button.button);
    }
    Message message;
    if (button.button == SDL_BUTTON_LEFT) {
        message.kind = down ? MessageKind::LButtonDown : MessageKind::LButtonUp;
    } else if (button.button == SDL_BUTTON_RIGHT && !down) {
        message.kind = MessageKind::RButtonUp;
    } else {
        return;  // middle button and right press are not the game's
    }
    message.x = button.x;
    message.y = button.y;
    message.flags = mouseFlags(heldButtons);
    translated.push_back(message);
}

// Only the vertical wheel is the game's. A desktop set to "natural" scrolling
// flips the numbers; the game counts the notches as the wheel turned.
void SdlPlatform::State::translateWheel(const SDL_MouseWheelEvent& wheel) {
    const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
    if (notches == 0) {
        return;
    }
    Message message;
    message.kind = MessageKind::MouseWheel;
    message.x = wheel.mouseX;
    message.y = wheel.mouseY;
    message.flags = mouseFlags(heldButtons);
    message.wheel = notches;
    translated.push_back(message);
}

bool SdlPlatform::isKeyHeld(int virtualKey) const {
    return state_->isHeld(virtualKey);
}

ScreenPoint SdlPlatform::cursorPosition() const {
    ScreenPoint p;
    SDL_GetGlobalMouseState(&p.x, &p.y);
    return p;
}

int SdlPlatform::virtualKeyForKeyName(const std::string& keyName) {
    return virtualKeyFor(SDL_GetKeyFromName(keyName.c_str()));
}

void SdlPlatform::injectKeyPress(const std::string& keyName, bool altHeld) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = SDL_GetKeyFromName(keyName.c_str());
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    event.key.keysym.mod = altHeld ? KMOD_LALT : KMOD_NONE;
    SDL_PushEvent(&event);
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    SDL_PushEvent(&event);
}

void SdlPlatform::injectText(const std::string& utf8) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = SDL_TEXTINPUT;
    std::strncpy(event.text.text, utf8.c_str(), sizeof event.text.text - 1);
    SDL_PushEvent(&event);
}

}  // namespace brv
