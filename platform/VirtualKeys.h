#pragma once

namespace brv {

// Windows virtual-key numbers, the key codes every view and rule file speaks
// (the layout file's m_key_cancel 27 and m_key_confirm 13 among them).
// Letters are their upper-case codes 'A'..'Z', digits '0'..'9'.
inline constexpr int kVkBackspace = 0x08;
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkEnter = 0x0D;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkAlt = 0x12;
inline constexpr int kVkPause = 0x13;
inline constexpr int kVkCapsLock = 0x14;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkPageUp = 0x21;
inline constexpr int kVkPageDown = 0x22;
inline constexpr int kVkEnd = 0x23;
inline constexpr int kVkHome = 0x24;
inline constexpr int kVkLeft = 0x25;
inline constexpr int kVkUp = 0x26;
inline constexpr int kVkRight = 0x27;
inline constexpr int kVkDown = 0x28;
inline constexpr int kVkInsert = 0x2D;
inline constexpr int kVkDelete = 0x2E;
inline constexpr int kVkNumpad0 = 0x60;
inline constexpr int kVkMultiply = 0x6A;
inline constexpr int kVkAdd = 0x6B;
inline constexpr int kVkSubtract = 0x6D;
inline constexpr int kVkDecimal = 0x6E;
inline constexpr int kVkDivide = 0x6F;
inline constexpr int kVkF1 = 0x70;
inline constexpr int kVkF4 = 0x73;
inline constexpr int kVkF10 = 0x79;
inline constexpr int kVkF12 = 0x7B;
// The "=+" and "-_" keys of the main block.
inline constexpr int kVkOemPlus = 0xBB;
inline constexpr int kVkOemMinus = 0xBD;

}  // namespace brv
